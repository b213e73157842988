// quillery-data over real catalogue files: every command against the storage engine, round
// trips byte for byte, refused imports that leave the file's bytes alone, and the table check
// finding faults planted through the engine's lower API.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/catalogue_csv.h"
#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "app/testing/catalogue_generator.h"
#include "app/tools/catalogue_store.h"
#include "app/tools/tool_commands.h"
#include "app/tools/tool_run.h"
#include "runtime/dates.h"
#include "runtime/errors.h"
#include "storage/access_mode.h"
#include "storage/btree.h"
#include "storage/file_control_block.h"
#include "storage/file_statements.h"
#include "tests/common/fatal_capture.h"

namespace quillery::tools {
namespace {

namespace fs = std::filesystem;

const QuilleryStamp kNow{dayNumberOf(2026, 12, 8), 15 * 360000 + 1};

struct ToolRun {
    int status = 0;
    std::string out;
    std::string err;
};

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string imageOf(const QuilleryRecord& record) {
    return std::string(reinterpret_cast<const char*>(&record), sizeof record);
}

class ToolStore : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("quillery_tool_store_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    ToolRun run(const std::vector<std::string>& args, const std::string& input = {}) {
        std::vector<std::string_view> views(args.begin(), args.end());
        std::istringstream in(input);
        std::ostringstream out, err;
        ToolRun r;
        r.status = runQuilleryData(views, *store_, in, out, err, kNow);
        r.out = out.str();
        r.err = err.str();
        return r;
    }

    // Creates `file` and imports `csv` into it; both must succeed and leave a sound file.
    void createWith(const std::string& file, const std::string& csv) {
        ASSERT_EQ(run({"create", file}).status, ExitStatus::kOk);
        const ToolRun imported = run({"import", file, "-"}, csv);
        ASSERT_EQ(imported.status, ExitStatus::kOk) << imported.err;
        expectSound(file);
    }

    void expectSound(const std::string& file) {
        const ToolRun checked = run({"check", file});
        EXPECT_EQ(checked.status, ExitStatus::kOk) << checked.out << checked.err;
        EXPECT_EQ(checked.out, file + ": sound\n");
    }

    // The record images of `file` in file order, the header record first.
    std::vector<std::string> imagesInFileOrder(const std::string& file) {
        std::vector<std::string> images;
        EXPECT_TRUE(store_->open(file, StoreAccess::kReadOnly).ok());
        EXPECT_TRUE(store_
                        ->forEachInFileOrder([&](std::int32_t, const QuilleryRecord& record) {
                            images.push_back(imageOf(record));
                            return true;
                        })
                        .ok());
        store_->close();
        return images;
    }

    std::string exportOf(const std::string& file) {
        const ToolRun exported = run({"export", file});
        EXPECT_EQ(exported.status, ExitStatus::kOk) << exported.err;
        return exported.out;
    }

    // Opens `file` read/write and hands its table to `plant` inside one changing operation,
    // as a fault would leave it.
    template <class Plant>
    void plantFault(const std::string& file, Plant plant) {
        QUILLERYFILE = file;
        OPEN(QUILLERY, storage::AccessMode::kReadWrite | storage::AccessMode::kDenyAll);
        ASSERT_EQ(errorCode(), 0) << errorText();
        storage::OpenTable& open = *storage::controlBlockOf(QUILLERY).open;
        ASSERT_TRUE(open.file->begin(true).ok());
        plant(*open.table);
        ASSERT_TRUE(open.file->end(storage::Status::success(), true).ok());
        CLOSE(QUILLERY);
        ASSERT_EQ(errorCode(), 0) << errorText();
    }

