// Sharing one data file between opens and between processes: the sharing of the access modes,
// record holds, watched records, and readers' caches kept or dropped by the change counter.
#include <gtest/gtest.h>

#include "storage/file_operations.h"
#include "tests/storage/file_test_support.h"
#include "tests/storage/process_test_support.h"

namespace quillery::storage::testing {
namespace {

namespace Op = Operation;

class SharingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path = dir.file("shared.dat");
        first.setName(path);
        ASSERT_EQ(first.call(Op::kCreate), 0);
        second.setName(path);
        ASSERT_EQ(first.call(Op::kOpen, kReadWriteDenyNone), 0);
        first.setText(Small::CODE, 6, "A");
        first.setText(Small::NAME, 10, "original");
        ASSERT_EQ(first.call(Op::kAdd), 0);  // record 2
        ASSERT_EQ(first.call(Op::kClose), 0);
    }

    ScratchDir dir;
    std::string path;
    DeclaredFile first{kSmallFields, kSmallKeys, Small::kLength};
    DeclaredFile second{kSmallFields, kSmallKeys, Small::kLength};
};

TEST(HoldOffsetTest, HoldBytesLieBeyondTheReaderSlots) {
    struct Case {
        RecordNumber record;
        std::uint64_t offset;
    };
    for (const Case& c :
         {Case{1, 0x81000401}, Case{0x100, 0x80010401}, Case{0x01020304, 0x84030602},
          Case{0x00000080, 0x00000401}, Case{0x01FBFFFF, 0x7FFFFF02}, Case{0x00FCFFFF, 0x180000001},
          Case{0xFDFFFFFF, 0x1800003FE}}) {
        EXPECT_EQ(holdOffset(c.record), c.offset) << std::hex << c.record;
        const bool onSlots = holdOffset(c.record) >= kReaderSlotBase &&
                             holdOffset(c.record) < kReaderSlotBase + kReaderSlotCount;
        EXPECT_FALSE(onSlots) << std::hex << c.record;
    }
}

// Two opens in one process exclude each other as two programs would.
TEST_F(SharingTest, AccessModesShareAsTheirBitsSay) {
    struct Case {
        int firstMode;
        int secondMode;
        int expected;
    };
    const Case cases[] = {
        {kReadWriteDenyWrite, kReadWriteDenyWrite, ErrorCode::kAccessDenied},
        {kReadWriteDenyWrite, kReadWriteDenyNone, ErrorCode::kAccessDenied},
        {kReadWriteDenyWrite, kReadOnlyDenyNone, 0},
        {kReadWriteDenyWrite, kReadOnlyDenyWrite, ErrorCode::kAccessDenied},
        {kReadOnlyDenyWrite, kReadOnlyDenyWrite, 0},
        {kReadOnlyDenyWrite, kReadWriteDenyNone, ErrorCode::kAccessDenied},
        {kReadOnlyDenyNone, kReadWriteDenyWrite, 0},
        {kReadWriteDenyNone, kReadWriteDenyNone, 0},
        {kReadWriteCompatible, kReadWriteDenyNone, 0},
        {kReadWriteDenyAll, kReadOnlyDenyNone, ErrorCode::kAccessDenied},
        {kReadOnlyDenyNone, kReadWriteDenyAll, ErrorCode::kAccessDenied},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(first.call(Op::kOpen, c.firstMode), 0);
        EXPECT_EQ(second.call(Op::kOpen, c.secondMode), c.expected)
            << std::hex << c.firstMode << " then " << c.secondMode;
        if (second.block().isOpen()) {
            ASSERT_EQ(second.call(Op::kClose), 0);
        }
        ASSERT_EQ(first.call(Op::kClose), 0);
    }
    // Create takes the file with no sharing at all.
    ASSERT_EQ(first.call(Op::kOpen, kReadOnlyDenyNone), 0);
    EXPECT_EQ(second.call(Op::kCreate), ErrorCode::kAccessDenied);
}

TEST_F(SharingTest, ReadOnlyOpenCannotChange) {
    ASSERT_EQ(first.call(Op::kOpen, kReadOnlyDenyNone), 0);
    ASSERT_EQ(first.call(Op::kGetByNumber, 2), 0);
    EXPECT_EQ(first.call(Op::kPut), ErrorCode::kAccessDenied);
    EXPECT_EQ(first.call(Op::kAdd), ErrorCode::kAccessDenied);
}

