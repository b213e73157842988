#include "app/window/reports_menu.h"

#include <cstddef>

#include "app/window/main_window_layout.h"
#include "reports/listing_table.h"
#include "reports/listings.h"

namespace quillery {

void runReportsMenuListing(int reportField) {
    // The menu's items follow the listing table's order.
    const int listing = reportField - displayquillery::AUTHORREPORT;
    if (listing >= 0 && listing < static_cast<int>(kListingCount))
        runReportProcedure(static_cast<std::size_t>(listing));
}

}  // namespace quillery
