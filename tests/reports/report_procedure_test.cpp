// The report procedure driven through its progress window and the preview: batches of 25 on
// the timer, Cancel, the use counter, the page files, and records kept only for undo left out.
#include <QApplication>
#include <QFile>
#include <optional>

#include "app/window/display_quillery.h"
#include "app/window/main_window_options.h"
#include "app/window/reports_menu.h"
#include "reports/listing_report.h"
#include "reports/listings.h"
#include "reports/report_preview.h"
#include "support/request_globals.h"
#include "tests/reports/listing_support.h"

namespace quillery::testing {
namespace {

using namespace script;
namespace P = progresswindow;
namespace R = reportpreview;

std::string pctText() {
    return PROP(P::PROGRESS_PCTTEXT, Prop::Text).text();
}
std::string zone(int n) {
    return PROP(0, Prop::StatusText, n).text();
}

TEST_F(ListingTest, TwentySixBooksTakeTwoBatchesAndSixPages) {
    useCatalogue(numberedBooks(26));
    std::vector<std::string> firstPage;
    std::vector<std::string> lastPage;
    ScriptedSession s;
    s.then(inspect("the first record at hand",
                   [](Window&) {
                       EXPECT_EQ(pctText(), "  3% Completed");  // 1 of 27, the fraction dropped
                       EXPECT_EQ(std::string(PROP(0, Prop::Text)), "Generating Report");
                   })
               .in(kAuthorProgress))
        .then(timer(1).in(kAuthorProgress))
        // 26 of the 27 records (header included) fetched: the percentage against the file.
        .then(inspect("first batch", [](Window&) { EXPECT_EQ(pctText(), " 96% Completed"); })
                  .in(kAuthorProgress))
        .then(timer(1).in(kAuthorProgress))
        .then(inspect("preview",
                      [&](Window&) {
                          EXPECT_EQ(zone(2), "Page 1 of 6");
                          EXPECT_EQ(zone(3), "No Zoom");
                          firstPage = pageTexts(PROP(R::kFirstCellImage, Prop::Text).text());
                      })
                  .in(kPreview))
        .then(menu(R::NEXT))
        .then(menu(R::NEXT))
        .then(menu(R::NEXT))
        .then(menu(R::NEXT))
        .then(menu(R::NEXT))
        .then(inspect("last page",
                      [&](Window&) {
                          EXPECT_EQ(zone(2), "Page 6 of 6");
                          EXPECT_NE(PROP(R::NEXT, Prop::Disable).number(), 0);
                          lastPage = pageTexts(PROP(R::kFirstCellImage, Prop::Text).text());
                      })
                  .in(kPreview))
        .then(click(R::EXITBUTTON));
    AUTHORREPORT();
    EXPECT_TRUE(s.done()) << s.report();
    EXPECT_EQ(GLOBALRESPONSE, RequestCompleted);  // the listing's own answer, not the preview's
    EXPECT_EQ(QUILLERY_USED, 0);
    EXPECT_TRUE(temporaryFiles().isEmpty()) << temporaryFiles().join(",").toStdString();

    const auto has = [](const std::vector<std::string>& texts, const std::string& text) {
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    };
    EXPECT_TRUE(has(firstPage, "by Author"));
    EXPECT_TRUE(has(firstPage, "Author001"));
    EXPECT_TRUE(has(firstPage, "Author005"));
    EXPECT_FALSE(has(firstPage, "Author006"));
    EXPECT_TRUE(has(firstPage, "Page    1"));
    EXPECT_TRUE(has(lastPage, "Author026"));
    EXPECT_TRUE(has(lastPage, "Page    6"));
    EXPECT_TRUE(has(lastPage, "by Author"));
}

// Twenty-five books fill the first timer event exactly: that event also closes the progress
// window and leads to the preview, with the percentage counted against every record of the file.
TEST_F(ListingTest, TwentyFiveBooksTakeOneBatch) {
    useCatalogue(numberedBooks(25));
    ScriptedSession s;
    s.then(inspect("first record", [](Window&) { EXPECT_EQ(pctText(), "  3% Completed"); })
               .in(kAuthorProgress))
        .then(timer(1).in(kAuthorProgress))
        .then(inspect("preview after one event", [](Window&) { EXPECT_EQ(zone(2), "Page 1 of 5"); })
                  .in(kPreview))
        .then(menu(R::EXIT));
    AUTHORREPORT();
    EXPECT_TRUE(s.done()) << s.report();
}

TEST(ListingProgress, PercentagesDropTheFraction) {
    EXPECT_EQ(percentRead(1, 3), 33);
    EXPECT_EQ(percentRead(2, 3), 66);  // not 67
    EXPECT_EQ(percentRead(3, 3), 100);
    EXPECT_EQ(percentRead(12, 13), 92);  // a key holding fewer records than the file
    EXPECT_EQ(percentRead(4, 3), 100);
    EXPECT_EQ(percentRead(0, 0), 100);
    EXPECT_EQ(percentRead(2'000'000'000, 2'000'000'000), 100);  // no overflow
}

TEST_F(ListingTest, CancelWhileBuildingShowsNoPreviewAndKeepsNothing) {
    useCatalogue(numberedBooks(80));
    QUILLERY_USED = 0;
    ScriptedSession s;
    s.then(timer(1).in(kAuthorProgress)).then(click(P::PROGRESS_CANCEL).in(kAuthorProgress));
    AUTHORREPORT();
    EXPECT_TRUE(s.done()) << s.report();
    for (const std::string& window : s.windowsSeen())
        EXPECT_NE(window, kPreview);
    EXPECT_EQ(GLOBALRESPONSE, RequestCancelled);
    EXPECT_EQ(QUILLERY_USED, 0);
    EXPECT_TRUE(temporaryFiles().isEmpty()) << temporaryFiles().join(",").toStdString();
}

TEST_F(ListingTest, NothingToListClosesAtOnceSayingSoWithoutPreview) {
    useCatalogue({});
    ScriptedSession s;
    s.then(answerMessageBox(BUTTON::OK));
    TITLEREPORT();
    EXPECT_TRUE(s.done()) << s.report();
    ASSERT_EQ(s.messageBoxes().size(), 1u);
    EXPECT_EQ(s.messageBoxes()[0].text, "There is nothing to print: no book has a title.");
    EXPECT_EQ(GLOBALRESPONSE, RequestCancelled);
    EXPECT_EQ(QUILLERY_USED, 0);
    // Books, but none in this listing's key.
    writeCatalogue(path("D.QLY"), numberedBooks(2));
    QUILLERYFILE = path("D.QLY");
    ScriptedSession again;
    again.then(answerMessageBox(BUTTON::OK));
    OTHERREPORT();
    EXPECT_TRUE(again.done()) << again.report();
    ASSERT_EQ(again.messageBoxes().size(), 1u);
    EXPECT_EQ(again.messageBoxes()[0].text,
              "There is nothing to print: no book has an \"other\" entry.");
}

TEST_F(ListingTest, VersionsKeptForUndoAreLeftOutAndOnePageDisablesPaging) {
    std::vector<QuilleryRecord> books = numberedBooks(3);
    books[1].DELETED = 1;  // a superseded version
    QuilleryRecord noIsbn = numberedBook(4);
    noIsbn.ISBN = "";
    books.push_back(noIsbn);
    useCatalogue(books);
    std::vector<std::string> page;
    ScriptedSession s;
    s.then(timer(1).in("ISBNREPORT$PROGRESSWINDOW"))
        .then(inspect("one page",
                      [&](Window&) {
                          EXPECT_EQ(zone(2), "Page 1 of 1");
                          EXPECT_NE(PROP(R::CURRENTPAGE, Prop::Disable).number(), 0);
                          EXPECT_NE(PROP(R::PAGESDOWN, Prop::Disable).number(), 0);
                          EXPECT_NE(PROP(R::VIEWMENU, Prop::Disable).number(), 0);
                          page = pageTexts(PROP(R::kFirstCellImage, Prop::Text).text());
                      })
                  .in(kPreview))
        .then(closeWindow());
    ISBNREPORT();
    EXPECT_TRUE(s.done()) << s.report();
    EXPECT_EQ(GLOBALRESPONSE, RequestCompleted);
    const auto has = [&](const std::string& text) {
        return std::find(page.begin(), page.end(), text) != page.end();
    };
    EXPECT_TRUE(has("- By ISBN"));
    EXPECT_TRUE(has("ISBN1"));
    EXPECT_FALSE(has("ISBN2"));      // marked deleted
    EXPECT_FALSE(has("Author004"));  // no ISBN, so not in the key
    EXPECT_TRUE(has("ISBN3"));
}

TEST_F(ListingTest, PrintSendsThePagesToTheFileNamed) {
    useCatalogue(numberedBooks(7));
    const std::string pdf = path("listing.pdf");
    ScriptedSession s;
    s.then(runTimers().in(kAuthorProgress))
        .then(click(R::PRINTBUTTON).in(kPreview))
        .then(answerFileDialog(pdf));
    AUTHORREPORT();
    EXPECT_TRUE(s.done()) << s.report();
    EXPECT_EQ(GLOBALRESPONSE, RequestCompleted);
    const std::vector<std::string> pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 2u);
    const auto at = [&](int page, const std::string& word) {
        return pages[static_cast<std::size_t>(page)].find(word);
    };
    EXPECT_NE(at(0, "Page 1"), std::string::npos);
    EXPECT_NE(at(1, "Page 2"), std::string::npos);
    EXPECT_NE(at(1, "by Author"), std::string::npos);
    for (int n = 1; n <= 5; ++n)
        EXPECT_NE(at(0, numberedBook(n).LASTNAME.str()), std::string::npos);
    EXPECT_NE(at(1, "Author006"), std::string::npos);
    EXPECT_NE(at(1, "Author007"), std::string::npos);
    EXPECT_EQ(at(1, "Author005"), std::string::npos);
    EXPECT_TRUE(temporaryFiles().isEmpty());
}

TEST_F(ListingTest, PagesThatCannotBeWrittenAreSaidInABoxAndNotPreviewed) {
    useCatalogue(numberedBooks(7));
    const QString missing = temp_.filePath("gone");
    usePageFolder(missing);
    ScriptedSession s;
    s.then(runTimers().in(kAuthorProgress)).then(answerMessageBox(BUTTON::OK));
    AUTHORREPORT();
    EXPECT_TRUE(s.done()) << s.report();
    for (const std::string& window : s.windowsSeen())
        EXPECT_NE(window, kPreview);
    ASSERT_EQ(s.messageBoxes().size(), 1u);
    EXPECT_EQ(s.messageBoxes()[0].text, "Cannot make a folder for the page images in \"" +
                                            missing.toStdString() +
                                            "\": No such file or directory.");
    EXPECT_EQ(QUILLERY_USED, 0);
}

TEST_F(ListingTest, PrintToFileNeverWritesOverTheCatalogueOrAFileThatIsNotAPdf) {
    useCatalogue(numberedBooks(7));
    QFile catalogue(QString::fromStdString(path("C.QLY")));
    ASSERT_TRUE(catalogue.open(QIODevice::ReadOnly));
    const QByteArray before = catalogue.readAll();
    catalogue.close();
    ASSERT_TRUE(QFile::link(QString::fromStdString(path("C.QLY")),
                            QString::fromStdString(path("other-name.pdf"))));
    QFile notes(QString::fromStdString(path("notes")));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("my notes");
    notes.close();
    const auto printTo = [&](const std::string& name, std::vector<script::Action> after) {
        ScriptedSession s;
        s.then(runTimers().in(kAuthorProgress))
            .then(click(R::PRINTBUTTON).in(kPreview))
            .then(answerFileDialog(path(name)));
        for (script::Action& action : after)
            s.then(std::move(action));
        AUTHORREPORT();
        EXPECT_TRUE(s.done()) << s.report();
        std::vector<std::string> texts;
        for (const SeenMessageBox& box : s.messageBoxes())
            texts.push_back(box.text);
        return texts;
    };
    // The catalogue under another name: refused, and said in a box.
    auto boxes = printTo("other-name.pdf", {answerMessageBox(BUTTON::OK)});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Cannot write the PDF \"" + path("other-name.pdf") +
                            "\": it is the catalogue being printed; name another file.");
    ASSERT_TRUE(catalogue.open(QIODevice::ReadOnly));
    EXPECT_EQ(catalogue.readAll(), before);
    catalogue.close();
    // "notes" gets the suffix: notes.pdf is written, the file "notes" is left alone.
    boxes = printTo("notes", {});
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(pdfPages(path("notes.pdf")).size(), 2u);
    // A file that is not a PDF is replaced only on the user's word.
    QFile::rename(QString::fromStdString(path("notes")), QString::fromStdString(path("n.txt")));
    boxes = printTo("n.txt", {answerMessageBox(BUTTON::No)});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "n.txt exists and is not a PDF file.\nReplace it with the report?");
    QFile kept(QString::fromStdString(path("n.txt")));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "my notes");
    kept.close();
    boxes = printTo("n.txt", {answerMessageBox(BUTTON::Yes)});
    EXPECT_EQ(pdfPages(path("n.txt")).size(), 2u);
    EXPECT_TRUE(temporaryFiles().isEmpty()) << temporaryFiles().join(",").toStdString();
    EXPECT_EQ(QDir(folder_.path()).entryList({".*.pdf.*", ".*.txt.*"}, QDir::Files | QDir::Hidden),
              QStringList());
}

}  // namespace
}  // namespace quillery::testing

