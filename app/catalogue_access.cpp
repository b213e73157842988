// Asking the file system what this program may do with a file.
#include "app/catalogue_access.h"

#include <fcntl.h>
#include <unistd.h>

namespace quillery {

bool canOnlyBeRead(const std::string& path) {
    // The effective user and group decide, as they do when the file is opened.
    return ::faccessat(AT_FDCWD, path.c_str(), R_OK, AT_EACCESS) == 0 &&
           ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0;
}

}  // namespace quillery
