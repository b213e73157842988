// Selecting the printer and running print jobs.
#include "report_engine/report_printer.h"

#include <QFile>
#include <QFileInfo>
#include <QPrinterInfo>
#include <utility>

#include "report_engine/report_options.h"
#include "runtime/window/file_dialog.h"
#include "runtime/window/message_box.h"

namespace quillery {
namespace {

QString defaultPrinterName() {
    const DefaultPrinterLookup& lookup = reportOptions().defaultPrinter;
    return lookup ? lookup() : QPrinterInfo::defaultPrinterName();
}

std::string localName(const QString& name) {
    return QFile::encodeName(name).toStdString();
}

}  // namespace

ReportPrinter::ReportPrinter(const QString& pdfFile) : pdfFile_(pdfFile) {
    const QString systemPrinter = pdfFile.isEmpty() ? defaultPrinterName() : QString();
    if (!systemPrinter.isEmpty()) {
        printer_ = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(systemPrinter),
                                              QPrinter::HighResolution);
    } else {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setOutputFormat(QPrinter::PdfFormat);
        toPdf_ = true;
        needsFileName_ = pdfFile.isEmpty();
    }
}

ReportPrinter::~ReportPrinter() {
    abandonJob();
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

bool ReportPrinter::chooseFile() {
    const auto chosen = FILEDIALOG(kPrintToFileCaption, FileDialogMode::Save, kPrintToFileFilter);
    if (!chosen) return false;
    QString name = QFile::decodeName(chosen->c_str());
    if (QFileInfo(name).suffix().isEmpty()) name += kPrintToFileSuffix;
    const std::string local = localName(name);
    if (!pdf_.mayWrite(local)) {
        if (!pdf_.refusedAsNotPdf()) {
            failure_ = pdf_.failure();
            return false;
        }
        // The dialog asks nothing about replacing; a file that is not a PDF is replaced only on
        // the user's word.
        const int answer =
            MESSAGE(QFileInfo(name).fileName().toStdString() +
                        " exists and is not a PDF file.|Replace it with the report?",
                    kPrintToFileCaption, ICON::Question, BUTTON::Yes | BUTTON::No, BUTTON::No);
        if (answer != BUTTON::Yes) return false;
        pdf_.allowReplacingAnyFile(true);
    }
    pdfFile_ = name;
    return true;
}

bool ReportPrinter::startJob(const QString& documentName) {
    if (painter_) return true;
    failure_.clear();
    if (needsFileName_) {
        if (!chooseFile()) return false;
        needsFileName_ = false;
    }
    if (toPdf_) {
        if (!pdf_.begin(localName(pdfFile_))) {
            failure_ = pdf_.failure();
            return false;
        }
        printer_->setOutputFileName(QFile::decodeName(pdf_.temporaryName().c_str()));
    }
    printer_->setDocName(documentName);
    printer_->setCreator(QStringLiteral("Quillery"));
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(printer_.get())) {
        if (toPdf_) {
            pdf_.failStep("the PDF could not be started");
            pdf_.commit();  // refuses, removing the temporary file
            failure_ = pdf_.failure();
        } else {
            failure_ = "cannot print on \"" + printer_->printerName().toStdString() +
                       "\": the printer could not be opened";
        }
        return false;
    }
    painter_ = std::move(painter);
    pagesStarted_ = 0;
    return true;
}

QPainter& ReportPrinter::startPage() {
    if (pagesStarted_++ > 0 && !printer_->newPage()) {
        if (toPdf_)
            pdf_.failStep("page " + std::to_string(pagesStarted_) + " could not be started");
        else if (failure_.empty())
            failure_ = "page " + std::to_string(pagesStarted_) + " could not be printed";
    }
    return *painter_;
}

bool ReportPrinter::endJob() {
    if (!painter_) return failure_.empty();
    const bool ended = painter_->end();
    painter_.reset();
    if (!toPdf_) {
        if (!ended && failure_.empty()) failure_ = "the print job could not be finished";
        return failure_.empty();
    }
    if (!ended) pdf_.failStep("the PDF could not be finished");
    if (!pdf_.commit()) {
        failure_ = pdf_.failure();
        return false;
    }
    return true;
}

void ReportPrinter::abandonJob() {
    if (painter_) {
        painter_->end();
        painter_.reset();
    }
    pdf_.abandon();
}

QString ReportPrinter::outputFile() const {
    return pdfFile_.isEmpty() ? printer_->outputFileName() : pdfFile_;
}

}  // namespace quillery