TEST_F(SharingTest, SecondWriterProcessIsRefusedWhileWritesAreDenied) {
    ASSERT_EQ(first.call(Op::kOpen, kReadWriteDenyWrite), 0);
    const pid_t child = forkChild([&] {
        DeclaredFile other(kSmallFields, kSmallKeys, Small::kLength);
        other.setName(path);
        if (other.call(Op::kOpen, kReadWriteDenyWrite) != ErrorCode::kAccessDenied) return 1;
        if (other.call(Op::kOpen, kReadWriteDenyNone) != ErrorCode::kAccessDenied) return 2;
        if (other.call(Op::kOpen, kReadOnlyDenyNone) != 0) return 3;
        if (other.call(Op::kGetByNumber, 2) != 0) return 4;
        if (other.text(Small::NAME, 10) != "original") return 5;
        return 0;
    });
    EXPECT_EQ(waitChild(child), 0);
    ASSERT_EQ(first.call(Op::kClose), 0);
    const pid_t later = forkChild([&] {
        DeclaredFile other(kSmallFields, kSmallKeys, Small::kLength);
        other.setName(path);
        return other.call(Op::kOpen, kReadWriteDenyWrite);
    });
    EXPECT_EQ(waitChild(later), 0);
}

TEST_F(SharingTest, HeldRecordIsRefusedToOtherHoldersAndChanges) {
    ASSERT_EQ(first.call(Op::kOpen, kReadWriteDenyNone), 0);
    ASSERT_EQ(second.call(Op::kOpen, kReadWriteDenyNone), 0);
    first.block().holdRequested = true;
    ASSERT_EQ(first.call(Op::kGetByNumber, 2), 0);
    second.block().holdRequested = true;
    EXPECT_EQ(second.call(Op::kGetByNumber, 2), ErrorCode::kRecordIsAlreadyHeld);
    second.block().holdRequested = false;
    ASSERT_EQ(second.call(Op::kGetByNumber, 2), 0);  // a plain read is allowed
    second.setText(Small::NAME, 10, "changed");
    EXPECT_EQ(second.call(Op::kPut), ErrorCode::kAccessDenied);
    EXPECT_EQ(second.call(Op::kDelete), ErrorCode::kAccessDenied);
    // The holder changes it; the change releases the hold.
    first.setText(Small::NAME, 10, "holder");
    ASSERT_EQ(first.call(Op::kPut), 0);
    second.block().holdRequested = true;
    ASSERT_EQ(second.call(Op::kGetByNumber, 2), 0);
    EXPECT_EQ(second.text(Small::NAME, 10), "holder");
}

TEST_F(SharingTest, HeldRecordInAnotherProcessIsError43UntilReleased) {
    ASSERT_EQ(first.call(Op::kOpen, kReadWriteDenyNone), 0);
    first.block().holdRequested = true;
    ASSERT_EQ(first.call(Op::kGetByNumber, 2), 0);
    Turn childChecked, parentReleased;
    const pid_t child = forkChild([&] {
        DeclaredFile other(kSmallFields, kSmallKeys, Small::kLength);
        other.setName(path);
        if (other.call(Op::kOpen, kReadWriteDenyNone) != 0) return 1;
        other.block().holdRequested = true;
        if (other.call(Op::kGetByNumber, 2) != ErrorCode::kRecordIsAlreadyHeld) return 2;
        childChecked.give();
        if (!parentReleased.take()) return 3;
        // With a timeout the read is repeated until the hold goes.
        other.block().holdTimeout = 5;
        if (other.call(Op::kGetByNumber, 2) != 0) return 4;
        return 0;
    });
    ASSERT_TRUE(childChecked.take());
    parentReleased.give();
    usleep(50000);
    releaseHold(*first.block().open);
    EXPECT_EQ(waitChild(child), 0);
}