    fs::path dir_;
    std::unique_ptr<CatalogueStore> store_ = makeCatalogueStore();
};

std::string awardsCsv() {
    return readBytes(fs::path(QUILLERY_DATA_DIR) / "awards.csv");
}

std::vector<std::string> imagesOf(const std::vector<QuilleryRecord>& records) {
    std::vector<std::string> images;
    for (const QuilleryRecord& r : records)
        images.push_back(imageOf(r));
    return images;
}

TEST_F(ToolStore, CreateLeavesOnlyTheStampedBlankHeader) {
    const std::string file = path("New.QLY");
    const ToolRun created = run({"create", file});
    ASSERT_EQ(created.status, ExitStatus::kOk) << created.err;
    QuilleryRecord header{};
    header.setCREATED(kNow);
    header.setCHANGED(kNow);
    EXPECT_EQ(imagesInFileOrder(file), std::vector<std::string>{imageOf(header)});
    expectSound(file);
    EXPECT_EQ(exportOf(file), catalogueCsvHeader());

    const std::string before = readBytes(file);
    EXPECT_EQ(run({"create", file}).status, ExitStatus::kFailed);
    EXPECT_EQ(readBytes(file), before);
}

TEST_F(ToolStore, PathLongerThanTheNameVariableIsRefused) {
    // Cut to 100 characters the name would lead to another file.
    std::string file = path("");
    file += std::string(kQuilleryFileNameLength + 1 - file.size() - 4, 'n') + ".QLY";
    ASSERT_EQ(file.size(), kQuilleryFileNameLength + 1);
    const ToolRun r = run({"create", file});
    EXPECT_EQ(r.status, ExitStatus::kFailed);
    EXPECT_EQ(r.err, "quillery-data: cannot create \"" + file +
                         "\": the path is longer than 100 characters\n");
    EXPECT_TRUE(fs::is_empty(dir_));
}

TEST_F(ToolStore, AwardsImportExportGivesTheSameEntries) {
    const std::string file = path("Awards.QLY");
    const std::string csv = awardsCsv();
    ASSERT_FALSE(csv.empty());
    createWith(file, csv);
    const CatalogueCsvImport original = readCatalogueCsv(csv, kNow);
    ASSERT_TRUE(original.ok());
    ASSERT_EQ(original.records.size(), 110u);
    const CatalogueCsvImport exported = readCatalogueCsv(exportOf(file), QuilleryStamp{1, 1});
    ASSERT_TRUE(exported.ok());
    EXPECT_EQ(imagesOf(exported.records), imagesOf(original.records));
}

TEST_F(ToolStore, ExportAndReimportKeepEveryFieldByteForByte) {
    // Generated entries carry superseded versions, full contents, phones and odd characters.
    std::vector<QuilleryRecord> records = generateCatalogue(400, 7);
    records[3].PHONES = "555-0100 \x93quoted\x94, \"comma\"";
    records[5].CONTENTS = std::string(1000, 'x');
    records[5].CONTENTS.data[0] = ' ';  // leading blanks are kept
    const std::string first = path("First.QLY");
    createWith(first, writeCatalogueCsv(records));
    // The export holds current entries only; the superseded ones come back through --all rows.
    const std::string csv = exportOf(first);
    const std::string second = path("Second.QLY");
    createWith(second, csv);
    EXPECT_EQ(exportOf(second), csv);

    std::vector<std::string> current;
    for (const QuilleryRecord& r : records)
        if (r.DELETED == 0) current.push_back(imageOf(r));
    std::vector<std::string> a = imagesInFileOrder(first);
    std::vector<std::string> b = imagesInFileOrder(second);
    ASSERT_EQ(a.size(), records.size() + 1);
    a.erase(a.begin());
    EXPECT_EQ(a, imagesOf(records));
    ASSERT_EQ(b.size(), current.size() + 1);
    b.erase(b.begin());
    EXPECT_EQ(b, current);
}

TEST_F(ToolStore, BadRowChangesNoByteOfTheFile) {
    const std::string file = path("Kept.QLY");
    createWith(file, awardsCsv());
    const std::string before = readBytes(file);
    const std::string bad = "LASTNAME,TITLE\nOrwell,1984\nHuxley," + std::string(46, 'T') + "\n";
    const ToolRun r = run({"import", file, "-"}, bad);
    EXPECT_EQ(r.status, ExitStatus::kFailed);
    EXPECT_NE(r.err.find("line 3: TITLE is 46 characters long"), std::string::npos) << r.err;
    EXPECT_EQ(readBytes(file), before);
    expectSound(file);
}

TEST_F(ToolStore, ListByAuthorOrdersLastNamesWithoutRegardToCase) {
    const std::string file = path("Names.QLY");
    createWith(file,
               "LASTNAME,FIRSTNAME,TITLE\nsmith,Ann,One\nAdams,Bo,Two\nSMYTHE,Cy,Three\n"
               "baker,Di,Four\nSmith,Al,Five\n,Eve,Nameless\n");
    const ToolRun r = run({"list", "--key", "authorkey", file});
    ASSERT_EQ(r.status, ExitStatus::kOk) << r.err;
    // Equal names keep the order they were added in; a blank last name has no entry.
    EXPECT_EQ(r.out,
              "Two\tAdams, Bo\nFour\tbaker, Di\nOne\tsmith, Ann\nFive\tSmith, Al\n"
              "Three\tSMYTHE, Cy\n");
}

TEST_F(ToolStore, InfoCountsRecordsKeysAndPages) {
    const std::string file = path("Info.QLY");
    createWith(file, writeCatalogueCsv(generateCatalogue(200, 11)));
    std::size_t superseded = 0;
    for (const QuilleryRecord& r : generateCatalogue(200, 11))
        superseded += r.DELETED != 0;
    ASSERT_GT(superseded, 0u);
    const ToolRun r = run({"info", file});
    ASSERT_EQ(r.status, ExitStatus::kOk) << r.err;
    EXPECT_NE(r.out.find("file size     " + std::to_string(fs::file_size(file)) + " bytes\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("records       201 (" + std::to_string(200 - superseded) + " current, " +
                         std::to_string(superseded) + " superseded, 1 header)\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("key entries   CREATEDKEY 201\n"), std::string::npos) << r.out;

    CatalogueInfo info;
    ASSERT_TRUE(store_->open(file, StoreAccess::kReadOnly).ok());
    ASSERT_TRUE(store_->info(info).ok());
    store_->close();
    // The pages fill the page area: 512-byte header, then the pages, none overlapping.
    std::uint64_t pageBytes = 0;
    for (const PageSizeClass& c : info.pagesBySize) {
        EXPECT_GT(c.pages, 0u);
        EXPECT_EQ(c.pageBytes % 256, 0u);
        pageBytes += c.pages * c.pageBytes;
    }
    EXPECT_TRUE(std::is_sorted(info.pagesBySize.begin(), info.pagesBySize.end(),
                               [](auto& a, auto& b) { return a.pageBytes < b.pageBytes; }));
    EXPECT_LE(pageBytes + 512, info.fileBytes);
    EXPECT_GE(pageBytes + 512, info.fileBytes / 2);
    EXPECT_EQ(info.keyEntries[static_cast<std::size_t>(QuilleryKey::DELETEKEY)], superseded);
}

TEST_F(ToolStore, CheckFindsAMissingKeyEntryAndRebuildMendsIt) {
    const std::string file = path("Missing.QLY");
    createWith(file, awardsCsv());
    // The first entry after the header record loses its author key entry.
    std::int32_t first = 0;
    ASSERT_TRUE(store_->open(file, StoreAccess::kReadOnly).ok());
    ASSERT_TRUE(store_
                    ->forEachInFileOrder([&](std::int32_t position, const QuilleryRecord& r) {
                        first = position;
                        return r.LASTNAME.isBlank();
                    })
                    .ok());
    store_->close();
    const auto record = static_cast<storage::RecordNumber>(first);
    plantFault(file, [record](storage::Table& table) {
        storage::Bytes stored;
        ASSERT_TRUE(table.readRecord(record, stored));
        storage::KeyEntry entry;
        ASSERT_EQ(storage::buildKeyEntry(table.number(), 3, table.layout(3), stored, record, entry),
                  storage::KeyEntryResult::kBuilt);
        ASSERT_TRUE(storage::Tree(table.keyData(3)).erase(entry.key).ok());
    });
    const ToolRun checked = run({"check", file});
    EXPECT_EQ(checked.status, ExitStatus::kFaultsFound);
    EXPECT_EQ(checked.out,
              file + ": 3 faults\n  record " + std::to_string(record) +
                  " has no entry in key 3 (QLY:AUTHORKEY)\n"
                  "  the entry count of key 3 (QLY:AUTHORKEY) says 110; the key holds 109\n"
                  "  key 3 (QLY:AUTHORKEY) holds 109 entries; its records call for 110\n");
    // A damaged file takes no import.
    const std::string before = readBytes(file);
    EXPECT_EQ(run({"import", file, "-"}, "LASTNAME\nOrwell\n").status, ExitStatus::kFailed);
    EXPECT_EQ(readBytes(file), before);

    EXPECT_EQ(run({"rebuild", file}).status, ExitStatus::kOk);
    expectSound(file);
}

TEST_F(ToolStore, CheckFindsAWrongCountAndAStrayEntry) {
    const std::string file = path("Counts.QLY");
    createWith(file, awardsCsv());
    plantFault(file, [](storage::Table& table) {
        storage::Metadata m;
        ASSERT_TRUE(table.metadata(storage::EntryKind::kRecord, m));
        m.count += 5;
        table.setMetadata(storage::EntryKind::kRecord, m);
        // An ISBN entry for record 7, whose ISBN is blank, with no count for it.
        storage::Bytes image;
        ASSERT_TRUE(table.readRecord(7, image));
        std::memcpy(&image[1], "STRAY", 5);
        storage::KeyEntry entry;
        ASSERT_EQ(storage::buildKeyEntry(table.number(), 8, table.layout(8), image, 7, entry),
                  storage::KeyEntryResult::kBuilt);
        ASSERT_TRUE(storage::Tree(table.keyData(8)).insert(entry.key, entry.data).ok());
    });
    const ToolRun checked = run({"check", file});
    EXPECT_EQ(checked.status, ExitStatus::kFaultsFound);
    EXPECT_EQ(checked.out,
              file +
                  ": 4 faults\n"
                  "  an entry of key 8 (QLY:ISBNKEY) names record 7, which has no entry in that "
                  "key\n"
                  "  the record count says 116; the table holds 111 records\n"
                  "  the entry count of key 8 (QLY:ISBNKEY) says 0; the key holds 1\n"
                  "  key 8 (QLY:ISBNKEY) holds 1 entries; its records call for 0\n");

    // The build drops the stray entry and the counts come out as found.
    const ToolRun rebuilt = run({"rebuild", file});
    EXPECT_EQ(rebuilt.status, ExitStatus::kOk) << rebuilt.err;
    expectSound(file);
    const ToolRun info = run({"info", file});
    EXPECT_NE(info.out.find("records       111 (110 current, 0 superseded, 1 header)\n"),
              std::string::npos)
        << info.out;
}

TEST_F(ToolStore, CheckFindsAnEntryNamingTheWrongRecord) {
    const std::string file = path("Wrong.QLY");
    createWith(file, awardsCsv());
    std::vector<std::int32_t> positions;
    ASSERT_TRUE(store_->open(file, StoreAccess::kReadOnly).ok());
    ASSERT_TRUE(store_
                    ->forEachInFileOrder([&](std::int32_t position, const QuilleryRecord&) {
                        positions.push_back(position);
                        return true;
                    })
                    .ok());
    store_->close();
    ASSERT_GT(positions.size(), 11u);
    const auto record = static_cast<storage::RecordNumber>(positions[10]);
    const auto other = static_cast<storage::RecordNumber>(positions[11]);
    plantFault(file, [&](storage::Table& table) {
        storage::Bytes stored;
        ASSERT_TRUE(table.readRecord(record, stored));
        storage::KeyEntry entry;
        ASSERT_EQ(storage::buildKeyEntry(table.number(), 2, table.layout(2), stored, record, entry),
                  storage::KeyEntryResult::kBuilt);
        const std::uint8_t data[4] = {
            static_cast<std::uint8_t>(other >> 24), static_cast<std::uint8_t>(other >> 16),
            static_cast<std::uint8_t>(other >> 8), static_cast<std::uint8_t>(other)};
        storage::Tree(table.keyData(2)).put(entry.key, data);
    });
    const ToolRun checked = run({"check", file});
    EXPECT_EQ(checked.status, ExitStatus::kFaultsFound);
    EXPECT_EQ(checked.out, file + ": 2 faults\n  the entry of record " + std::to_string(record) +
                               " in key 2 (QLY:TITLEKEYKEY) names record " + std::to_string(other) +
                               "\n  an entry of key 2 (QLY:TITLEKEYKEY) for record " +
                               std::to_string(other) + " does not hold that record's key value\n");
    EXPECT_EQ(run({"rebuild", file}).status, ExitStatus::kOk);
    expectSound(file);
}

TEST_F(ToolStore, CheckReportsABuildMarkAndRebuildClearsIt) {
    const std::string file = path("Mark.QLY");
    createWith(file, awardsCsv());
    plantFault(file, [](storage::Table& table) {
        storage::Metadata m;
        ASSERT_TRUE(table.metadata(5, m));
        m.buildMark = 40;
        table.setMetadata(5, m);
    });
    const ToolRun checked = run({"check", file});
    EXPECT_EQ(checked.status, ExitStatus::kFaultsFound);
    EXPECT_EQ(checked.out, file +
                               ": 1 fault\n  key 5 (QLY:CATEGORYKEY) is incomplete from record 40 "
                               "on (build mark); rebuild the keys\n");
    EXPECT_EQ(run({"rebuild", file}).status, ExitStatus::kOk);
    expectSound(file);
}

TEST_F(ToolStore, CheckReportsFlippedPageBytes) {
    const std::string file = path("Flipped.QLY");
    createWith(file, writeCatalogueCsv(generateCatalogue(300, 3)));
    std::string bytes = readBytes(file);
    ASSERT_GT(bytes.size(), 8192u);
    for (std::size_t i = bytes.size() / 2; i < bytes.size() / 2 + 64; ++i)
        bytes[i] = static_cast<char>(bytes[i] ^ 0x5A);
    writeBytes(file, bytes);

    // Damaged pages are findings, never the fatal report.
    quillery::testing::FatalCapture capture;
    ToolRun checked, rebuilt, imported;
    try {
        checked = run({"check", file});
        rebuilt = run({"rebuild", file});
        imported = run({"import", file, "-"}, "LASTNAME\nOrwell\n");
    } catch (const ProgramEnded&) {
        ADD_FAILURE() << "the program ended: "
                      << (capture.reports().empty() ? "" : capture.reports().front());
    }
    EXPECT_EQ(checked.status, ExitStatus::kFaultsFound) << checked.out << checked.err;
    EXPECT_TRUE(checked.out.starts_with(file + ": ")) << checked.out;
    EXPECT_TRUE(checked.out.ends_with(
        "  key entries and counts were not checked: the file's structure is damaged\n"))
        << checked.out;
    EXPECT_EQ(rebuilt.status, ExitStatus::kFailed);
    EXPECT_TRUE(rebuilt.err.starts_with("quillery-data: cannot rebuild the keys of \"" + file +
                                        "\": the file's pages or records are damaged"))
        << rebuilt.err;
    EXPECT_EQ(imported.status, ExitStatus::kFailed);
    EXPECT_EQ(readBytes(file), bytes) << "a damaged file was written";
    storage::releaseControlBlock(QUILLERY);
}

}  // namespace
}  // namespace quillery::tools
