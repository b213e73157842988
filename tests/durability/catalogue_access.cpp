// Opening the durability runs' catalogue and reporting statement failures.
#include "tests/durability/catalogue_access.h"

#include <filesystem>
#include <iostream>

#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "runtime/errors.h"
#include "storage/file_statements.h"

namespace quillery::durability {

bool openCatalogue(std::string_view program, const std::string& path, int accessMode) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        std::cerr << program << ": " << path << " is not an existing catalogue\n";
        return false;
    }
    if (path.size() > kQuilleryFileNameLength) {
        std::cerr << program << ": " << path << " is longer than " << kQuilleryFileNameLength
                  << " characters\n";
        return false;
    }
    QUILLERYFILE = path;
    OPEN(QUILLERY, accessMode);
    return !statementFailed(program, "cannot open " + path);
}

bool statementFailed(std::string_view program, std::string_view what) {
    if (errorCode() == 0) return false;
    std::cerr << program << ": " << what << ": error " << errorCode() << ": " << errorText()
              << std::endl;
    return true;
}

}  // namespace quillery::durability
