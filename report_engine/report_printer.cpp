// Selecting the printer and running print jobs.
#include "report_engine/report_printer.h"

#include <QFile>
#include <QPrinterInfo>
#include <utility>

#include "runtime/window/file_dialog.h"

namespace quillery {
namespace {

DefaultPrinterLookup& lookup() {
    static DefaultPrinterLookup installed = [] { return QPrinterInfo::defaultPrinterName(); };
    return installed;
}

}  // namespace

DefaultPrinterLookup setDefaultPrinterLookup(DefaultPrinterLookup next) {
    if (!next) next = [] { return QPrinterInfo::defaultPrinterName(); };
    return std::exchange(lookup(), std::move(next));
}

ReportPrinter::ReportPrinter(const QString& pdfFile) {
    const QString systemPrinter = pdfFile.isEmpty() ? lookup()() : QString();
    if (!systemPrinter.isEmpty()) {
        printer_ = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(systemPrinter),
                                              QPrinter::HighResolution);
    } else {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setOutputFileName(pdfFile);
        needsFileName_ = pdfFile.isEmpty();
    }
}

ReportPrinter::~ReportPrinter() {
    endJob();
}

report::PageGeometry ReportPrinter::geometry() const {
    if (!printer_->isValid()) return {};
    const int dpiX = printer_->logicalDpiX();
    const int dpiY = printer_->logicalDpiY();
    const QRect paint = printer_->pageLayout().paintRectPixels(printer_->resolution());
    const QRect full = printer_->pageLayout().fullRectPixels(printer_->resolution());
    // The page layout counts in the printer's resolution; the device may count in others.
    const double sx = static_cast<double>(dpiX) / printer_->resolution();
    const double sy = static_cast<double>(dpiY) / printer_->resolution();
    report::PrinterPage page;
    page.dotsPerInchX = dpiX;
    page.dotsPerInchY = dpiY;
    page.printableWidthDots = static_cast<int>(paint.width() * sx);
    page.printableHeightDots = static_cast<int>(paint.height() * sy);
    page.marginLeftDots = static_cast<int>((paint.left() - full.left()) * sx);
    page.marginTopDots = static_cast<int>((paint.top() - full.top()) * sy);
    const report::PageGeometry g = report::pageGeometryOf(page);
    return g.valid() ? g : report::PageGeometry{};
}

bool ReportPrinter::startJob(const QString& documentName) {
    if (painter_) return true;
    if (needsFileName_) {
        const auto file = FILEDIALOG(kPrintToFileCaption, FileDialogMode::Save, kPrintToFileFilter);
        if (!file) return false;
        printer_->setOutputFileName(QFile::decodeName(file->c_str()));
        needsFileName_ = false;
    }
    printer_->setDocName(documentName);
    printer_->setCreator(QStringLiteral("Quillery"));
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(printer_.get())) return false;
    painter_ = std::move(painter);
    pagesStarted_ = 0;
    return true;
}

QPainter& ReportPrinter::startPage() {
    if (pagesStarted_++ > 0) printer_->newPage();
    return *painter_;
}

void ReportPrinter::endJob() {
    if (!painter_) return;
    painter_->end();
    painter_.reset();
}

QString ReportPrinter::outputFile() const {
    return printer_->outputFileName();
}

}  // namespace quillery
