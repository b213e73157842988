// `REPORTPREVIEW`: the pages of a finished listing on screen, as a grid of thumbnails or one
// page zoomed, before anything is printed. GLOBALRESPONSE is 1 when the user chose Print, else 2.
#pragma once

#include <cstdint>

#include "reports/listing_report.h"
#include "reports/preview_layout.h"

namespace quillery {

// Requires: the queue names at least one page.
void REPORTPREVIEW(PageImageQueue& pages);

}  // namespace quillery
