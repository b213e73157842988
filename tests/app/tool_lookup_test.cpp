// quillery-data lookup and add against a book service on the loopback address, pointed at by
// QUILLERY_LOOKUP_URL as a person behind a mirror would.
#include <gtest/gtest.h>

#include <QByteArray>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app/tools/catalogue_store.h"
#include "app/tools/tool_commands.h"
#include "app/tools/tool_run.h"
#include "runtime/dates.h"
#include "tests/app/book_service_server.h"

namespace quillery::tools {
namespace {

namespace fs = std::filesystem;
namespace served = quillery::testing;

struct ToolRun {
    int status = 0;
    std::string out;
    std::string err;
};

class ToolLookup : public ::testing::Test {
  protected:
    void SetUp() override {
        server_.serveTheLibrary();
        qputenv("QUILLERY_LOOKUP_URL", server_.address().toUtf8());
        dir_ = fs::temp_directory_path() /
               ("quillery_lookup_" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        file_ = (dir_ / "Books.QLY").string();
        ASSERT_EQ(run({"create", file_}).status, ExitStatus::kOk);
    }
    void TearDown() override {
        qunsetenv("QUILLERY_LOOKUP_URL");
        fs::remove_all(dir_);
    }

    ToolRun run(const std::vector<std::string>& args) {
        std::vector<std::string_view> views(args.begin(), args.end());
        std::istringstream in;
        std::ostringstream out, err;
        ToolRun r;
        r.status =
            runQuilleryData(views, *store_, in, out, err, {dayNumberOf(2026, 12, 9), 10 * 360000});
        r.out = out.str();
        r.err = err.str();
        return r;
    }

    served::BookServiceServer server_;
    fs::path dir_;
    std::string file_;
    std::unique_ptr<CatalogueStore> store_ = makeCatalogueStore();
};

TEST_F(ToolLookup, LookupPrintsEachBookOrNotFound) {
    const ToolRun r = run({"lookup", "978-0-14-044913-6", "9791090636071", "080442957X"});
    EXPECT_EQ(r.status, ExitStatus::kOk) << r.err;
    EXPECT_EQ(r.out,
              "9780140449136: The Salt Road Chronicles: Travels Along the Old Trade by Aubrey "
              "Lindqvist, Tomas Rook\n"
              "  published March 1998, Harrow & Finch, 412 pages\n"
              "9791090636071: not found\n"
              "080442957X: not found\n");
    const ToolRun none = run({"lookup", "9791090636071"});
    EXPECT_EQ(none.status, ExitStatus::kFaultsFound);
    EXPECT_EQ(none.out, "9791090636071: not found\n");
}

TEST_F(ToolLookup, AWrongIsbnIsRefusedBeforeAnythingIsSent) {
    const ToolRun r = run({"lookup", "9780140449137"});
    EXPECT_EQ(r.status, ExitStatus::kUsage);
    EXPECT_EQ(r.err, "quillery-data: the check digit of 9780140449137 is wrong; it should be 6\n");
    EXPECT_TRUE(server_.requests().isEmpty());
}

TEST_F(ToolLookup, AddKeepsTheBooksFoundTheirCoversAndSaysTheRest) {
    const ToolRun r =
        run({"add", "--isbn13", "--isbn", "9780140449136", "9791090636071", "080442957X", file_});
    ASSERT_EQ(r.status, ExitStatus::kOk) << r.err;
    EXPECT_EQ(r.out,
              "The Salt Road Chronicles: Travels Along the Old Trade: TITLE cut from 53 to 45 "
              "characters\n"
              "ISBN 9791090636071: not found; not added\n"
              "added 2 entries into " +
                  file_ + "\n");
    EXPECT_EQ(run({"list", "--key", "TITLEKEYKEY", file_}).out,
              "Quayside Ledgers\tToth, Mirela\n"
              "The Salt Road Chronicles: Travels Along the O\tLindqvist, Aubrey\n");
    std::ifstream cover(dir_ / "Books.covers" / "9780140449136.jpg", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(cover), {}};
    EXPECT_EQ(QByteArray::fromStdString(bytes), served::kCoverBytes);
    EXPECT_FALSE(fs::exists(dir_ / "Books.covers" / "9780804429573.jpg"));

    // The same book again is added (collectors keep copies) and said.
    const ToolRun again = run({"add", "--isbn", "9780804429573", file_});
    ASSERT_EQ(again.status, ExitStatus::kOk) << again.err;
    EXPECT_EQ(again.out,
              "Quayside Ledgers: ISBN 9780804429573 is already that of Quayside Ledgers by Toth, "
              "Mirela\nadded 1 entry into " +
                  file_ + "\n");
    EXPECT_EQ(run({"check", file_}).out, file_ + ": sound\n");
}

TEST_F(ToolLookup, NoServiceMeansNothingIsWritten) {
    std::ifstream before(file_, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(before), {}};
    server_.answer(served::booksTarget(served::kEditionOnlyIsbn), {.body = "not json"});
    const ToolRun r = run({"add", "--isbn", "9780140449136", "9780804429573", file_});
    EXPECT_EQ(r.status, ExitStatus::kFailed);
    EXPECT_TRUE(
        r.err.starts_with("quillery-data: The book service's answer could not be read: "
                          "it is not JSON"))
        << r.err;
    EXPECT_TRUE(r.err.ends_with(" Nothing was written.\n")) << r.err;
    std::ifstream after(file_, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(after), {}), bytes);

    const ToolRun usage = run({"add", "9780140449136", file_});
    EXPECT_EQ(usage.status, ExitStatus::kUsage);
    EXPECT_EQ(usage.err.substr(0, usage.err.find('\n')),
              "quillery-data: add needs --isbn, at least one ISBN and the catalogue FILE");
}

}  // namespace
}  // namespace quillery::tools
