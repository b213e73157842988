// Test helpers for the listings.
#include "tests/reports/listing_support.h"

#include <QProcess>
#include <cstdio>
#include <cstdlib>

#include "support/request_globals.h"

namespace quillery::testing {

QuilleryRecord numberedBook(int n) {
    char last[16];
    char title[32];
    std::snprintf(last, sizeof last, "Author%03d", n);
    std::snprintf(title, sizeof title, "Title %03d", 1000 - n);
    QuilleryRecord r = book(last, "Ann", title, "Fiction");
    r.ISBN = "ISBN" + std::to_string(n);
    return r;
}

std::vector<QuilleryRecord> numberedBooks(int count) {
    std::vector<QuilleryRecord> books;
    for (int n = 1; n <= count; ++n)
        books.push_back(numberedBook(n));
    return books;
}

std::vector<std::string> pdfPages(const std::string& pdf) {
    QProcess process;
    process.start("pdftotext", {QString::fromStdString(pdf), "-"});
    if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
    std::vector<std::string> pages;
    // Each page ends with a form feed; runs of blanks and line ends read as one blank.
    for (const QByteArray& page : process.readAllStandardOutput().split('\f'))
        if (!page.trimmed().isEmpty()) pages.push_back(page.simplified().toStdString());
    return pages;
}

void ListingTest::SetUp() {
    ASSERT_TRUE(folder_.isValid());
    ASSERT_TRUE(temp_.isValid());
    previousDir_ = QDir::currentPath();
    QDir::setCurrent(folder_.path());
    usePageFolder(temp_.path());
    initialiseGlobals();
    QUILLERY_USED = 0;
}

void ListingTest::TearDown() {
    QDir::setCurrent(previousDir_);
    pageFolder_.reset();
}

void ListingTest::usePageFolder(const QString& folder) {
    pageFolder_.reset();  // the options before the test, which the new scope puts back
    ReportOptions options = reportOptions();
    options.temporaryFolder = folder;
    pageFolder_.emplace(options);
}

void ListingTest::useCatalogue(const std::vector<QuilleryRecord>& books) {
    writeCatalogue(path("C.QLY"), books);
    QUILLERYFILE = path("C.QLY");
}

QStringList ListingTest::temporaryFiles() const {
    // Page files and the folders that hold them.
    return QDir(temp_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

std::string ListingTest::path(const std::string& name) const {
    return (folder_.path() + "/" + QString::fromStdString(name)).toStdString();
}

}  // namespace quillery::testing