namespace quillery::testing {
namespace {

using namespace script;
namespace W = displayquillery;

TEST_F(ListingTest, TheReportsMenuRunsAListingAndReadsTheCatalogueAgain) {
    std::vector<QuilleryRecord> books = numberedBooks(3);
    useCatalogue(books);
    MainWindowOptions options = mainWindowOptions();
    options.listings = runReportsMenuListing;
    std::optional<ScopedMainWindowOptions> listings(std::in_place, options);
    ScriptedSession s;
    s.then(dismissSplash())
        .then(click(W::DELETE))  // kept for undo until the catalogue is read again
        .then(menu(W::AUTHORREPORT).in(kMainWindow))
        .then(runTimers().in(kAuthorProgress))
        .then(inspect("two books listed, over the main window",
                      [](Window& preview) {
                          EXPECT_EQ(PROP(0, Prop::StatusText, 2).text(), "Page 1 of 1");
                          // The preview covers the main window, at its size.
                          const QWidget* main = nullptr;
                          for (QWidget* widget : QApplication::topLevelWidgets())
                              if (widget->isVisible() && widget != preview.widget() &&
                                  widget->windowTitle().contains("Quillery ZE"))
                                  main = widget;
                          ASSERT_NE(main, nullptr);
                          EXPECT_EQ(preview.widget()->geometry(), main->geometry());
                          EXPECT_GE(preview.widget()->width(), 600);
                      })
                  .in(kPreview))
        .then(menu(reportpreview::EXIT))
        .then(inspect("read again",
                      [](Window& w) {
                          EXPECT_EQ(listedRows(w).size(), 2u);
                          EXPECT_EQ(QUILLERY_USED, 0);
                      })
                  .in(kMainWindow))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("C.QLY");
    listings.reset();
    EXPECT_TRUE(s.done()) << s.report();
    EXPECT_EQ(fileRecords(path("C.QLY")).size(), 3u);  // the deleted book is gone for good
    EXPECT_TRUE(temporaryFiles().isEmpty());
}

}  // namespace
}  // namespace quillery::testing
