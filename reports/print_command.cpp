// The command-line print. It opens the catalogue read-only and never creates it, reads the
// listing's key to the end and sends the pages to the printer or the PDF named; the page image
// files are copied out first when asked for.
#include "reports/print_command.h"

#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrinterInfo>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <ostream>

#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "reports/listing_report.h"
#include "reports/listing_table.h"
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

// The report engine draws with Qt, which needs an application object; a command-line run has
// no screen, so it draws offscreen unless told otherwise.
std::unique_ptr<QApplication> applicationIfNeeded() {
    if (QCoreApplication::instance() != nullptr) return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "quillery-data";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QApplication>(argc, argv);
}

// Closes the catalogue however the command ends.
struct OpenCatalogue {
    ~OpenCatalogue() { CLOSE(QUILLERY); }
};

std::string pageFileName(std::size_t page) {
    char name[32];
    std::snprintf(name, sizeof name, "page-%04zu.wmf", page);
    return name;
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
    const auto app = applicationIfNeeded();
    // Without a printer the pages would wait for a file name nobody at a terminal can give.
    if (args.pdf.empty() && QPrinterInfo::defaultPrinterName().isEmpty())
        return fail(context, "no printer is set up; name a PDF file to write with --pdf");
    QUILLERYFILE = args.file;
    OPEN(QUILLERY, kReadOnlyShared);
    if (errorCode() != 0)
        return fail(context, "cannot open catalogue \"" + args.file + "\": " + errorText());
    OpenCatalogue closeAtEnd;

    const ListingSpec& spec = listingTable()[*listing];
    ListingReport listingReport(*listing);
    Report& report = listingReport.report();
    if (!args.pdf.empty()) report.printToFile(QString::fromStdString(args.pdf));
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
        if (books++ == 0) listingReport.open();
        listingReport.printBook();
    }
    if (terminal) context.err << "\r\033[K" << std::flush;
    if (errorCode() != ErrorCode::kRecordNotAvailable)
        return fail(context, "cannot read catalogue \"" + args.file + "\": " + errorText());
    if (books == 0) {
        context.out << "The listing is empty; nothing was printed.\n";
        return kOk;
    }
    listingReport.end();
    if (report.pageError() != 0) {
        CLOSE(report);
        return fail(context, "the page images could not be written: " + errorText());
    }
    if (!args.pagesDir.empty()) {
        const QDir dir(QString::fromStdString(args.pagesDir));
        if (!dir.mkpath(".")) {
            CLOSE(report);
            return fail(context, "cannot create the folder \"" + args.pagesDir + "\"");
        }
        const std::vector<std::string> files = listingReport.pages().pageFiles();
        for (std::size_t page = 1; page <= files.size(); ++page) {
            const QString target = dir.filePath(QString::fromStdString(pageFileName(page)));
            QFile::remove(target);
            if (!QFile::copy(QString::fromStdString(files[page - 1]), target)) {
                CLOSE(report);
                return fail(context, "cannot write \"" + target.toStdString() + "\"");
            }
        }
    }
    const int pages = report.pageCount();
    PROP(report, ReportProp::Flush) = 1;
    const bool printed = !report.printFailed();
    CLOSE(report);
    if (!printed) return fail(context, "the pages could not be printed: " + errorText());
    context.out << pages << (pages == 1 ? " page" : " pages") << " of the " << spec.toolName
                << " listing" << (args.pdf.empty() ? " printed" : " written to " + args.pdf)
                << "\n";
    return kOk;
}

}  // namespace quillery
