// quillery-data's commands against an in-memory catalogue store that logs every call: what is
// written, what never is (bad CSV, a damaged file, a failed add), and what is shown.
#include "app/tools/tool_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/build_keys.h"
#include "app/catalogue_csv.h"
#include "app/testing/catalogue_generator.h"
#include "app/tools/tool_files.h"
#include "app/tools/tool_run.h"
#include "runtime/dates.h"
#include "runtime/errors.h"

namespace quillery::tools {
namespace {

const QuilleryStamp kNow{dayNumberOf(2026, 12, 8), 15 * 360000 + 1};

// A catalogue in memory. Adds wait in the transaction until commit; `failAddAt` makes the Nth
// add of a transaction fail; `faults` is what check() finds.
class MemoryStore final : public CatalogueStore {
  public:
    std::vector<QuilleryRecord> records;  // committed, in file order; position = index + 1
    std::vector<std::string> calls;
    std::vector<std::string> faults;
    StoreStatus openStatus;
    int failAddAt = -1;
    bool makesFiles = false;  // create() leaves a file on disk, as a real store does

    StoreStatus create(const std::string& path) override {
        calls.push_back("create " + path);
        if (makesFiles) std::ofstream(path) << "catalogue";
        return {};
    }
    StoreStatus open(const std::string& path, StoreAccess access) override {
        calls.push_back(std::string(access == StoreAccess::kReadOnly ? "open-ro " : "open-rw ") +
                        path);
        return openStatus;
    }
    void close() override { calls.push_back("close"); }
    StoreStatus begin() override {
        calls.push_back("begin");
        pending_.clear();
        return {};
    }
    StoreStatus commit() override {
        calls.push_back("commit");
        records.insert(records.end(), pending_.begin(), pending_.end());
        pending_.clear();
        return {};
    }
    void rollback() override {
        calls.push_back("rollback");
        pending_.clear();
    }
    StoreStatus add(const QuilleryRecord& record) override {
        if (static_cast<int>(pending_.size()) == failAddAt) {
            calls.push_back("add failed");
            return {ErrorCode::kAccessDenied, "Access Denied"};
        }
        pending_.push_back(record);
        return {};
    }
    StoreStatus forEachInFileOrder(const RecordVisitor& visit) override {
        calls.push_back("file order");
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (!visit(static_cast<std::int32_t>(i + 1), records[i])) break;
        }
        return {};
    }
    // Every key is read in the order of the upper-cased title, then position.
    StoreStatus forEachByKey(QuilleryKey key, const RecordVisitor& visit) override {
        calls.push_back("by key " + std::string(keyName(key)));
        std::vector<std::size_t> order(records.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        const auto upper = [](std::string text) {
            for (char& c : text)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            return text;
        };
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return upper(records[a].TITLE.str()) < upper(records[b].TITLE.str());
        });
        for (std::size_t i : order) {
            if (!visit(static_cast<std::int32_t>(i + 1), records[i])) break;
        }
        return {};
    }
    StoreStatus check(std::vector<std::string>& found) override {
        calls.push_back("check");
        found = faults;
        return {};
    }
    StoreStatus checkFile(const std::string& path, std::vector<std::string>& found) override {
        calls.push_back("check-file " + path);
        if (!openStatus.ok()) return openStatus;
        found = faults;
        return {};
    }
    StoreStatus rebuildKeys() override {
        calls.push_back("rebuild");
        return {};
    }
    StoreStatus info(CatalogueInfo& info) override {
        calls.push_back("info");
        info.records = records.size();
        for (const QuilleryRecord& r : records) {
            ++info.keyEntries[0];
            if (r.DELETED != 0) ++info.keyEntries[1];
        }
        info.pagesBySize = {{512, 3}, {4096, 20}};
        info.fileBytes = 83456;
        return {};
    }

  private:
    std::vector<QuilleryRecord> pending_;
};

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

ToolRun run(CatalogueStore& store, const std::vector<std::string_view>& args,
            const std::string& input = {}) {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = runQuilleryData(args, store, in, out, err, kNow);
    return {status, out.str(), err.str()};
}

QuilleryRecord entry(const char* last, const char* title, std::uint8_t deleted = 0) {
    QuilleryRecord r;
    r.LASTNAME = last;
    r.TITLE = title;
    r.DELETED = deleted;
    r.setCREATED(kNow);
    r.setCHANGED(kNow);
    BUILDKEYS(r);
    return r;
}

// A catalogue as the program leaves it: the blank header first, then entries.
MemoryStore catalogueOf(std::vector<QuilleryRecord> entries) {
    MemoryStore store;
    store.records.push_back(QuilleryRecord{});
    store.records.insert(store.records.end(), entries.begin(), entries.end());
    return store;
}