TEST_F(SharingTest, ChangeOfAWatchedRecordChangedElsewhereIsError89AndWritesNothing) {
    ASSERT_EQ(first.call(Op::kOpen, kReadWriteDenyNone), 0);
    first.block().watchRequested = true;
    ASSERT_EQ(first.call(Op::kGetByNumber, 2), 0);
    const pid_t child = forkChild([&] {
        DeclaredFile other(kSmallFields, kSmallKeys, Small::kLength);
        other.setName(path);
        if (other.call(Op::kOpen, kReadWriteDenyNone) != 0) return 1;
        if (other.call(Op::kGetByNumber, 2) != 0) return 2;
        other.setText(Small::NAME, 10, "elsewhere");
        return other.call(Op::kPut);
    });
    ASSERT_EQ(waitChild(child), 0);
    const auto before = fileBytes(path);
    first.setText(Small::NAME, 10, "mine");
    EXPECT_EQ(first.call(Op::kPut), ErrorCode::kRecordChangedByAnotherStation);
    EXPECT_EQ(fileBytes(path), before);
    // Read again, the change goes through.
    ASSERT_EQ(first.call(Op::kGetByNumber, 2), 0);
    EXPECT_EQ(first.text(Small::NAME, 10), "elsewhere");
    first.setText(Small::NAME, 10, "mine");
    EXPECT_EQ(first.call(Op::kPut), 0);
}

TEST_F(SharingTest, ReaderKeepsItsCacheUntilTheChangeCounterMoves) {
    ASSERT_EQ(first.call(Op::kOpen, kReadOnlyDenyNone), 0);
    ASSERT_EQ(first.call(Op::kGetByNumber, 2), 0);
    DataFile& data = first.block().open->file->data();
    const auto generation = data.generation();
    ASSERT_EQ(first.call(Op::kGetByNumber, 2), 0);
    EXPECT_EQ(data.generation(), generation);
    const pid_t child = forkChild([&] {
        DeclaredFile other(kSmallFields, kSmallKeys, Small::kLength);
        other.setName(path);
        if (other.call(Op::kOpen, kReadWriteDenyWrite) != 0) return 1;
        if (other.call(Op::kGetByNumber, 2) != 0) return 2;
        other.setText(Small::NAME, 10, "newer");
        return other.call(Op::kPut);
    });
    ASSERT_EQ(waitChild(child), 0);
    ASSERT_EQ(first.call(Op::kGetByNumber, 2), 0);
    EXPECT_EQ(first.text(Small::NAME, 10), "newer");
    EXPECT_NE(data.generation(), generation);
}

// While another program adds record after record, a reader's every read finds whole records
// and a key read in order never goes backwards; at the end it sees them all.
TEST_F(SharingTest, ReaderSeesAConsistentFileWhileAWriterCommits) {
    constexpr int kAdds = 150;
    Turn writerOpened;
    const pid_t child = forkChild([&] {
        DeclaredFile writer(kSmallFields, kSmallKeys, Small::kLength);
        writer.setName(path);
        if (writer.call(Op::kOpen, kReadWriteDenyWrite) != 0) return 1;
        writerOpened.give();
        for (int i = 0; i < kAdds; ++i) {
            const std::string code = "C" + std::to_string(1000 + i);
            writer.setText(Small::CODE, 6, code);
            writer.setInt32(Small::COUNT, i);
            writer.setText(Small::NAME, 10, code);
            if (writer.call(Op::kAdd) != 0) return 2;
        }
        return 0;
    });
    ASSERT_TRUE(writerOpened.take());
    ASSERT_EQ(first.call(Op::kOpen, kReadOnlyDenyNone), 0);
    int passes = 0;
    bool writerDone = false;
    int status = -1;
    while (!writerDone) {
        writerDone = ::waitpid(child, &status, WNOHANG) == child;
        ASSERT_EQ(first.call(Op::kSetKeyOrder, 0, 0), 0);
        std::string previous;
        while (first.call(Op::kNext) == 0) {
            const std::string code = first.text(Small::CODE, 6);
            ASSERT_GT(code, previous);
            if (code != "A") {
                ASSERT_EQ(first.text(Small::NAME, 10), code);
            }
            previous = code;
        }
        ++passes;
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    ASSERT_EQ(first.call(Op::kRecords), 0);
    EXPECT_EQ(first.lastAnswer, kAdds + 1);
    ASSERT_EQ(first.call(Op::kKeyEntries, 0, 0), 0);
    EXPECT_EQ(first.lastAnswer, kAdds + 1);
    EXPECT_GT(passes, 0);
}

}  // namespace
}  // namespace quillery::storage::testing
