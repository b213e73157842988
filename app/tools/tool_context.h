// What every command of quillery-data is given (the store and the standard streams) and the exit
// statuses it answers with.
#pragma once

#include <iosfwd>

#include "app/quillery_record.h"
#include "app/tools/catalogue_store.h"

namespace quillery::tools {

namespace ExitStatus {
inline constexpr int kOk = 0;
inline constexpr int kFaultsFound = 1;  // check: the catalogue is not sound
inline constexpr int kUsage = 2;
inline constexpr int kFailed = 3;  // a file could not be read or written, or data was refused
}  // namespace ExitStatus

struct ToolContext {
    CatalogueStore& store;
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    // The creation and change stamp of imported entries whose row gives none.
    QuilleryStamp now;
};

}  // namespace quillery::tools
