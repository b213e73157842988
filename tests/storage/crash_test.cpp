// Crash safety: the disk stops after the k-th write or flush of a commit (keeping or dropping
// what was not flushed), and a reopen must find a clean file holding exactly the state before or
// the state after the commit, never a mix. Also a crash while a pending log is rolled forward.
#include <gtest/gtest.h>

#include "storage/entry_kinds.h"
#include "storage/testing/fault_file.h"
#include "tests/storage/storage_test_support.h"

namespace quillery::storage {
namespace {

using testing::Model;

Bytes keyOf(int i) {
    return {0, 0, 0, 1, 0xF3, static_cast<std::uint8_t>(i >> 8), static_cast<std::uint8_t>(i)};
}

// The change a commit applies, deterministic so it can be replayed for every crash point.
using Change = std::function<void(Tree&, Model&)>;

std::unique_ptr<DataFile> openFault(std::shared_ptr<FaultDisk> disk, Status& status) {
    std::unique_ptr<DataFile> file;
    status = DataFile::open(std::make_unique<FaultFile>(std::move(disk)), {}, file);
    return file;
}

struct Scenario {
    const char* name;
    Change change;
};

// A committed starting file of 600 entries with mixed sizes.
Bytes startingImage(Model& model) {
    auto disk = std::make_shared<MemoryDisk>();
    auto file = testing::openOn(disk);
    Tree tree(*file);
    std::mt19937 rng(11);
    for (int i = 0; i < 600; ++i) {
        Bytes data = testing::randomBytes(rng, 10 + (i * 37) % 300);
        EXPECT_TRUE(tree.insert(keyOf(i), data).ok());
        model[keyOf(i)] = data;
    }
    EXPECT_TRUE(file->commit().ok());
    return disk->bytes;
}

std::vector<Scenario> scenarios() {
    return {
        {"grow",
         [](Tree& t, Model& m) {
             std::mt19937 rng(5);
             for (int i = 600; i < 900; ++i) {
                 Bytes d = testing::randomBytes(rng, 50 + i % 400);
                 ASSERT_TRUE(t.insert(keyOf(i), d).ok());
                 m[keyOf(i)] = d;
             }
         }},
        {"shrink",
         [](Tree& t, Model& m) {
             for (int i = 0; i < 600; i += 1 + (i % 3 == 0 ? 0 : 1)) {
                 ASSERT_TRUE(t.erase(keyOf(i)).ok());
                 m.erase(keyOf(i));
             }
         }},
        {"resize",
         [](Tree& t, Model& m) {
             // Pages change size class both ways: some data shrinks to runs, some grows.
             std::mt19937 rng(9);
             for (int i = 0; i < 600; i += 4) {
                 Bytes d = (i % 8 == 0) ? Bytes(300, 0x20) : testing::randomBytes(rng, 700);
                 t.put(keyOf(i), d);
                 m[keyOf(i)] = d;
             }
         }},
    };
}

// Runs `change` and a commit over a fault disk that crashes after operation `k`.
std::shared_ptr<FaultDisk> crashDuringCommit(const Bytes& image, const Change& change, int k,
                                             bool keepUnflushed, Model& after, int* operations,
                                             unsigned subsetSeed = 0) {
    FaultPlan plan;
    plan.crashAfterOperation = k;
    plan.keepUnflushedWrites = keepUnflushed;
    plan.unflushedSubsetSeed = subsetSeed;
    auto disk = std::make_shared<FaultDisk>(image, plan);
    Status opened;
    auto file = openFault(disk, opened);
    EXPECT_TRUE(opened.ok());
    {
        Tree tree(*file);
        change(tree, after);
    }
    EXPECT_TRUE(file->commit().ok());
    if (operations != nullptr) *operations = disk->operations();
    return disk;
}

void expectBeforeOrAfter(const Bytes& crashed, const Model& before, const Model& after,
                         const std::string& where, bool mustBeAfter) {
    auto file = testing::openImage(crashed);
    ASSERT_NE(file, nullptr) << where;
    const CheckReport report = checkDataFile(*file);
    ASSERT_TRUE(report.clean()) << where << "\n" << report.text();
    const Model found = testing::contentsOf(*file);
    if (mustBeAfter) {
        ASSERT_TRUE(found == after) << where << ": a finished commit was lost";
    } else {
        ASSERT_TRUE(found == before || found == after) << where << ": a mix of before and after";
    }
}

TEST(CrashSafety, EveryCrashPointOfACommitLeavesBeforeOrAfter) {
    Model before;
    const Bytes image = startingImage(before);
    for (const Scenario& scenario : scenarios()) {
        Model after = before;
        int operations = 0;
        crashDuringCommit(image, scenario.change, 0, true, after, &operations);
        ASSERT_GT(operations, 4);
        for (bool keep : {true, false}) {
            bool sawBefore = false, sawAfter = false;
            for (int k = 1; k <= operations; ++k) {
                Model scratch = before;
                auto disk = crashDuringCommit(image, scenario.change, k, keep, scratch, nullptr);
                const Bytes crashed = disk->diskAfterCrash();
                const std::string where = std::string(scenario.name) + " crash after operation " +
                                          std::to_string(k) + (keep ? " keeping" : " dropping") +
                                          " unflushed writes";
                // After the last operation everything is flushed: the commit must have held.
                expectBeforeOrAfter(crashed, before, after, where, k == operations);
                auto reopened = testing::openImage(crashed);
                const Model found = testing::contentsOf(*reopened);
                sawBefore |= found == before;
                sawAfter |= found == after;
            }
            EXPECT_TRUE(sawBefore && sawAfter) << scenario.name;
        }
    }
}

// A disk may also keep any subset of the writes it was given since the last flush.
TEST(CrashSafety, RandomSubsetsOfUnflushedWrites) {
    Model before;
    const Bytes image = startingImage(before);
    for (const Scenario& scenario : scenarios()) {
        Model after = before;
        int operations = 0;
        crashDuringCommit(image, scenario.change, 0, true, after, &operations);
        for (int k = 1; k <= operations; ++k) {
            for (unsigned seed = 1; seed <= 3; ++seed) {
                Model scratch = before;
                auto disk =
                    crashDuringCommit(image, scenario.change, k, true, scratch, nullptr, seed);
                expectBeforeOrAfter(disk->diskAfterCrash(), before, after,
                                    std::string(scenario.name) + " subset " + std::to_string(seed) +
                                        " after operation " + std::to_string(k),
                                    k == operations);
            }
        }
    }
}

// The header names a pending log; rolling it forward is interrupted at every point and the next
// open still completes it.
TEST(CrashSafety, CrashWhileRollingForward) {
    Model before;
    const Bytes image = startingImage(before);
    const Scenario scenario = scenarios()[0];
    Model after = before;
    int operations = 0;
    crashDuringCommit(image, scenario.change, 0, true, after, &operations);
    // Find a crash point whose image names a pending log.
    Bytes pending;
    for (int k = 1; k <= operations && pending.empty(); ++k) {
        Model scratch = before;
        auto disk = crashDuringCommit(image, scenario.change, k, false, scratch, nullptr);
        Bytes crashed = disk->diskAfterCrash();
        FileHeader h;
        if (crashed.size() >= kHeaderSize && decodeHeader(crashed, h).ok() &&
            h.logStart != h.logEnd)
            pending = crashed;
    }
    ASSERT_FALSE(pending.empty());
    // A reader without the lock reads the new state through the log and writes nothing.
    {
        auto disk = std::make_shared<MemoryDisk>();
        disk->bytes = pending;
        DataFileOptions reader;
        reader.exclusive = false;
        auto file = testing::openOn(disk, reader);
        EXPECT_TRUE(file->readingThroughLog());
        EXPECT_TRUE(testing::sameContents(testing::contentsOf(*file), after));
        EXPECT_EQ(disk->bytes, pending);
    }
    int rollOperations = 0;
    {
        auto disk = std::make_shared<FaultDisk>(pending);
        Status s;
        auto file = openFault(disk, s);
        ASSERT_TRUE(s.ok());
        rollOperations = disk->operations();
    }
    ASSERT_GT(rollOperations, 2);
    for (bool keep : {true, false}) {
        for (int k = 1; k <= rollOperations; ++k) {
            FaultPlan plan;
            plan.crashAfterOperation = k;
            plan.keepUnflushedWrites = keep;
            auto disk = std::make_shared<FaultDisk>(pending, plan);
            Status s;
            auto file = openFault(disk, s);
            ASSERT_TRUE(s.ok());
            expectBeforeOrAfter(disk->diskAfterCrash(), before, after,
                                "roll-forward crash after " + std::to_string(k), true);
        }
    }
}

// A transaction control file that still holds the transaction makes the opener discard the log.
TEST(CrashSafety, UnfinishedTransactionDiscardsTheLog) {
    Model before;
    const Bytes image = startingImage(before);
    Model after = before;
    auto disk = std::make_shared<MemoryDisk>();
    disk->bytes = image;
    {
        auto file = testing::openOn(disk);
        Tree tree(*file);
        PendingLink link{0x01020304, "control.tcf"};
        tree.put(pendingLinkKey(), encodePendingLink(link));
        after[pendingLinkKey()] = encodePendingLink(link);
        tree.put(keyOf(7), testing::bytesOf("changed"));
        after[keyOf(7)] = testing::bytesOf("changed");
        ASSERT_TRUE(file->prepareCommit().ok());
        // The process ends here: the log is written and named, the copy never happens.
    }
    const Bytes pending = disk->bytes;
    for (bool recorded : {true, false}) {
        auto copy = std::make_shared<MemoryDisk>();
        copy->bytes = pending;
        std::string askedFile;
        std::uint32_t askedTransaction = 0;
        DataFileOptions options;
        options.transactionProbe = [&](const std::string& f, std::uint32_t t) {
            askedFile = f;
            askedTransaction = t;
            return recorded;
        };
        auto file = testing::openOn(copy, options);
        EXPECT_EQ(askedFile, "control.tcf");
        EXPECT_EQ(askedTransaction, 0x01020304u);
        EXPECT_TRUE(testing::sameContents(testing::contentsOf(*file), recorded ? before : after));
        testing::expectClean(*file);
        FileHeader h;
        ASSERT_TRUE(decodeHeader(copy->bytes, h).ok());
        EXPECT_EQ(h.logStart, h.logEnd) << "the log is resolved on disk";
    }
}

// A failed write is remembered, later writes are skipped and the commit reports the first
// error. Memory then follows the disk: the state before when the failure came before the log was
// named, the state after when it came while copying the log into place (the next open finishes
// that copy).
TEST(WriteFailure, FirstErrorIsReportedAndMemoryFollowsTheDisk) {
    Model before;
    const Bytes image = startingImage(before);
    int commitWrites = 0;
    {
        auto disk = std::make_shared<FaultDisk>(image);
        Status s;
        auto file = openFault(disk, s);
        Model after = before;
        Tree tree(*file);
        scenarios()[0].change(tree, after);
        ASSERT_TRUE(file->commit().ok());
        commitWrites = disk->writes();
    }
    ASSERT_GE(commitWrites, 4);
    for (int failAt = 1; failAt <= commitWrites; ++failAt) {
        FaultPlan plan;
        plan.failWriteNumber = failAt;
        plan.failOsError = 39;
        auto disk = std::make_shared<FaultDisk>(image, plan);
        Status s;
        auto file = openFault(disk, s);
        ASSERT_TRUE(s.ok());
        Model after = before;
        {
            Tree tree(*file);
            scenarios()[0].change(tree, after);
        }
        const Status committed = file->commit();
        EXPECT_EQ(committed.code(), 339) << failAt;
        EXPECT_EQ(committed.osError(), 39);
        const Model inMemory = testing::contentsOf(*file);
        EXPECT_TRUE(inMemory == before || inMemory == after) << failAt;
        if (failAt == 1) {
            EXPECT_TRUE(testing::sameContents(inMemory, before));
        }
        if (failAt == commitWrites) {
            EXPECT_TRUE(testing::sameContents(inMemory, after));
        }
        auto reopened = testing::openImage(disk->view());
        EXPECT_TRUE(testing::sameContents(testing::contentsOf(*reopened), inMemory)) << failAt;
        testing::expectClean(*reopened);
    }
}

}  // namespace
}  // namespace quillery::storage
