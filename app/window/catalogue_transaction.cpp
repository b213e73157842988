// Transactions on the catalogue file.
#include "app/window/catalogue_transaction.h"

#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "runtime/errors.h"
#include "storage/file_statements.h"
#include "support/check_error.h"

namespace quillery {

bool beginCatalogueTransaction(std::string_view caption) {
    LOGOUT(kLockWaitSeconds, QUILLERY);
    CHECKERROR(caption);
    return errorCode() == ErrorCode::kNone;
}

bool commitCatalogueTransaction(std::string_view caption) {
    COMMIT();
    if (errorCode() == ErrorCode::kNone) return true;
    CHECKERROR(caption);
    return false;
}

void rollbackCatalogueTransaction() {
    const int code = errorCode();
    const std::string file = errorFile();
    ROLLBACK();
    if (code != ErrorCode::kNone) postError(code, file);
}

bool addInOneTransaction(std::span<const QuilleryRecord> records, std::string_view caption) {
    if (!beginCatalogueTransaction(caption)) return false;
    for (std::size_t i = 0; i < records.size() && errorCode() == ErrorCode::kNone; ++i) {
        QLY = records[i];
        ADD(QUILLERY);
    }
    if (errorCode() != ErrorCode::kNone) {
        CHECKERROR(caption);
        rollbackCatalogueTransaction();
        return false;
    }
    return commitCatalogueTransaction(caption);
}

}  // namespace quillery
