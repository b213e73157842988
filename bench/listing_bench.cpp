// A listing of 32,000 generated books: the listing built behind its progress window until the
// first preview page shows, paging through a grid of thumbnails, and the same listing printed to
// a PDF file from the command line, each in wall-clock and processor time, with the size of the
// page image files. Beside them, SQLite reads the same books in the same order, the data work
// under every listing, and the figures measured before the listings were made faster. Prints
// them; nothing is asserted.
#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/catalogue_globals.h"
#include "app/testing/catalogue_generator.h"
#include "app/tools/catalogue_store.h"
#include "app/tools/print_listing_command.h"
#include "app/tools/tool_commands.h"
#include "app/tools/tool_run.h"
#include "app/window/program_start.h"
#include "bench/sqlite_catalogue.h"
#include "bench/window_bench_setup.h"
#include "reports/listings.h"
#include "reports/report_preview.h"
#include "runtime/window/testing/test_driver.h"

namespace {

using namespace quillery;
using namespace quillery::bench;
using namespace quillery::script;
namespace fs = std::filesystem;
namespace R = reportpreview;

constexpr std::size_t kEntries = 32000;
constexpr int kPagings = 10;
using Clock = std::chrono::steady_clock;

// Figures of the same bench before the listings were made faster (2 cores, one other busy
// process): to the first preview page and to the PDF, in ms.
constexpr double kEarlierFirstPage = 5200;
constexpr double kEarlierPdf = 21800;

double since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Processor time of the whole process so far, user and system, in ms.
double processorMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// The bytes of the page image files in the temporary folder.
double pageFileBytes() {
    double bytes = 0;
    QDirIterator it(QDir::tempPath(), {"QRP*.TMP"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        bytes += static_cast<double>(it.fileInfo().size());
    }
    return bytes;
}

struct Figures {
    double firstPage = 0, firstPageCpu = 0, paging = 0, pdf = 0, pdfCpu = 0, pageBytes = 0;
    std::size_t pages = 0;
};

// The author listing in its windows: built to its end, then the grid of 4 by 3 thumbnails paged
// forward `kPagings` times.
void runWindowed(const fs::path& catalogue, Figures& f) {
    Clock::time_point start;
    double startCpu = 0;
    ScriptedSession s;
    s.then(runTimers().in("AUTHORREPORT$PROGRESSWINDOW"))
        .then(inspect("first page",
                      [&](Window&) {
                          f.firstPage = since(start);
                          f.firstPageCpu = processorMs() - startCpu;
                          f.pageBytes = pageFileBytes();
                          f.pages = static_cast<std::size_t>(
                              PROP(R::CURRENTPAGE, Prop::RangeHigh).number());
                      })
                  .in("REPORTPREVIEW$WINDOW"))
        .then(spin(R::PAGESACROSS, 3))
        .then(spin(R::PAGESDOWN, 2))
        .then(inspect("paging", [&](Window&) { start = Clock::now(); }));
    for (int i = 0; i < kPagings; ++i)
        s.then(menu(R::NEXT));
    s.then(inspect("paged", [&](Window&) {
         f.paging = since(start) / kPagings;
     })).then(menu(R::EXIT));
    initialiseGlobals();
    QUILLERYFILE = catalogue.string();
    start = Clock::now();
    startCpu = processorMs();
    AUTHORREPORT();
    if (!s.done())
        std::fprintf(stderr, "listing_bench: the script stopped:\n%s", s.report().c_str());
}

void runCommandLine(const fs::path& catalogue, const fs::path& pdf, Figures& f) {
    tools::setPrintCommand(tools::printListingCommand);
    const auto store = tools::makeCatalogueStore();
    const std::string file = catalogue.string(), out = pdf.string();
    const std::vector<std::string_view> args = {"print", "--listing", "author", "--pdf", out, file};
    std::istringstream in;
    std::ostringstream output, errors;
    const double startCpu = processorMs();
    f.pdf = millisecondsOf([&] {
        if (tools::runQuilleryData(args, *store, in, output, errors, {80000, 1}) != 0)
            std::fprintf(stderr, "listing_bench: %s", errors.str().c_str());
    });
    f.pdfCpu = processorMs() - startCpu;
}

double sqliteAuthorOrder(const fs::path& path, const std::vector<QuilleryRecord>& records) {
    Sql sql(path);
    sql.exec(kSchema);
    insertBooks(sql, records);
    std::size_t rows = 0;
    const double ms = millisecondsOf([&] {
        sqlite3_stmt* byAuthor = sql.prepare(std::string("SELECT ") + kColumns +
                                             " FROM books WHERE deleted = 0 AND lastname <> '' "
                                             "ORDER BY lastname COLLATE NOCASE");
        while (sqlite3_step(byAuthor) == SQLITE_ROW)
            rows += rowOf(byAuthor).LASTNAME.data[0] != ' ';
        sqlite3_finalize(byAuthor);
    });
    return rows > 0 ? ms : 0;
}

}  // namespace

int main(int argc, char** argv) {
    prepareOffscreen();
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    const fs::path dir = freshFolder("quillery-listing-bench");
    const std::vector<QuilleryRecord> records = currentEntries(kEntries);
    writeCatalogue(dir / "Bench.QLY", records);

    Figures f;
    runWindowed(dir / "Bench.QLY", f);
    runCommandLine(dir / "Bench.QLY", dir / "author.pdf", f);
    const double sqlite = sqliteAuthorOrder(dir / "bench.sqlite", records);
    std::printf("author listing of %zu generated books, %zu pages (ms)\n", records.size(), f.pages);
    std::printf("%-52s %10s %10s %10s\n", "", "wall", "processor", "earlier");
    std::printf("%-52s %10.1f %10.1f %10.1f\n",
                "built behind the progress window to the first page", f.firstPage, f.firstPageCpu,
                kEarlierFirstPage);
    std::printf("%-52s %10.1f\n", "one step through a grid of 12 thumbnails", f.paging);
    std::printf("%-52s %10.1f %10.1f %10.1f\n", "printed to a PDF from the command line", f.pdf,
                f.pdfCpu, kEarlierPdf);
    std::printf("%-52s %10.1f\n", "sqlite: the same books read in author order", sqlite);
    std::printf("page image files at the first preview page: %.1f MB, %.1f MB per 1,000 pages\n",
                f.pageBytes / 1e6, f.pages > 0 ? f.pageBytes / 1e6 * 1000.0 / f.pages : 0.0);
    fs::remove_all(dir);
    return 0;
}