bool sameBytes(const QuilleryRecord& a, const QuilleryRecord& b) {
    return std::memcmp(&a, &b, kQuilleryRecordLength) == 0;
}

const std::string kTwoRows = "LASTNAME,TITLE\nLee,Mockingbird\nSteinbeck,\"East, of Eden\"\n";

TEST(ToolCommands, ImportAddsEveryRowInOneTransaction) {
    MemoryStore store = catalogueOf({});
    const ToolRun r = run(store, {"import", "B.QLY"}, kTwoRows);
    EXPECT_EQ(r.status, ExitStatus::kOk) << r.err;
    EXPECT_EQ(r.out, "imported 2 entries into B.QLY\n");
    EXPECT_EQ(store.calls, (std::vector<std::string>{"open-rw B.QLY", "check", "file order",
                                                     "begin", "commit", "close"}));
    ASSERT_EQ(store.records.size(), 3u);
    EXPECT_EQ(store.records[2].TITLE.str(), "East, of Eden");
    EXPECT_EQ(store.records[2].NAMEKEY.str(), "Steinbeck (East, of Eden)");
    EXPECT_EQ(store.records[2].CREATED(), kNow);
}

TEST(ToolCommands, BadCsvNeverReachesTheCatalogue) {
    MemoryStore store = catalogueOf({});
    const ToolRun r = run(store, {"import", "B.QLY", "-"}, kTwoRows + "Orwell,1984,extra\n");
    EXPECT_EQ(r.status, ExitStatus::kFailed);
    EXPECT_EQ(r.err,
              "quillery-data: standard input: line 4: 3 values where the header row names 2 "
              "columns; nothing was written\n");
    EXPECT_TRUE(store.calls.empty());
    EXPECT_EQ(store.records.size(), 1u);
}

TEST(ToolCommands, DryRunOnlyReadsTheCsv) {
    MemoryStore store;
    const ToolRun ok = run(store, {"import", "--dry-run", "B.QLY"}, kTwoRows);
    EXPECT_EQ(ok.status, ExitStatus::kOk);
    EXPECT_EQ(ok.out,
              "standard input: 2 entries, no problems found; nothing was written (--dry-run)\n");
    const ToolRun bad =
        run(store, {"import", "--dry-run", "B.QLY"}, "LASTNAME,ISBN\nLee,97800000000001\n");
    EXPECT_EQ(bad.status, ExitStatus::kFailed);
    EXPECT_EQ(bad.err,
              "quillery-data: standard input: line 2: ISBN is 14 characters long; it holds at most "
              "13; nothing was written\n");
    EXPECT_TRUE(store.calls.empty());
}

TEST(ToolCommands, DamagedCatalogueIsNotWritten) {
    MemoryStore store = catalogueOf({});
    store.faults = {"key AUTHORKEY: entry 3 has no record"};
    const ToolRun r = run(store, {"import", "B.QLY"}, kTwoRows);
    EXPECT_EQ(r.status, ExitStatus::kFailed);
    EXPECT_EQ(r.err,
              "quillery-data: \"B.QLY\" is damaged; nothing was written. 'quillery-data check "
              "B.QLY' reports the faults\n");
    EXPECT_EQ(store.calls, (std::vector<std::string>{"open-rw B.QLY", "check", "close"}));
    EXPECT_EQ(store.records.size(), 1u);
}

TEST(ToolCommands, FailedAddRollsBackEverything) {
    MemoryStore store = catalogueOf({});
    store.failAddAt = 1;
    const ToolRun r = run(store, {"import", "B.QLY"}, kTwoRows);
    EXPECT_EQ(r.status, ExitStatus::kFailed);
    EXPECT_EQ(r.err,
              "quillery-data: cannot add the entries to \"B.QLY\": Access Denied; nothing was "
              "written\n");
    EXPECT_EQ(store.calls, (std::vector<std::string>{"open-rw B.QLY", "check", "file order",
                                                     "begin", "add failed", "rollback", "close"}));
    EXPECT_EQ(store.records.size(), 1u);
}

TEST(ToolCommands, ExportWritesTheCurrentEntriesOnly) {
    MemoryStore store = catalogueOf(
        {entry("Lee", "Mockingbird"), entry("Lee", "Old version", 1), entry("Orwell", "1984")});
    const ToolRun r = run(store, {"export", "B.QLY"});
    EXPECT_EQ(r.status, ExitStatus::kOk) << r.err;
    const std::vector<QuilleryRecord> expected = {store.records[1], store.records[3]};
    EXPECT_EQ(r.out, writeCatalogueCsv(expected));
    EXPECT_EQ(store.calls, (std::vector<std::string>{"open-ro B.QLY", "file order", "close"}));
}

