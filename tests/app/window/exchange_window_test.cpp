// File > Import and File > Export in the main window: the report window, the import as one
// transaction, a refused file leaving the catalogue alone, and the format chosen for export.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/window/display_quillery.h"
#include "app/window/exchange_windows.h"
#include "tests/app/window/main_window_support.h"

namespace quillery::testing {
namespace {

using namespace script;
namespace W = displayquillery;
namespace I = importbooks;
namespace X = exportbooks;
using Rows = std::vector<std::string>;

const std::string kSamples = QUILLERY_EXCHANGE_SAMPLES;

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string clipped(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

TEST_F(MainWindowTest, ImportShowsTheReportAndAddsTheBooksOnTheUsersWord) {
    writeCatalogue("Mine.QLY", {book("Austen", "Jane", "Emma")});
    { std::ofstream(path("bad.tsv")) << "Title\tPrimary Author\tEntry Date\nA\tB\t[2021-13-01]\n"; }
    const std::string tsv = kSamples + "/librarything_export_49.tsv";
    ScriptedSession s;
    s.then(dismissSplash())
        // A file that cannot be read as its format: said so, nothing added.
        .then(menu(W::FILEIMPORT))
        .then(answerFileDialog(path("bad.tsv")))
        .then(answerMessageBox(BUTTON::OK))
        // The report, then Cancel: nothing added.
        .then(menu(W::FILEIMPORT))
        .then(answerFileDialog(tsv))
        .then(inspect("report",
                      [&](Window&) {
                          EXPECT_EQ(clipped(PROP(I::SUMMARY, Prop::Value).text()),
                                    "librarything_export_49.tsv: 3 entries of a LibraryThing "
                                    "export, 3 of them named below.");
                          EXPECT_TRUE(PROP(I::REPORT, Prop::Value)
                                          .text()
                                          .starts_with("line 2: Quiet Tides: 1 control "
                                                       "character dropped from Title\r\n"));
                      })
                  .in("IMPORTBOOKS$WINDOW"))
        .then(click(I::CANCEL).in("IMPORTBOOKS$WINDOW"))
        .then(inspect("nothing yet",
                      [&](Window& w) { EXPECT_EQ(listedRows(w), (Rows{"Austen, Jane (Emma)"})); }))
        // The report, then Import: the books are listed at once.
        .then(menu(W::FILEIMPORT))
        .then(answerFileDialog(tsv))
        .then(click(I::IMPORT).in("IMPORTBOOKS$WINDOW"))
        .then(inspect("imported",
                      [&](Window& w) {
                          EXPECT_EQ(
                              listedRows(w),
                              (Rows{"Austen, Jane (Emma)", "Ossian, Bram (Lighthouse Film Notes)",
                                    "Rask, Edda (The Salt Ledger)", "Varga, Ilona (Quiet Tides)"}));
                          EXPECT_EQ(tabTexts(w), (Rows{"ALL", "Wishlist", "Your library"}));
                      }))
        // Export: the second format of the table is LibraryThing's.
        .then(menu(W::FILEEXPORT))
        .then(click(X::SECONDFORMAT).in("EXPORTBOOKS$WINDOW"))
        .then(click(X::OK).in("EXPORTBOOKS$WINDOW"))
        .then(answerFileDialog(path("out")))
        .then(answerMessageBox(BUTTON::OK))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Mine.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    ASSERT_EQ(s.messageBoxes().size(), 2u);
    EXPECT_EQ(s.messageBoxes()[0].text,
              "bad.tsv, line 2: Entry Date \"[2021-13-01]\" is not a date [YYYY-MM-DD], "
              "YYYY-MM-DD or [YYYY] from 1801 to 2099.  Nothing was imported.");
    EXPECT_EQ(s.messageBoxes()[1].text, "4 books written to " + path("out.tsv") + ".");
    EXPECT_EQ(currentTitles("Mine.QLY").size(), 4u);
    EXPECT_TRUE(catalogueFaults("Mine.QLY").empty());
    const std::string exported = readBytes(path("out.tsv"));
    EXPECT_TRUE(exported.starts_with("Book Id\tTitle\tSort Character\t")) << exported;
    EXPECT_NE(exported.find("\tVarga, Ilona\t"), std::string::npos);
}

}  // namespace
}  // namespace quillery::testing
