// How the report engine is configured, in one place: which printer is the system's default, and
// the folder the page image folders are made in. A program runs with the defaults; a test that
// stands in for the system uses ScopedReportOptions, which puts the previous ones back.
#pragma once

#include <QString>
#include <functional>

#include "runtime/scoped_options.h"

namespace quillery {

// The system's default printer's name; empty when the system has none.
using DefaultPrinterLookup = std::function<QString()>;

struct ReportOptions {
    // Names the printer a report prints on when no PDF file is named. Empty: the system's
    // default printer, as Qt's print support knows it.
    DefaultPrinterLookup defaultPrinter;
    // The folder each report makes its private page folder in. Empty: the folder TMPDIR names,
    // else the system's temporary folder.
    QString temporaryFolder;
};

// The options in force.
const ReportOptions& reportOptions();
// Installs `options` for reports made from now on and returns the options installed before.
ReportOptions setReportOptions(ReportOptions options);

using ScopedReportOptions = ScopedOptions<ReportOptions, setReportOptions>;

}  // namespace quillery