TEST(ToolCommands, ExportThenImportGivesTheSameEntriesByteForByte) {
    std::vector<QuilleryRecord> generated = generateCatalogue(800, 11);
    MemoryStore source = catalogueOf(generated);
    const ToolRun exported = run(source, {"export", "A.QLY"});
    ASSERT_EQ(exported.status, ExitStatus::kOk) << exported.err;

    MemoryStore target = catalogueOf({});
    const ToolRun imported = run(target, {"import", "B.QLY"}, exported.out);
    ASSERT_EQ(imported.status, ExitStatus::kOk) << imported.err;

    std::vector<QuilleryRecord> current;
    std::copy_if(generated.begin(), generated.end(), std::back_inserter(current),
                 [](const QuilleryRecord& r) { return r.DELETED == 0; });
    ASSERT_EQ(target.records.size(), current.size() + 1);
    for (std::size_t i = 0; i < current.size(); ++i) {
        EXPECT_TRUE(sameBytes(target.records[i + 1], current[i])) << i;
    }
}

TEST(ToolCommands, ExportToAFileReplacesItWhole) {
    const auto path = std::filesystem::temp_directory_path() / "quillery_export_test.csv";
    std::ofstream(path) << "old content that is longer than the new one ...................";
    MemoryStore store = catalogueOf({entry("Lee", "Mockingbird")});
    const ToolRun r = run(store, {"export", "B.QLY", path.string()});
    EXPECT_EQ(r.status, ExitStatus::kOk) << r.err;
    EXPECT_EQ(r.out, "");
    std::ifstream file(path, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(file)), {});
    EXPECT_EQ(written, writeCatalogueCsv(std::vector{store.records[1]}));
    EXPECT_FALSE(std::filesystem::exists(path.string() + ".part"));
    std::filesystem::remove(path);
}

TEST(ToolCommands, ExportReachesTheDiskBeforeItsNameDoes) {
    const auto folder = std::filesystem::temp_directory_path();
    const auto path = folder / "quillery_export_durable_test.csv";
    std::vector<std::string> steps;
    setFileStepObserver([&](std::string_view step, const std::string& file) {
        steps.push_back(std::string(step) + " " + file);
    });
    MemoryStore store = catalogueOf({entry("Lee", "Mockingbird")});
    const ToolRun r = run(store, {"export", "B.QLY", path.string()});
    setFileStepObserver({});
    EXPECT_EQ(r.status, ExitStatus::kOk) << r.err;
    const std::string part = path.string() + ".part";
    EXPECT_EQ(steps,
              (std::vector<std::string>{"write " + part, "flush " + part, "rename " + path.string(),
                                        "flush " + folder.string()}));
    std::filesystem::remove(path);
}

TEST(ToolCommands, ListShowsTitlesAndAuthorsInKeyOrder) {
    QuilleryRecord accented = entry("Bront\xEB", "Jane Eyre");
    accented.FIRSTNAME = "Charlotte";
    MemoryStore store =
        catalogueOf({entry("Orwell", "Nineteen"), accented, entry("Lee", "Earlier draft", 1)});
    const ToolRun current = run(store, {"list", "--key", "titlekeykey", "B.QLY"});
    EXPECT_EQ(current.status, ExitStatus::kOk) << current.err;
    EXPECT_EQ(current.out, "Jane Eyre\tBront\xC3\xAB, Charlotte\nNineteen\tOrwell\n");
    EXPECT_EQ(store.calls, (std::vector<std::string>{"open-ro B.QLY", "file order",
                                                     "by key TITLEKEYKEY", "close"}));

    const ToolRun all = run(store, {"list", "--all", "--key", "AUTHORKEY", "B.QLY"});
    EXPECT_EQ(all.out,
              "Earlier draft\tLee\t(superseded)\nJane Eyre\tBront\xC3\xAB, Charlotte\n"
              "Nineteen\tOrwell\n");
}

TEST(ToolCommands, CheckAnswersWithItsExitStatus) {
    MemoryStore sound = catalogueOf({entry("Lee", "Mockingbird")});
    const ToolRun ok = run(sound, {"check", "B.QLY"});
    EXPECT_EQ(ok.status, ExitStatus::kOk);
    EXPECT_EQ(ok.out, "B.QLY: sound\n");

    MemoryStore damaged = catalogueOf({});
    damaged.faults = {"page 4: checksum does not match", "key AUTHORKEY: 2 entries, 3 records"};
    const ToolRun bad = run(damaged, {"check", "B.QLY"});
    EXPECT_EQ(bad.status, ExitStatus::kFaultsFound);
    EXPECT_EQ(bad.out,
              "B.QLY: 2 faults\n  page 4: checksum does not match\n  key AUTHORKEY: 2 entries, "
              "3 records\n");

    MemoryStore unreadable;
    unreadable.openStatus = {ErrorCode::kInvalidDataFile, "Invalid Data File"};
    const ToolRun invalid = run(unreadable, {"check", "B.QLY"});
    EXPECT_EQ(invalid.status, ExitStatus::kFaultsFound);
    EXPECT_EQ(invalid.out, "B.QLY: 1 fault\n  Invalid Data File\n");

    MemoryStore missing;
    missing.openStatus = {ErrorCode::kFileNotFound, "File Not Found"};
    const ToolRun gone = run(missing, {"check", "B.QLY"});
    EXPECT_EQ(gone.status, ExitStatus::kFailed);
    EXPECT_EQ(gone.err, "quillery-data: cannot open \"B.QLY\": File Not Found\n");
}

