// quillery-data print: every listing to a PDF whose pages carry the books in key order, the page
// image files kept when asked, and a catalogue that cannot be opened refused, writing nothing.
#include <sys/resource.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPrinterInfo>
#include <QProcess>
#include <QThread>
#include <sstream>

#include "app/tools/print_listing_command.h"
#include "app/tools/tool_run.h"
#include "reports/listing_table.h"
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
        tools::setPrintCommand(tools::printListingCommand);
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
    for (const Listing& listing : listingTable()) {
        SCOPED_TRACE(std::string(listing.toolName));
        const std::string pdf = path(std::string(listing.toolName) + ".pdf");
        ASSERT_EQ(
            run({"print", "--listing", std::string(listing.toolName), "--pdf", pdf, path("C.QLY")}),
            0)
            << err_.str();
        const std::vector<std::string> pages = pdfPages(pdf);
        ASSERT_EQ(pages.size(), 5u);  // 25 books
        for (std::size_t p = 0; p < pages.size(); ++p) {
            EXPECT_NE(pages[p].find(std::string(listing.subtitle)), std::string::npos);
            EXPECT_NE(pages[p].find("Page " + std::to_string(p + 1)), std::string::npos);
        }
        std::string all;
        for (const std::string& page : pages)
            all += page;
        EXPECT_EQ(all.find("Author004"), std::string::npos);
        if (listing.key == QuilleryKey::AUTHORKEY) {
            EXPECT_LT(all.find("Author001"), all.find("Author002"));
            EXPECT_LT(all.find("Author025"), all.find("Author026"));
        }
        if (listing.key == QuilleryKey::TITLEKEYKEY) {  // titles run backwards with the authors
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

// A file-size limit stands in for a full disk: writes past it fail as they would on one.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        struct rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &previous_); }

  private:
    struct rlimit previous_ {};
};

QByteArray contentsOf(const std::string& file) {
    QFile f(QString::fromStdString(file));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

TEST_F(PrintCommandTest, AFailedWriteLeavesNoBrokenPdfAndNoPartialPages) {
    useCatalogue(numberedBooks(300));
    // An earlier PDF of the same name stays as it was.
    QFile earlier(QString::fromStdString(path("out.pdf")));
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("%PDF-1.4 earlier");
    earlier.close();
    const auto printWithLimit = [&](rlim_t bytes, std::vector<std::string> words) {
        FileSizeLimit disk(bytes);
        return run(std::move(words));
    };
    // Room for each page image, not for the PDF of 60 pages.
    EXPECT_EQ(printWithLimit(150 * 1024, {"print", "--listing", "author", "--pdf", path("out.pdf"),
                                          path("C.QLY")}),
              3);
    EXPECT_EQ(err_.str(),
              "quillery-data: cannot write the PDF \"" + path("out.pdf") + "\": File too large\n");
    EXPECT_EQ(out_.str(), "");
    EXPECT_EQ(contentsOf(path("out.pdf")), "%PDF-1.4 earlier");
    EXPECT_EQ(QDir(QString::fromStdString(path(""))).entryList(QDir::Files | QDir::Hidden),
              QStringList({"C.QLY", "out.pdf"}));
    EXPECT_TRUE(temporaryFiles().isEmpty()) << temporaryFiles().join(",").toStdString();

    // No room for a page image: said with the file's name, and nothing left in TMPDIR.
    EXPECT_EQ(printWithLimit(8 * 1024, {"print", "--listing", "author", "--pdf", path("out.pdf"),
                                        "--pages", path("kept"), path("C.QLY")}),
              3);
    EXPECT_TRUE(QDir(QString::fromStdString(path("kept"))).isEmpty());
    EXPECT_TRUE(err_.str().starts_with("quillery-data: cannot write the page image \"" +
                                       temp_.path().toStdString() + "/qpages-"))
        << err_.str();
    EXPECT_TRUE(err_.str().ends_with("/QRP0001.TMP\": File too large\n")) << err_.str();
    EXPECT_EQ(contentsOf(path("out.pdf")), "%PDF-1.4 earlier");
    EXPECT_TRUE(temporaryFiles().isEmpty()) << temporaryFiles().join(",").toStdString();

    // A page that cannot be copied out: the pages copied before it go again.
    const QDir pages(QString::fromStdString(path("pages")));
    ASSERT_TRUE(pages.mkpath("page-0002.wmf"));
    EXPECT_EQ(run({"print", "--listing", "author", "--pdf", path("pages.pdf"), "--pages",
                   path("pages"), path("C.QLY")}),
              3);
    EXPECT_EQ(err_.str(), "quillery-data: cannot write the page image \"" +
                              path("pages/page-0002.wmf") + "\": Is a directory\n");
    EXPECT_EQ(pages.entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"page-0002.wmf"}));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("pages.pdf"))));
    EXPECT_TRUE(temporaryFiles().isEmpty()) << temporaryFiles().join(",").toStdString();

    // A device that takes nothing is not a file to replace.
    if (QFileInfo("/dev/full").exists()) {
        EXPECT_EQ(
            run({"print", "--listing", "author", "--pdf", "/dev/full", "--replace", path("C.QLY")}),
            3);
        EXPECT_EQ(err_.str(),
                  "quillery-data: cannot write the PDF \"/dev/full\": it is not a regular file\n");
    }
    // A folder that is not there, named with the reason.
    EXPECT_EQ(run({"print", "--listing", "author", "--pdf", path("none/x.pdf"), path("C.QLY")}), 3);
    EXPECT_EQ(err_.str(), "quillery-data: cannot write the PDF \"" + path("none/x.pdf") +
                              "\": No such file or directory\n");
}

