// What a printed listing page shows, read back from its page images and its PDF: books start
// below the column headings, five to a page clear of the footer, and a value too long for its
// box keeps its beginning.
#include <QDir>
#include <algorithm>
#include <sstream>

#include "app/tools/print_listing_command.h"
#include "app/tools/tool_run.h"
#include "tests/reports/listing_support.h"

namespace quillery::testing {
namespace {

constexpr double kPointsPerThousandth = 72.0 / 1000.0;

class ListingPageTest : public ListingTest {
  protected:
    // Prints `listing` to "l.pdf", keeping the page images in "pages".
    void print(const std::string& listing) {
        std::vector<std::string> words = {"print",       "--listing", listing,       "--pdf",
                                          path("l.pdf"), "--pages",   path("pages"), path("C.QLY")};
        std::vector<std::string_view> args(words.begin(), words.end());
        std::istringstream in;
        std::ostringstream out, err;
        tools::setPrintCommand(tools::printListingCommand);
        const auto store = tools::makeCatalogueStore();
        ASSERT_EQ(tools::runQuilleryData(args, *store, in, out, err, {80000, 1}), 0) << err.str();
    }
    static const PlacedText& placed(const std::vector<PlacedText>& places,
                                    const std::string& text) {
        const auto found = std::find_if(places.begin(), places.end(),
                                        [&](const PlacedText& p) { return p.text == text; });
        if (found == places.end()) throw std::runtime_error("not on the page: " + text);
        return *found;
    }
};

TEST_F(ListingPageTest, BooksStartBelowTheHeadingsFiveToAPageClearOfTheFooter) {
    std::vector<QuilleryRecord> books = numberedBooks(6);
    for (QuilleryRecord& book : books)
        book.CONTENTS = "A note on the last line of the band";
    useCatalogue(books);
    print("author");
    const auto page = pageTextPlaces(path("pages/page-0001.wmf"));
    // The grey box under the headings runs from 42 above "LAST NAME" (at 677 of the header) to
    // 1687 of the header.
    const double boxBottom =
        placed(page, "LAST NAME").yPoints + (1687 - 677) * kPointsPerThousandth;
    EXPECT_GE(placed(page, "Author001").yPoints, boxBottom);
    EXPECT_GE(placed(page, "Title 999").yPoints, boxBottom);
    EXPECT_GT(placed(page, "Author001").yPoints, placed(page, "VALUE").yPoints);
    // Five books, the last one's note above the page number.
    EXPECT_LT(placed(page, "Author005").yPoints, placed(page, "Page    1").yPoints);
    double lowestNote = 0;
    for (const PlacedText& text : page)
        if (text.text == "A note on the last line of the band")
            lowestNote = std::max(lowestNote, text.yPoints);
    EXPECT_LT(lowestNote + 156 * kPointsPerThousandth, placed(page, "Page    1").yPoints);
    EXPECT_EQ(std::count_if(page.begin(), page.end(),
                            [](const PlacedText& p) { return p.text.starts_with("Author"); }),
              5);
    EXPECT_EQ(QDir(QString::fromStdString(path("pages"))).entryList(QDir::Files).size(), 2);
}

TEST_F(ListingPageTest, AValueTooLongForItsBoxKeepsItsBeginning) {
    QuilleryRecord book = numberedBook(1);
    book.CATEGORY = "Science Fiction Classics";
    book.OTHER = "WWWWWWWWWWWWWWWWWWWW";
    useCatalogue({book});
    for (const std::string listing : {"author", "category", "other"}) {
        SCOPED_TRACE(listing);
        print(listing);
        const std::vector<PdfWord> words = pdfWords(QString::fromStdString(path("l.pdf")));
        const auto word = [&](const std::string& text) {
            const auto found = std::find_if(words.begin(), words.end(),
                                            [&](const PdfWord& w) { return w.text == text; });
            return found == words.end() ? PdfWord{} : *found;
        };
        // Category and other boxes (right-aligned) begin at 4510 of the band, the band at 1000
        // of the page; "LAST NAME" stands at 1115.
        const PdfWord lastName = word("LAST");
        ASSERT_EQ(lastName.text, "LAST");
        const double boxLeft = lastName.x + (1000 + 4490 - 1115) * kPointsPerThousandth;
        const PdfWord science = word("Science");
        ASSERT_EQ(science.text, "Science");
        EXPECT_GE(science.x, boxLeft);
        EXPECT_NE(word("Classics").text, "");  // small enough to be whole
        // Twenty wide letters do not fit even small: cut at the end, their start in the box.
        const auto cut = std::find_if(words.begin(), words.end(),
                                      [](const PdfWord& w) { return w.text.starts_with("WWWW"); });
        ASSERT_NE(cut, words.end());
        EXPECT_GE(cut->x, boxLeft);
        EXPECT_TRUE(cut->text.ends_with("\u2026")) << cut->text;
    }
}

}  // namespace
}  // namespace quillery::testing
