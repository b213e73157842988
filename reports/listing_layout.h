// The page layout every listing prints: a header with the picture, title, subtitle and the grey
// box of column headings, one detail band per book (five to a page) and the page number in the
// footer. Listings differ only in subtitle and in which field is emphasised.
#pragma once

#include <cstddef>
#include <vector>

#include "report_engine/report.h"
#include "runtime/window/layout.h"

namespace quillery {

// The field number of the detail band.
inline constexpr int kListingDetail = 1;

// The report layout of listing `listing` ("AUTHORREPORT$REPORT"...); lives for the program.
// Requires: listing < kListingCount.
const WindowLayout& listingReportLayout(std::size_t listing);

// The layout's use variables: fields of the shared record buffer QLY.
std::vector<UseVariable> listingReportUses();

}  // namespace quillery
