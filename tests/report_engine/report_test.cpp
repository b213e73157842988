// Reports end to end: previewed pages kept as files and queue entries, printed to PDF,
// deleted on close, and the runtime errors of misuse.
#include "report_engine/report.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <variant>
#include <vector>

#include "report_engine/core/metafile_reader.h"
#include "report_engine/metafile_player.h"
#include "report_engine/report_options.h"
#include "report_engine/report_printer.h"
#include "runtime/errors.h"
#include "runtime/fatal.h"
#include "runtime/os_errors.h"
#include "tests/common/fatal_capture.h"
#include "tests/common/sample_report.h"

namespace quillery::testing {
namespace {

bool exists(const std::string& file) {
    return QFile::exists(QString::fromStdString(file));
}

std::string firstBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes(4, '\0');
    in.read(bytes.data(), 4);
    return bytes;
}

std::string foldBlanks(const std::string& text) {
    std::string folded;
    for (char c : text) {
        const bool blank = c == ' ' || c == '\n';
        if (blank && (folded.empty() || folded.back() == ' ')) continue;
        folded.push_back(blank ? ' ' : c);
    }
    return folded;
}

int pdfPages(const QString& pdf) {
    const std::string info = runTool("pdfinfo", {pdf});
    const auto at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

// Page files go to a temporary folder of the test's own.
class ReportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(temp_.isValid());
        usePageFolder(temp_.path());
    }
    void TearDown() override { options_.reset(); }
    // Page folders are made in `folder` until the test ends.
    void usePageFolder(const QString& folder) {
        options_.reset();  // the options before the test, which the new scope puts back
        ReportOptions options = reportOptions();
        options.temporaryFolder = folder;
        options_.emplace(options);
    }
    QString pdf(const char* name) const { return temp_.filePath(name); }
    QStringList filesLeft() const {
        // Page files and their folders (the toolkit may keep a folder of its own there).
        QStringList left;
        QDirIterator it(temp_.path(), {"QRP*", "qpages-*", ".*.pdf.*"},
                        QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            left << it.next();
        return left;
    }

    QTemporaryDir temp_;
    std::optional<ScopedReportOptions> options_;
};

TEST_F(ReportTest, ThreePagePreviewPrintsToPdfAndCloseDeletesItsFiles) {
    SampleListing listing;
    listing.preview(12, pdf("listing.pdf"));
    EXPECT_EQ(listing.report.pageCount(), 3);
    EXPECT_EQ(listing.report.pageError(), 0);
    EXPECT_EQ(static_cast<int>(PROP(listing.report, ReportProp::Flush)), 0) << "preview is on";

    const std::vector<std::string> files = listing.pageFiles();
    ASSERT_EQ(files.size(), 3u);
    for (const std::string& file : files) {
        EXPECT_TRUE(exists(file));
        EXPECT_EQ(firstBytes(file), "\xD7\xCD\xC6\x9A");
        EXPECT_EQ(QFileInfo(QString::fromStdString(file)).fileName().left(3), "QRP");
        EXPECT_TRUE(QString::fromStdString(file).endsWith(".TMP"));
    }
    // Pages in order: books 1-5, 6-10, 11-12. The header shows the first title of its page and
    // the footer the last, each as it was when that band was printed.
    for (int page = 0; page < 3; ++page) {
        const std::vector<std::string> texts = pageTexts(files[page]);
        const int first = page * 5 + 1, last = std::min(page * 5 + 5, 12);
        ASSERT_GE(texts.size(), 6u);
        EXPECT_EQ(texts[0], "Quillery");
        EXPECT_EQ(texts[3], sampleTitle(first)) << "header of page " << page + 1;
        EXPECT_EQ(texts[texts.size() - 2], sampleTitle(last)) << "footer of page " << page + 1;
        EXPECT_EQ(texts.back(), "Page    " + std::to_string(page + 1));
        EXPECT_NE(std::find(texts.begin(), texts.end(), "Author " + std::to_string(last)),
                  texts.end());
        // The note breaks onto a second line at a blank.
        const auto note = std::find_if(texts.begin(), texts.end(), [](const std::string& t) {
            return t.starts_with("A note");
        });
        ASSERT_NE(note, texts.end());
        ASSERT_NE(note + 1, texts.end());
        EXPECT_EQ(*note + " " + note[1], sampleNote(first));
    }

    std::vector<std::vector<PlacedText>> places;
    for (const std::string& file : files)
        places.push_back(pageTextPlaces(file));

    PROP(listing.report, ReportProp::Flush) = 1;
    EXPECT_EQ(listing.pages.recordCount(), 0u);
    EXPECT_EQ(static_cast<int>(PROP(listing.report, ReportProp::Flush)), 1);
    PROP(listing.report, ReportProp::Flush) = 1;  // nothing left to print
    for (const std::string& file : files)
        EXPECT_TRUE(exists(file)) << "files live until the report is closed";
    CLOSE(listing.report);
    for (const std::string& file : files)
        EXPECT_FALSE(exists(file));
    EXPECT_TRUE(filesLeft().isEmpty());

    ASSERT_EQ(pdfPages(pdf("listing.pdf")), 3);
    EXPECT_EQ(runTool("pdfinfo", {pdf("listing.pdf")}).find("Sample listing") != std::string::npos,
              true);
    // Every page's texts on the same page of the PDF as laid out text, blanks folded...
    const std::string layout = runTool("pdftotext", {"-layout", pdf("listing.pdf"), "-"});
    std::size_t pageStart = 0;
    for (int page = 0; page < 3; ++page) {
        const std::size_t pageEnd = layout.find('\f', pageStart);
        const std::string shown = foldBlanks(layout.substr(pageStart, pageEnd - pageStart));
        for (const PlacedText& text : places[page])
            EXPECT_NE(shown.find(foldBlanks(text.text)), std::string::npos) << text.text;
        pageStart = pageEnd + 1;
    }
    // ...and at the same place.
    const std::vector<PdfWord> words = pdfWords(pdf("listing.pdf"));
    for (int page = 0; page < 3; ++page) {
        for (const PlacedText& text : places[page]) {
            // The nearest word of the same text on the same page.
            double nearest = 1e9;
            for (const PdfWord& word : words) {
                if (word.page != page + 1 || word.text != text.firstWord) continue;
                const double dx = text.leftAligned ? word.x - text.xPoints : 0;
                nearest = std::min(nearest, std::hypot(dx, word.y - text.yPoints));
            }
            EXPECT_LT(nearest, 3.0) << text.firstWord << " on page " << page + 1;
        }
    }
}

// A text that fits its control is drawn as it is; one wider than its control keeps the clip
// that cuts it at the control's edge, on screen and on paper.
TEST_F(ReportTest, AValueTooWideForItsControlIsCutAtItsEndNeverClipped) {
    SampleListing listing;
    listing.report.printToFile(pdf("clip.pdf"));
    OPEN(listing.report);
    PROP(listing.report, ReportProp::Preview) = previewQueue(listing.pages, listing.page.image);
    listing.setBook(1);
    listing.book.title = std::string(30, 'W');
    PRINT(listing.report, kDetailBand);
    ENDPAGE(listing.report);
    const auto page = loadPageImageFile(QString::fromStdString(listing.pageFiles().at(0)));
    ASSERT_TRUE(page);
    // Each text with the widths of the clips it is drawn with (0: none).
    std::map<std::string, std::vector<int>> clipWidths;
    for (const auto& step : page->steps)
        if (const auto* text = std::get_if<report::PageStep::Text>(&step))
            clipWidths[text->text].push_back(text->clip ? text->clip->right - text->clip->left : 0);
    EXPECT_EQ(clipWidths["Author 1"], std::vector<int>{0}) << "fits its control";
    EXPECT_EQ(clipWidths["TITLE"], std::vector<int>{0});
    // In the header (3 inches at 10 points), the detail (2.25 inches at 12 points bold) and the
    // footer (3 inches at 8 points): drawn smaller, and where even the smallest size is too wide,
    // cut at the end with the cut shown: its beginning always drawn.
    int drawn = 0;
    int cut = 0;
    for (const auto& [text, clips] : clipWidths) {
        if (!text.starts_with("WWWW")) continue;
        drawn += static_cast<int>(clips.size());
        if (text.ends_with("\x85")) {
            cut += static_cast<int>(clips.size());
        } else {
            EXPECT_EQ(text, std::string(30, 'W'));
        }
    }
    EXPECT_EQ(drawn, 3);
    EXPECT_GE(cut, 1);
    CLOSE(listing.report);
}

TEST_F(ReportTest, CancelledPreviewAndUnreadablePagesLeaveNothingBehind) {
    {
        SampleListing listing;
        listing.preview(7, pdf("never.pdf"));
        EXPECT_EQ(listing.pageFiles().size(), 2u);
        CLOSE(listing.report);  // the user cancelled: the preview is never flushed
        EXPECT_TRUE(filesLeft().isEmpty());
        EXPECT_FALSE(QFile::exists(pdf("never.pdf")));
    }
    SampleListing listing;
    listing.preview(11, pdf("two.pdf"));
    const auto files = listing.pageFiles();
    ASSERT_EQ(files.size(), 3u);
    // A page file that cannot be loaded is skipped; its entry still goes.
    QFile damaged(QString::fromStdString(files[1]));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("not a page");
    damaged.close();
    PROP(listing.report, ReportProp::Flush) = 1;
    EXPECT_EQ(listing.pages.recordCount(), 0u);
    CLOSE(listing.report);
    EXPECT_EQ(pdfPages(pdf("two.pdf")), 2);
    EXPECT_TRUE(filesLeft().isEmpty());
}

// Without a folder in the options, the page folders go where TMPDIR says, read when a report makes
// its folder; an option names another folder over it.
TEST_F(ReportTest, ThePageFolderIsTheOptionsFolderElseTmpdir) {
    const QString environment = temp_.filePath("from-environment");
    const QString option = temp_.filePath("from-options");
    ASSERT_TRUE(QDir().mkpath(environment));
    ASSERT_TRUE(QDir().mkpath(option));
    const QByteArray previousTmpdir = qgetenv("TMPDIR");
    qputenv("TMPDIR", environment.toLocal8Bit());
    const auto folderOfPages = [](const QString& pdfFile) {
        SampleListing listing;
        listing.preview(3, pdfFile);
        const std::vector<std::string> files = listing.pageFiles();
        const QString folder =
            files.empty() ? QString()
                          : QFileInfo(QString::fromStdString(files[0])).dir().absolutePath();
        CLOSE(listing.report);
        return folder;
    };
    usePageFolder(QString());
    const QString fromEnvironment = folderOfPages(pdf("a.pdf"));
    usePageFolder(option);
    const QString fromOption = folderOfPages(pdf("b.pdf"));
    qputenv("TMPDIR", previousTmpdir);
    EXPECT_EQ(QFileInfo(fromEnvironment).dir().absolutePath(), QDir(environment).absolutePath());
    EXPECT_TRUE(QFileInfo(fromEnvironment).fileName().startsWith("qpages-"));
    EXPECT_EQ(QFileInfo(fromOption).dir().absolutePath(), QDir(option).absolutePath());
    EXPECT_TRUE(filesLeft().isEmpty()) << filesLeft().join(",").toStdString();
}

TEST_F(ReportTest, APageFileThatCannotBeCreatedIsAReportedError) {
    usePageFolder(temp_.filePath("missing-folder"));
    SampleListing listing;
    listing.preview(6, pdf("none.pdf"));
    EXPECT_EQ(listing.report.pageError(), ErrorCode::kOperatingSystemBase + OsError::kFileNotFound);
    EXPECT_EQ(errorCode(), ErrorCode::kOperatingSystemBase + OsError::kFileNotFound);
    EXPECT_NE(errorFile().find("missing-folder"), std::string::npos);
    EXPECT_EQ(listing.report.failure(), "cannot make a folder for the page images in \"" +
                                            temp_.filePath("missing-folder").toStdString() +
                                            "\": No such file or directory");
    EXPECT_EQ(listing.pages.recordCount(), 0u);
    CLOSE(listing.report);
}

// The system's failure is posted in the runtime's numbering, as the file layer posts it: a
// temporary folder that is a file is "Path Not Found" (303), not 300 plus the system's ENOTDIR.
TEST_F(ReportTest, APageFolderFailurePostsTheRuntimesOperatingSystemNumber) {
    QFile plain(temp_.filePath("a-file"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    usePageFolder(plain.fileName());
    SampleListing listing;
    listing.preview(6, pdf("none.pdf"));
    EXPECT_EQ(listing.report.pageError(), ErrorCode::kOperatingSystemBase + OsError::kPathNotFound);
    EXPECT_EQ(errorCode(), 303);
    EXPECT_EQ(listing.report.failure(), "cannot make a folder for the page images in \"" +
                                            plain.fileName().toStdString() + "\": Not a directory");
    EXPECT_EQ(listing.pages.recordCount(), 0u);
    CLOSE(listing.report);
}

TEST_F(ReportTest, PrintingDirectlyGoesToThePrinterPageByPage) {
    SampleListing listing;
    listing.report.printToFile(pdf("direct.pdf"));
    OPEN(listing.report);
    for (int n = 1; n <= 6; ++n) {
        listing.setBook(n);
        PRINT(listing.report, kDetailBand);
    }
    ENDPAGE(listing.report);
    EXPECT_FALSE(listing.report.printFailed());
    CLOSE(listing.report);
    EXPECT_EQ(pdfPages(pdf("direct.pdf")), 2);
    EXPECT_TRUE(filesLeft().isEmpty());

    // A device that cannot be opened is error 524, once, and nothing is printed.
    listing.report.printToFile(temp_.filePath("no-such-folder/direct.pdf"));
    OPEN(listing.report);
    for (int n = 1; n <= 6; ++n)
        PRINT(listing.report, kDetailBand);
    ENDPAGE(listing.report);
    EXPECT_TRUE(listing.report.printFailed());
    EXPECT_EQ(errorCode(), 524);
    EXPECT_EQ(errorText().substr(0, 39), "Unexpected error opening printer device");
    CLOSE(listing.report);
}

TEST_F(ReportTest, WithoutAPrinterThePagesGoToTheFileNamedInPrintToFile) {
    ReportOptions noPrinter = reportOptions();
    noPrinter.defaultPrinter = [] { return QString(); };
    std::optional<ScopedReportOptions> withoutPrinter(std::in_place, noPrinter);
    std::string caption;
    QStringList filters;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        caption = dialog->windowTitle().toStdString();
        filters = dialog->nameFilters();
        dialog->selectFile(pdf("chosen"));
        static_cast<QDialog*>(dialog)->accept();
    });
    SampleListing listing;
    listing.preview(3, QString());
    PROP(listing.report, ReportProp::Flush) = 1;
    CLOSE(listing.report);
    withoutPrinter.reset();
    EXPECT_EQ(caption, "Print To File...");
    EXPECT_EQ(filters, QStringList({"PDF files (*.pdf)"}));
    EXPECT_EQ(pdfPages(pdf("chosen.pdf")), 1) << "the suffix added to a name typed without one";
}

TEST_F(ReportTest, MisusingReportsIsARuntimeError) {
    FatalCapture fatal;
    SampleListing listing;
    EXPECT_THROW(PRINT(listing.report, kDetailBand), ProgramEnded) << "not open";
    listing.report.printToFile(pdf("x.pdf"));
    OPEN(listing.report);
    EXPECT_THROW(OPEN(listing.report), ProgramEnded);
    EXPECT_EQ(fatal.reports().back(), "Report is already open");
    EXPECT_THROW(POST(listing.report, EVENT::Accepted, kDetailBand), ProgramEnded);
    EXPECT_EQ(fatal.reports().back(), "Event posted to a report control");
    Window window(WindowLayout{.module = "W", .structure = "W", .at = {0, 0, 50, 20}});
    EXPECT_THROW(PRINT(window, 1), ProgramEnded);
    EXPECT_EQ(fatal.reports().back(), "PRINT must only be called for reports");
    EXPECT_THROW(ENDPAGE(window), ProgramEnded);
    EXPECT_EQ(fatal.reports().back(), "ENDPAGE must only be called for reports");
    EXPECT_EQ(errorCode(), 539);
}

TEST_F(ReportTest, AFatalErrorStillDeletesThePageFiles) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The child process runs this test again, so the folder must have a name both can know.
    const QString base = qEnvironmentVariableIsEmpty("TMPDIR") ? QStringLiteral("/tmp")
                                                               : qEnvironmentVariable("TMPDIR");
    const QString folder = base + "/quillery-fatal-end-pages";
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    usePageFolder(folder);
    // The child ends through exit() with the application object still standing; what the
    // toolkit holds then is not a leak to report.
    const QByteArray sanitizerOptions = qgetenv("ASAN_OPTIONS");
    qputenv("ASAN_OPTIONS",
            sanitizerOptions + (sanitizerOptions.isEmpty() ? "" : ":") + "detect_leaks=0");
    EXPECT_EXIT(
        {
            SampleListing listing;
            listing.preview(11, QDir(folder).filePath("x.pdf"));
            std::fprintf(stderr, "%zu page files\n", listing.pageFiles().size());
            fatalError("stop");
        },
        ::testing::ExitedWithCode(kFatalExitCode), "3 page files");
    qputenv("ASAN_OPTIONS", sanitizerOptions);
    EXPECT_TRUE(QDir(folder).entryList({"QRP*", "qpages-*"}, QDir::AllEntries).isEmpty());
    QDir(folder).removeRecursively();
}

}  // namespace
}  // namespace quillery::testing
