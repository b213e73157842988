// The headless print. It opens the catalogue read-only and never creates it, reads the
// listing's key to the end and sends the pages to the printer or the PDF named as they are
// composed; when the page image files are asked for, they are made and copied out first. Every
// failure is said in words naming the file and the reason; the toolkit's own warnings never
// reach the terminal.
#include "reports/print_listing.h"

#include <QApplication>
#include <QPrinterInfo>
#include <csignal>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>

#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "report_engine/page_files.h"
#include "report_engine/pdf_output.h"
#include "reports/listing_report.h"
#include "reports/listing_table.h"
#include "reports/page_folder_copy.h"
#include "reports/quiet_toolkit.h"
#include "runtime/errors.h"
#include "storage/access_mode.h"
#include "storage/file_statements.h"

namespace quillery {

namespace {

// Read-only, and others may go on reading and writing the catalogue meanwhile.
constexpr int kReadOnlyShared = storage::AccessMode::kDenyNone;

PrintResult fail(std::string message, PrintOutcome outcome = PrintOutcome::Failed) {
    return {outcome, std::move(message)};
}

// Closes the catalogue however the command ends.
struct OpenCatalogue {
    ~OpenCatalogue() { CLOSE(QUILLERY); }
};

// The PDF named may be written: it is not the catalogue, and not a file of another kind unless
// --replace allows it. Checked before the catalogue is read, so a refusal costs nothing.
std::string pdfRefusal(const PrintRequest& request) {
    report::PdfOutput output;
    output.protect(request.catalogue);
    output.allowReplacingAnyFile(request.replaceAnyFile);
    return output.mayWrite(request.pdf) ? std::string() : output.failure();
}

}  // namespace

PrintResult printListing(const PrintRequest& request) {
    const auto number = listingNamed(request.listing);
    if (!number) {
        return fail("unknown listing \"" + request.listing +
                        "\"; the listings are author, title, location, category, rating, "
                        "condition, value, isbn, edition, pubdate, buydate, printdate, other",
                    PrintOutcome::UnknownListing);
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(request.catalogue, ec))
        return fail("cannot open catalogue \"" + request.catalogue + "\": no such file");
    if (!request.pdf.empty()) {
        if (const std::string refusal = pdfRefusal(request); !refusal.empty()) return fail(refusal);
    }
    // A file bigger than the process may write is a failed write, not a killed program.
    std::signal(SIGXFSZ, SIG_IGN);
    QuietToolkit quiet;
    const auto app = applicationIfNeeded();
    report::removeAbandonedPageFolders();
    // Without a printer the pages would wait for a file name nobody at a terminal can give.
    if (request.pdf.empty() && QPrinterInfo::defaultPrinterName().isEmpty())
        return fail("no printer is set up; name a PDF file to write with --pdf");
    QUILLERYFILE = request.catalogue;
    OPEN(QUILLERY, kReadOnlyShared);
    if (errorCode() != 0)
        return fail("cannot open catalogue \"" + request.catalogue + "\": " + errorText());
    OpenCatalogue closeAtEnd;

    const Listing& listing = listingTable()[*number];
    std::optional<PageFolderCopy> pagesCopy;
    if (!request.pagesDir.empty()) {
        pagesCopy.emplace(request.pagesDir);
        if (!pagesCopy->prepare()) return fail(pagesCopy->failure());
    }
    ListingReport listingReport(*number);
    Report& report = listingReport.report();
    if (!request.pdf.empty()) report.printToFile(QString::fromStdString(request.pdf));
    report.protectFile(request.catalogue);
    report.allowReplacingAnyFile(request.replaceAnyFile);
    const std::uint32_t records = RECORDS(QUILLERY);
    std::uint32_t read = 0;
    std::size_t books = 0;
    SET(keyOf(QUILLERY, listing.key));
    for (NEXT(QUILLERY); errorCode() == 0; NEXT(QUILLERY)) {
        ++read;
        if (request.progress && read % 100 == 0)
            *request.progress << "\rquillery-data: " << read << " of " << records << " records read"
                              << std::flush;
        if (!isListed(QLY)) continue;
        // Page image files are made only when they are kept; otherwise each page goes to the
        // printer as soon as it is composed.
        if (books++ == 0) listingReport.open(pagesCopy.has_value());
        listingReport.printBook();
        if (report.pageError() != 0 || report.printFailed()) break;
    }
    if (request.progress) *request.progress << "\r\033[K" << std::flush;
    if (report.pageError() != 0 || report.printFailed()) {
        const std::string why = report.failure();
        CLOSE(report);
        return fail(why);
    }
    if (errorCode() != ErrorCode::kRecordNotAvailable)
        return fail("cannot read catalogue \"" + request.catalogue + "\": " + errorText());
    if (books == 0) {
        return {PrintOutcome::Done, nothingToPrintText(listing)};
    }
    listingReport.end();
    if (report.pageError() != 0 || report.printFailed()) {
        const std::string why = report.failure();
        CLOSE(report);
        return fail(why);
    }
    if (pagesCopy && !pagesCopy->copy(listingReport.pages().pageFiles())) {
        CLOSE(report);
        return fail(pagesCopy->failure());
    }
    const int pages = report.pageCount();
    PROP(report, ReportProp::Flush) = 1;
    CLOSE(report);
    if (report.printFailed()) {
        if (pagesCopy) pagesCopy->removeWritten();
        const std::string why = report.failure();
        return fail(why.empty() ? "the pages could not be printed" : why);
    }
    return {PrintOutcome::Done,
            std::to_string(pages) + (pages == 1 ? " page" : " pages") + " of the " +
                std::string(listing.toolName) + " listing" +
                (request.pdf.empty() ? " printed" : " written to " + request.pdf)};
}

}  // namespace quillery
