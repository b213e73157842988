// The printer a report prints on, through Qt's print support: a PDF file named by the caller
// (command-line callers, which have no display), else the system's default printer (as the
// report engine's options look it up: report_engine/report_options.h), else a PDF
// file the user names in a save dialog when printing starts. A PDF is written under a
// temporary name and put in place only when every step of the job succeeded.
#pragma once

#include <QPainter>
#include <QPrinter>
#include <QString>
#include <memory>
#include <string>

#include "report_engine/core/page_geometry.h"
#include "report_engine/pdf_output.h"

class QPrinterInfo;

namespace quillery {

// Caption and filter of the dialog that names the file when the system has no printer; a name
// typed without a suffix gets kPrintToFileSuffix.
inline constexpr char kPrintToFileCaption[] = "Print To File...";
inline constexpr char kPrintToFileFilter[] = "PDF files (*.pdf)";
inline constexpr char kPrintToFileSuffix[] = ".pdf";

class ReportPrinter {
  public:
    // `pdfFile` empty: the system's printer (or the file the user names).
    explicit ReportPrinter(const QString& pdfFile);
    ~ReportPrinter();  // an unfinished PDF job is abandoned, leaving no file
    ReportPrinter(const ReportPrinter&) = delete;
    ReportPrinter& operator=(const ReportPrinter&) = delete;

    // The PDF may never be written over `path`. Set before the job starts.
    void protectFile(const std::string& path) { pdf_.protect(path); }
    // An existing file that is not a PDF may be replaced by the PDF.
    void allowReplacingAnyFile(bool allow) { pdf_.allowReplacingAnyFile(allow); }

    // The page as this printer prints it; invalid when the printer cannot be used.
    report::PageGeometry geometry() const;

    // Starts the print job under `documentName` (asking for the file first when there is no
    // printer). False when the device cannot be opened, the file may not be written or the user
    // cancelled the dialog; failure() tells which (empty when the user cancelled).
    bool startJob(const QString& documentName);
    bool jobStarted() const { return painter_ != nullptr; }
    // Starts a new printer page and returns the painter for it, in the printable area's dots.
    // Requires: the job has started.
    QPainter& startPage();
    // Ends the job; the file or the printer's queue gets the pages. False, with failure() set,
    // when any step of the job failed: a PDF is then not written at all.
    bool endJob();
    // Ends the job without keeping its output (a PDF's temporary file is removed).
    void abandonJob();

    // The file the pages went to, when they go to one.
    QString outputFile() const;
    // What went wrong, naming the file and the reason; empty if nothing did.
    const std::string& failure() const { return failure_; }

  private:
    // Asks the user for the PDF to write; false when cancelled or refused.
    bool chooseFile();

    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
    report::PdfOutput pdf_;
    QString pdfFile_;
    bool toPdf_ = false;
    bool needsFileName_ = false;
    int pagesStarted_ = 0;
    std::string failure_;
};

}  // namespace quillery
