// quillery-data importing and exporting the services' formats over real catalogue files: the
// report on standard output, a dry run or a malformed export leaving the file's bytes alone,
// and the options that name the formats.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/tools/catalogue_store.h"
#include "app/tools/tool_args.h"
#include "app/tools/tool_commands.h"
#include "app/tools/tool_run.h"
#include "runtime/dates.h"

namespace quillery::tools {
namespace {

namespace fs = std::filesystem;

const QuilleryStamp kNow{dayNumberOf(2026, 12, 8), 15 * 360000 + 1};
const fs::path kSamples = QUILLERY_EXCHANGE_SAMPLES;

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct ToolRun {
    int status = 0;
    std::string out;
    std::string err;
};

class ExchangeCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("quillery_exchange_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        file_ = path("Books.QLY");
        ASSERT_EQ(run({"create", file_}).status, ExitStatus::kOk);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    ToolRun run(const std::vector<std::string>& args) {
        std::vector<std::string_view> views(args.begin(), args.end());
        std::istringstream in;
        std::ostringstream out, err;
        ToolRun r;
        r.status = runQuilleryData(views, *store_, in, out, err, kNow);
        r.out = out.str();
        r.err = err.str();
        return r;
    }

    fs::path dir_;
    std::string file_;
    std::unique_ptr<CatalogueStore> store_ = makeCatalogueStore();
};

const std::string kGoodreadsReport =
    "line 5: Notes from Kraków — “Winter”: 2 characters not representable\n"
    "line 5: Notes from Kraków — “Winter”: ISBN: the check digit of 9788301000017 is wrong; it "
    "should be 1\n"
    "line 6: A Very Long Account of the Lighthouse Keepers of the Northern Isles and Their "
    "Lamps: TITLE cut from 83 to 45 characters\n";

TEST_F(ExchangeCommands, AGoodreadsExportImportsInOneCommand) {
    const std::string source = (kSamples / "goodreads_library_export.csv").string();
    const ToolRun imported = run({"import", "--from", "goodreads", file_, source});
    ASSERT_EQ(imported.status, ExitStatus::kOk) << imported.err;
    EXPECT_EQ(imported.out, kGoodreadsReport + "imported 4 entries into " + file_ + "\n");
    EXPECT_EQ(run({"check", file_}).out, file_ + ": sound\n");
    EXPECT_EQ(run({"list", "--key", "AUTHORKEY", file_}).out,
              "A Very Long Account of the Lighthouse Keepers\tAnonymous\n"
              "The Glass Orchard (The Lantern Cycle, #2)\tOlave, Ines\n"
              "The Harbour, \"Revisited\"\tQuell, Mara\n"
              "Notes from Kraków — “Winter”\tWedrowski, Lukasz\n");
}

TEST_F(ExchangeCommands, ADryRunPrintsTheReportAndWritesNothing) {
    const std::string before = readBytes(file_);
    const ToolRun dry =
        run({"import", "--dry-run", file_, (kSamples / "goodreads_library_export.csv").string()});
    ASSERT_EQ(dry.status, ExitStatus::kOk) << dry.err;
    EXPECT_EQ(dry.out, kGoodreadsReport + (kSamples / "goodreads_library_export.csv").string() +
                           ": 4 entries of a Goodreads export, 2 of them named above; nothing "
                           "was written (--dry-run)\n");
    EXPECT_EQ(readBytes(file_), before);
}

TEST_F(ExchangeCommands, AMalformedExportWritesNothingAndNamesTheLine) {
    const std::string before = readBytes(file_);
    const std::string source = (kSamples / "goodreads_malformed.csv").string();
    const ToolRun bad = run({"import", file_, source});
    EXPECT_EQ(bad.status, ExitStatus::kFailed);
    EXPECT_TRUE(bad.err.starts_with("quillery-data: " + source + ": line 4: ")) << bad.err;
    EXPECT_TRUE(bad.err.ends_with("; nothing was written\n")) << bad.err;
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(readBytes(file_), before);
}

TEST_F(ExchangeCommands, EveryRefusedFileLeavesTheCatalogueAsItWas) {
    ASSERT_EQ(run({"import", file_, (kSamples / "librarything_export_49.tsv").string()}).status,
              ExitStatus::kOk);
    const std::string before = readBytes(file_);
    const std::vector<std::pair<std::string, std::string>> refused{
        {"utf16.tsv", std::string("\xFF\xFET\0i\0\x00\xD8", 8)},
        {"broken.json", "{\"1\": {\"title\": \"A\", \"primaryauthor\": \"B\"\n"},
        {"date.tsv", "Title\tPrimary Author\tEntry Date\nA\tB\t[2021-13-01]\n"},
        {"rating.csv", "title,authors,author_sort,rating\nA,B,B,11\n"},
        {"short.csv", "Title,Author l-f,Exclusive Shelf\nA,B\n"},
    };
    for (const auto& [name, bytes] : refused) {
        std::ofstream(path(name), std::ios::binary) << bytes;
        const ToolRun bad = run({"import", file_, path(name)});
        EXPECT_EQ(bad.status, ExitStatus::kFailed) << name;
        EXPECT_TRUE(bad.err.ends_with("; nothing was written\n")) << bad.err;
        EXPECT_EQ(readBytes(file_), before) << name;
    }
}

TEST_F(ExchangeCommands, ExportToEitherServiceImportsBackTheSameBooks) {
    ASSERT_EQ(run({"import", file_, (kSamples / "librarything_export.tsv").string()}).status,
              ExitStatus::kOk);
    const std::string listed = run({"list", "--key", "TITLEKEYKEY", file_}).out;
    for (const std::string format : {"goodreads", "librarything"}) {
        const std::string exported = path("out." + format);
        const ToolRun out = run({"export", "--to=" + format, file_, exported});
        ASSERT_EQ(out.status, ExitStatus::kOk) << out.err;
        const std::string copy = path(format + ".QLY");
        ASSERT_EQ(run({"create", copy}).status, ExitStatus::kOk);
        const ToolRun in = run({"import", copy, exported});
        ASSERT_EQ(in.status, ExitStatus::kOk) << in.err;
        // The export keeps the book's ISBN as it was, wrong check digit and all.
        EXPECT_EQ(in.out, std::string("line 4") +
                              ": The Sluice-Gate Ledger: ISBN: the check digit of 1400000007 is "
                              "wrong; it should be 9\nimported 3 entries into " +
                              copy + "\n");
        EXPECT_EQ(run({"list", "--key", "TITLEKEYKEY", copy}).out, listed) << format;
    }
}

ToolArgumentsParse parse(std::vector<std::string_view> args) {
    return parseToolArguments(args);
}

TEST(ExchangeOptions, NameTheFormatOfEachSide) {
    EXPECT_EQ(parse({"import", "--from", "GoodReads", "B.QLY", "x.csv"}).arguments->format,
              exchange::ExchangeFormat::kGoodreads);
    EXPECT_EQ(parse({"export", "--to=librarything", "B.QLY"}).arguments->format,
              exchange::ExchangeFormat::kLibraryThing);
    EXPECT_FALSE(parse({"import", "B.QLY"}).arguments->format.has_value());
    EXPECT_EQ(
        parse({"import", "--from", "shelfari", "B.QLY"}).error,
        "unknown format \"shelfari\"; the formats to import from are goodreads, librarything, "
        "calibre and quillery");
    EXPECT_EQ(parse({"export", "--to", "calibre", "B.QLY"}).error,
              "unknown format \"calibre\"; the formats to export to are goodreads, librarything "
              "and quillery");
    EXPECT_EQ(parse({"export", "--from", "goodreads", "B.QLY"}).error,
              "unknown option \"--from\" for export");
    EXPECT_EQ(parse({"import", "B.QLY", "--from"}).error, "--from needs a format");
}

}  // namespace
}  // namespace quillery::tools
