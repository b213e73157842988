// The printer a report prints on, through Qt's print support: a PDF file named by the caller
// (command-line callers, which have no display), else the system's default printer, else a PDF
// file the user names in a save dialog when printing starts.
#pragma once

#include <QPainter>
#include <QPrinter>
#include <QString>
#include <functional>
#include <memory>

#include "report_engine/core/page_geometry.h"

class QPrinterInfo;

namespace quillery {

// Caption and filter of the dialog that names the file when the system has no printer.
inline constexpr char kPrintToFileCaption[] = "Print To File...";
inline constexpr char kPrintToFileFilter[] = "All files (*.*)";

// The system's default printer's name; empty when the system has none. Tests stand in for the
// system with setDefaultPrinterLookup.
using DefaultPrinterLookup = std::function<QString()>;
DefaultPrinterLookup setDefaultPrinterLookup(DefaultPrinterLookup lookup);

class ReportPrinter {
  public:
    // `pdfFile` empty: the system's printer (or the file the user names).
    explicit ReportPrinter(const QString& pdfFile);
    ~ReportPrinter();
    ReportPrinter(const ReportPrinter&) = delete;
    ReportPrinter& operator=(const ReportPrinter&) = delete;

    // The page as this printer prints it; invalid when the printer cannot be used.
    report::PageGeometry geometry() const;

    // Starts the print job under `documentName` (asking for the file first when there is no
    // printer). False when the device cannot be opened or the user cancelled the dialog.
    bool startJob(const QString& documentName);
    bool jobStarted() const { return painter_ != nullptr; }
    // Starts a new printer page and returns the painter for it, in the printable area's dots.
    // Requires: the job has started.
    QPainter& startPage();
    // Ends the job; the file or the printer's queue gets the pages.
    void endJob();

    // The file the pages went to, when they go to one.
    QString outputFile() const;

  private:
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
    bool needsFileName_ = false;
    int pagesStarted_ = 0;
};

}  // namespace quillery
