// quillery-data print: every listing to a PDF whose pages carry the books in key order, the page
// image files kept when asked, and a catalogue that cannot be opened refused, writing nothing.
#include <QDir>
#include <QFile>
#include <QPrinterInfo>
#include <sstream>

#include "app/tools/tool_run.h"
#include "reports/listing_table.h"
#include "reports/print_command.h"
#include "tests/reports/listing_support.h"

namespace quillery::testing {
namespace {

// A book with every listed field set, so that it is in every listing's key.
QuilleryRecord fullBook(int n) {
    QuilleryRecord r = numberedBook(n);
    const std::string tag = std::to_string(100 + n);
    r.LOCATION = "Shelf " + tag;
    r.RATING = std::string(1, static_cast<char>('A' + n % 5));
    r.CONDITION = "Fine " + tag;
    r.VALUE = "$" + tag;
    r.EDITION = "Edition " + tag;
    r.PUBDATE = "1901-" + tag;
    r.BUYDATE = "2001-" + tag;
    r.PRINTDATE = "1951-" + tag;
    r.OTHER = "Other " + tag;
    return r;
}

class PrintCommandTest : public ListingTest {
  protected:
    int run(std::vector<std::string> words) {
        std::vector<std::string_view> args(words.begin(), words.end());
        std::istringstream in;
        out_.str("");
        err_.str("");
        tools::setPrintCommand(printListingCommand);
        const auto store = tools::makeCatalogueStore();
        return tools::runQuilleryData(args, *store, in, out_, err_, {80000, 1});
    }
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(PrintCommandTest, EveryListingPrintsAllBooksInKeyOrder) {
    std::vector<QuilleryRecord> books;
    for (int n = 1; n <= 26; ++n)
        books.push_back(fullBook(n));
    books[3].DELETED = 1;  // a version kept for undo: in no listing
    useCatalogue(books);
    for (const ListingSpec& spec : listingTable()) {
        SCOPED_TRACE(std::string(spec.toolName));
        const std::string pdf = path(std::string(spec.toolName) + ".pdf");
        ASSERT_EQ(
            run({"print", "--listing", std::string(spec.toolName), "--pdf", pdf, path("C.QLY")}), 0)
            << err_.str();
        const std::vector<std::string> pages = pdfPages(pdf);
        ASSERT_EQ(pages.size(), 5u);  // 25 books
        for (std::size_t p = 0; p < pages.size(); ++p) {
            EXPECT_NE(pages[p].find(std::string(spec.subtitle)), std::string::npos);
            EXPECT_NE(pages[p].find("Page " + std::to_string(p + 1)), std::string::npos);
        }
        std::string all;
        for (const std::string& page : pages)
            all += page;
        EXPECT_EQ(all.find("Author004"), std::string::npos);
        if (spec.key == QuilleryKey::AUTHORKEY) {
            EXPECT_LT(all.find("Author001"), all.find("Author002"));
            EXPECT_LT(all.find("Author025"), all.find("Author026"));
        }
        if (spec.key == QuilleryKey::TITLEKEYKEY) {  // titles run backwards with the authors
            EXPECT_LT(all.find("Author026"), all.find("Author001"));
        }
    }
    EXPECT_TRUE(temporaryFiles().isEmpty());
}

TEST_F(PrintCommandTest, KeepsThePageImagesInPageOrder) {
    useCatalogue(numberedBooks(26));
    ASSERT_EQ(run({"print", "--listing", "author", "--pdf", path("a.pdf"), "--pages", path("pages"),
                   path("C.QLY")}),
              0)
        << err_.str();
    const QStringList files = QDir(QString::fromStdString(path("pages"))).entryList(QDir::Files);
    ASSERT_EQ(files.size(), 6);
    EXPECT_EQ(files.front().toStdString(), "page-0001.wmf");
    const auto last = pageTexts(path("pages/page-0006.wmf"));
    EXPECT_NE(std::find(last.begin(), last.end(), "Author026"), last.end());
    EXPECT_EQ(pdfPages(path("a.pdf")).size(), 6u);
}

TEST_F(PrintCommandTest, RefusesWhatItCannotOpenWritingNothing) {
    EXPECT_EQ(run({"print", "--listing", "author", "--pdf", path("x.pdf"), path("none.QLY")}), 3);
    EXPECT_NE(err_.str().find("cannot open catalogue"), std::string::npos);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("x.pdf"))));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("none.QLY"))));
    useCatalogue({});
    EXPECT_EQ(run({"print", "--listing", "shelf", path("C.QLY")}), 2);
    EXPECT_EQ(run({"print", path("C.QLY")}), 2);
    // No printer and no PDF named: refused at once rather than waiting for a file name.
    if (QPrinterInfo::defaultPrinterName().isEmpty()) {
        EXPECT_EQ(run({"print", "--listing", "author", path("C.QLY")}), 3);
        EXPECT_NE(err_.str().find("no printer is set up"), std::string::npos) << err_.str();
    }
}

}  // namespace
}  // namespace quillery::testing
