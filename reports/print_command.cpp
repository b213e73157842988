// The command-line print. It opens the catalogue read-only and never creates it, reads the
// listing's key to the end and sends the pages to the printer or the PDF named as they are
// composed; when the page image files are asked for, they are made and copied out first. Every
// failure is said in words naming the file and the reason, with exit status 3; the toolkit's own
// warnings never reach the terminal.
#include "reports/print_command.h"

#include <unistd.h>

#include <QApplication>
#include <QPrinterInfo>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <memory>
#include <ostream>

#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "report_engine/page_files.h"
#include "report_engine/pdf_output.h"
#include "reports/listing_report.h"
#include "reports/listing_table.h"
#include "reports/page_folder_copy.h"
#include "reports/quiet_toolkit.h"
#include "runtime/errors.h"
#include "storage/file_statements.h"

namespace quillery {

namespace {

using tools::ExitStatus::kFailed;
using tools::ExitStatus::kOk;
using tools::ExitStatus::kUsage;

constexpr int kReadOnlyShared = 0x40;

int fail(tools::ToolContext& context, const std::string& message, int status = kFailed) {
    context.err << "quillery-data: " << message << "\n";
    return status;
}

// Closes the catalogue however the command ends.
struct OpenCatalogue {
    ~OpenCatalogue() { CLOSE(QUILLERY); }
};

// The PDF named may be written: it is not the catalogue, and not a file of another kind unless
// --replace allows it. Checked before the catalogue is read, so a refusal costs nothing.
std::string pdfRefusal(const tools::ToolArguments& args) {
    report::PdfOutput output;
    output.protect(args.file);
    output.allowReplacingAnyFile(args.replace);
    return output.mayWrite(args.pdf) ? std::string() : output.failure();
}

}  // namespace

int printListingCommand(const tools::ToolArguments& args, tools::ToolContext& context) {
    const auto listing = listingNamed(args.listing);
    if (!listing) {
        return fail(context,
                    "unknown listing \"" + args.listing +
                        "\"; the listings are author, title, location, category, rating, "
                        "condition, value, isbn, edition, pubdate, buydate, printdate, other",
                    kUsage);
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(args.file, ec))
        return fail(context, "cannot open catalogue \"" + args.file + "\": no such file");
    if (!args.pdf.empty()) {
        if (const std::string refusal = pdfRefusal(args); !refusal.empty())
            return fail(context, refusal);
    }
    // A file bigger than the process may write is a failed write, not a killed program.
    std::signal(SIGXFSZ, SIG_IGN);
    QuietToolkit quiet;
    const auto app = applicationIfNeeded();
    report::removeAbandonedPageFolders();
    // Without a printer the pages would wait for a file name nobody at a terminal can give.
    if (args.pdf.empty() && QPrinterInfo::defaultPrinterName().isEmpty())
        return fail(context, "no printer is set up; name a PDF file to write with --pdf");
    QUILLERYFILE = args.file;
    OPEN(QUILLERY, kReadOnlyShared);
    if (errorCode() != 0)
        return fail(context, "cannot open catalogue \"" + args.file + "\": " + errorText());
    OpenCatalogue closeAtEnd;

    const ListingSpec& spec = listingTable()[*listing];
    std::optional<PageFolderCopy> pagesCopy;
    if (!args.pagesDir.empty()) {
        pagesCopy.emplace(args.pagesDir);
        if (!pagesCopy->prepare()) return fail(context, pagesCopy->failure());
    }
    ListingReport listingReport(*listing);
    Report& report = listingReport.report();
    if (!args.pdf.empty()) report.printToFile(QString::fromStdString(args.pdf));
    report.protectFile(args.file);
    report.allowReplacingAnyFile(args.replace);
    const std::uint32_t records = RECORDS(QUILLERY);
    const bool terminal = isatty(STDERR_FILENO) != 0 && &context.err == &std::cerr;
    std::uint32_t read = 0;
    std::size_t books = 0;
    SET(keyOf(QUILLERY, spec.key));
    for (NEXT(QUILLERY); errorCode() == 0; NEXT(QUILLERY)) {
        ++read;
        if (terminal && read % 100 == 0)
            context.err << "\rquillery-data: " << read << " of " << records << " records read"
                        << std::flush;
        if (!isListed(QLY)) continue;
        // Page image files are made only when they are kept; otherwise each page goes to the
        // printer as soon as it is composed.
        if (books++ == 0) listingReport.open(pagesCopy.has_value());
        listingReport.printBook();
        if (report.pageError() != 0 || report.printFailed()) break;
    }
    if (terminal) context.err << "\r\033[K" << std::flush;
    if (report.pageError() != 0 || report.printFailed()) {
        const std::string why = report.failure();
        CLOSE(report);
        return fail(context, why);
    }
    if (errorCode() != ErrorCode::kRecordNotAvailable)
        return fail(context, "cannot read catalogue \"" + args.file + "\": " + errorText());
    if (books == 0) {
        context.out << nothingToPrintText(spec) << "\n";
        return kOk;
    }
    listingReport.end();
    if (report.pageError() != 0 || report.printFailed()) {
        const std::string why = report.failure();
        CLOSE(report);
        return fail(context, why);
    }
    if (pagesCopy && !pagesCopy->copy(listingReport.pages().pageFiles())) {
        CLOSE(report);
        return fail(context, pagesCopy->failure());
    }
    const int pages = report.pageCount();
    PROP(report, ReportProp::Flush) = 1;
    CLOSE(report);
    if (report.printFailed()) {
        if (pagesCopy) pagesCopy->removeWritten();
        const std::string why = report.failure();
        return fail(context, why.empty() ? "the pages could not be printed" : why);
    }
    context.out << pages << (pages == 1 ? " page" : " pages") << " of the " << spec.toolName
                << " listing" << (args.pdf.empty() ? " printed" : " written to " + args.pdf)
                << "\n";
    return kOk;
}

}  // namespace quillery
