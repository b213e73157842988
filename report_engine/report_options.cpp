// The report engine's options in force.
#include "report_engine/report_options.h"

#include <utility>

namespace quillery {
namespace {

ReportOptions& installed() {
    static ReportOptions options;
    return options;
}

}  // namespace

const ReportOptions& reportOptions() {
    return installed();
}

ReportOptions setReportOptions(ReportOptions options) {
    return std::exchange(installed(), std::move(options));
}

}  // namespace quillery
