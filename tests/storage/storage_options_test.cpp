// The storage engine's options: what a scope installs is in force inside it and gone after it,
// nested scopes unwind in order, and a setting made through the driver ends with its scope too.
#include "storage/storage_options.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "storage/storage_fault.h"
#include "storage/transaction.h"
#include "tests/common/fatal_capture.h"

namespace quillery::storage {
namespace {

StorageOptions throwingFaults(int tag) {
    StorageOptions options = storageOptions();
    options.faultHandler = [tag](const StorageFault& fault) {
        throw std::vector<std::int64_t>{tag, static_cast<int>(fault.check), fault.page};
    };
    return options;
}

TEST(StorageOptions, ScopesInstallTheirOptionsAndPutTheEarlierOnesBack) {
    const auto before = storageOptions().fileLockWait;
    const std::string controlBefore = transactionControlFile();
    EXPECT_EQ(StorageOptions{}.fileLockWait, std::chrono::milliseconds(10000));
    EXPECT_EQ(controlBefore, storageOptions().transactionControlFile.empty()
                                 ? defaultTransactionControlFile()
                                 : storageOptions().transactionControlFile);
    {
        StorageOptions outer = throwingFaults(1);
        outer.fileLockWait = std::chrono::milliseconds(20);
        outer.transactionControlFile = "/tmp/outer.tcf";
        const ScopedStorageOptions outerScope(outer);
        try {
            storageFault(FaultCheck::kKeyUndo, 12);
            FAIL() << "the handler did not run";
        } catch (const std::vector<std::int64_t>& seen) {
            EXPECT_EQ(seen, (std::vector<std::int64_t>{1, 170, 12}));
        }
        {
            StorageOptions inner = throwingFaults(2);
            inner.fileLockWait = std::chrono::milliseconds(5);
            const ScopedStorageOptions innerScope(inner);
            EXPECT_EQ(storageOptions().fileLockWait, std::chrono::milliseconds(5));
            EXPECT_EQ(transactionControlFile(), "/tmp/outer.tcf");  // copied from the outer
            try {
                storageFault(FaultCheck::kEntryOrder);
            } catch (const std::vector<std::int64_t>& seen) {
                EXPECT_EQ(seen, (std::vector<std::int64_t>{2, 117, -1}));
            }
        }
        EXPECT_EQ(storageOptions().fileLockWait, std::chrono::milliseconds(20));
        EXPECT_EQ(transactionControlFile(), "/tmp/outer.tcf");
    }
    EXPECT_EQ(storageOptions().fileLockWait, before);
    EXPECT_EQ(transactionControlFile(), controlBefore);

    // With no handler left, a fault is the fatal report again.
    testing::FatalCapture fatal;
    EXPECT_THROW(storageFault(FaultCheck::kShortRead, 3), ProgramEnded);
    ASSERT_EQ(fatal.reports().size(), 1u);
    EXPECT_EQ(fatal.reports()[0], "Internal error : vltbt line 101");
}

}  // namespace
}  // namespace quillery::storage
