// The report engine's options in force.
#include "report_engine/report_options.h"

#include "runtime/installed_options.h"

namespace quillery {

const ReportOptions& reportOptions() {
    return installedOptions<ReportOptions>();
}

ReportOptions setReportOptions(ReportOptions options) {
    return exchangeInstalledOptions(std::move(options));
}

}  // namespace quillery