TEST(ToolCommands, CreateStartsWithTheBlankHeaderRecord) {
    const auto path = std::filesystem::temp_directory_path() / "quillery_create_test.QLY";
    std::filesystem::remove(path);
    MemoryStore store;
    const ToolRun r = run(store, {"create", path.string()});
    EXPECT_EQ(r.status, ExitStatus::kOk) << r.err;
    EXPECT_EQ(store.calls,
              (std::vector<std::string>{"create " + path.string(), "begin", "commit", "close"}));
    ASSERT_EQ(store.records.size(), 1u);
    QuilleryRecord header{};
    header.setCREATED(kNow);
    header.setCHANGED(kNow);
    EXPECT_TRUE(sameBytes(store.records[0], header));

    std::ofstream(path) << "x";
    MemoryStore untouched;
    const ToolRun exists = run(untouched, {"create", path.string()});
    EXPECT_EQ(exists.status, ExitStatus::kFailed);
    EXPECT_EQ(exists.err,
              "quillery-data: \"" + path.string() + "\" already exists; nothing was written\n");
    EXPECT_TRUE(untouched.calls.empty());
    std::filesystem::remove(path);
}

TEST(ToolCommands, CreateRemovesTheFileWhenTheHeaderCannotBeWritten) {
    const auto path = std::filesystem::temp_directory_path() / "quillery_create_fail_test.QLY";
    std::filesystem::remove(path);
    MemoryStore store;
    store.makesFiles = true;
    store.failAddAt = 0;
    const ToolRun r = run(store, {"create", path.string()});
    EXPECT_EQ(r.status, ExitStatus::kFailed);
    EXPECT_EQ(r.err, "quillery-data: cannot write the header record of \"" + path.string() +
                         "\": Access Denied\n");
    EXPECT_EQ(store.calls, (std::vector<std::string>{"create " + path.string(), "begin",
                                                     "add failed", "rollback", "close"}));
    EXPECT_FALSE(std::filesystem::exists(path)) << "a catalogue without its header is left";
}

TEST(ToolCommands, InfoShowsCountsPagesAndSize) {
    MemoryStore store = catalogueOf({entry("Lee", "A"), entry("Lee", "B", 1), entry("Lee", "C")});
    const ToolRun r = run(store, {"info", "B.QLY"});
    EXPECT_EQ(r.status, ExitStatus::kOk) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find("              DELETEKEY")),
              "catalogue     B.QLY\n"
              "file size     83456 bytes\n"
              "records       4 (2 current, 1 superseded, 1 header)\n"
              "pages         3 of 512 bytes\n"
              "              20 of 4096 bytes\n"
              "key entries   CREATEDKEY 4\n");
    EXPECT_NE(r.out.find("              VALUEKEY 0\n"), std::string::npos);
}

TEST(ToolCommands, RebuildOpensForWriting) {
    MemoryStore store = catalogueOf({});
    const ToolRun r = run(store, {"rebuild", "B.QLY"});
    EXPECT_EQ(r.status, ExitStatus::kOk);
    EXPECT_EQ(r.out, "rebuilt the keys of B.QLY\n");
    EXPECT_EQ(store.calls, (std::vector<std::string>{"open-rw B.QLY", "rebuild", "close"}));
}

TEST(ToolCommands, UsageErrorsAndHelp) {
    MemoryStore store;
    const ToolRun usage = run(store, {"list", "B.QLY"});
    EXPECT_EQ(usage.status, ExitStatus::kUsage);
    EXPECT_EQ(usage.err,
              "quillery-data: list needs --key NAME\n"
              "usage: quillery-data list --key NAME [--all] FILE\n"
              "'quillery-data --help' lists the commands.\n");
    const ToolRun help = run(store, {"--help"});
    EXPECT_EQ(help.status, ExitStatus::kOk);
    EXPECT_TRUE(help.out.starts_with("usage: quillery-data COMMAND [OPTIONS] FILE [CSV]\n"));
    const ToolRun importHelp = run(store, {"import", "--help"});
    EXPECT_TRUE(importHelp.out.starts_with(
        "usage: quillery-data import [--dry-run] [--from FORMAT] [--isbn13] FILE [CSV]\n"));
    EXPECT_TRUE(store.calls.empty());
}

}  // namespace
}  // namespace quillery::tools