TEST_F(PrintCommandTest, TheCatalogueAndFilesThatAreNotPdfsAreNeverOverwritten) {
    useCatalogue(numberedBooks(3));
    const QByteArray catalogue = contentsOf(path("C.QLY"));
    ASSERT_TRUE(QFile::link(QString::fromStdString(path("C.QLY")),
                            QString::fromStdString(path("link.pdf"))));
    for (const std::string& name : {path("C.QLY"), path("link.pdf")}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(run({"print", "--listing", "author", "--pdf", name, "--replace", path("C.QLY")}),
                  3);
        EXPECT_EQ(err_.str(), "quillery-data: cannot write the PDF \"" + name +
                                  "\": it is the catalogue being printed; name another file\n");
        EXPECT_EQ(contentsOf(path("C.QLY")), catalogue);
    }
    QFile notes(QString::fromStdString(path("notes.txt")));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("my notes");
    notes.close();
    EXPECT_EQ(run({"print", "--listing", "author", "--pdf", path("notes.txt"), path("C.QLY")}), 3);
    EXPECT_EQ(err_.str(), "quillery-data: cannot write the PDF \"" + path("notes.txt") +
                              "\": the file exists and is not a PDF, so it is not replaced\n");
    EXPECT_EQ(contentsOf(path("notes.txt")), "my notes");
    EXPECT_EQ(run({"print", "--listing", "author", "--pdf", path("notes.txt"), "--replace",
                   path("C.QLY")}),
              0)
        << err_.str();
    EXPECT_EQ(pdfPages(path("notes.txt")).size(), 1u);
    // An existing PDF is replaced with the new one.
    EXPECT_EQ(run({"print", "--listing", "title", "--pdf", path("notes.txt"), path("C.QLY")}), 0);
    EXPECT_NE(pdfPages(path("notes.txt")).at(0).find("- By Title"), std::string::npos);
}

TEST_F(PrintCommandTest, PagesReplaceAnEarlierRunsAndAFolderWithOtherFilesIsRefused) {
    useCatalogue(numberedBooks(8));
    const QDir pages(QString::fromStdString(path("pages")));
    ASSERT_TRUE(pages.mkpath("."));
    for (int page = 1; page <= 60; ++page) {
        QFile stale(pages.filePath(QString::asprintf("page-%04d.wmf", page)));
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    }
    ASSERT_EQ(run({"print", "--listing", "author", "--pdf", path("a.pdf"), "--pages", path("pages"),
                   path("C.QLY")}),
              0)
        << err_.str();
    EXPECT_EQ(pages.entryList(QDir::Files), QStringList({"page-0001.wmf", "page-0002.wmf"}));
    const auto second = pageTexts(path("pages/page-0002.wmf"));
    EXPECT_NE(std::find(second.begin(), second.end(), "Author008"), second.end());

    QFile other(pages.filePath("notes.txt"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    EXPECT_EQ(run({"print", "--listing", "author", "--pdf", path("b.pdf"), "--pages", path("pages"),
                   path("C.QLY")}),
              3);
    EXPECT_NE(err_.str().find("holds \"notes.txt\", which is not a page image"), std::string::npos)
        << err_.str();
    EXPECT_EQ(pages.entryList(QDir::Files).size(), 3);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path("b.pdf"))));
}

#ifdef QUILLERY_DATA_PROGRAM
TEST_F(PrintCommandTest, AnInterruptedPrintLeavesNothingBehind) {
    useCatalogue(numberedBooks(3000));
    for (const char* signal : {"TERM", "INT", "HUP"}) {
        SCOPED_TRACE(signal);
        QProcess print;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TMPDIR", temp_.path());
        environment.remove("XDG_RUNTIME_DIR");
        print.setProcessEnvironment(environment);
        print.start(QUILLERY_DATA_PROGRAM,
                    {"print", "--listing", "author", "--pdf", QString::fromStdString(path("x.pdf")),
                     QString::fromStdString(path("C.QLY"))});
        ASSERT_TRUE(print.waitForStarted());
        // Until the PDF is being written.
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 20000 && print.state() == QProcess::Running &&
               QDir(folder_.path()).entryList({".x.pdf.*"}, QDir::Files | QDir::Hidden).isEmpty())
            QThread::msleep(5);
        ASSERT_EQ(print.state(), QProcess::Running) << "finished before it could be stopped";
        QProcess::execute("kill", {QString("-") + signal, QString::number(print.processId())});
        ASSERT_TRUE(print.waitForFinished(20000));
        EXPECT_EQ(print.exitStatus(), QProcess::CrashExit);
        EXPECT_TRUE(temporaryFiles().isEmpty()) << temporaryFiles().join(",").toStdString();
        EXPECT_EQ(QDir(QString::fromStdString(path(""))).entryList(QDir::Files | QDir::Hidden),
                  QStringList({"C.QLY"}));
    }
}
#endif

}  // namespace
}  // namespace quillery::testing
