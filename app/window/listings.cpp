// Running a listing from the main window.
#include "app/window/listings.h"

#include "app/window/editing_cycle.h"
#include "app/window/main_window_layout.h"
#include "app/window/main_window_options.h"
#include "app/window/open_quillery.h"
#include "app/window/undo.h"
#include "runtime/window/window.h"

namespace quillery {

namespace W = displayquillery;

bool listingsAvailable() {
    return static_cast<bool>(mainWindowOptions().listings);
}

void enableListings(bool enabled) {
    if (enabled) {
        ENABLE(W::AUTHORREPORT, W::OTHERREPORT);
    } else {
        DISABLE(W::AUTHORREPORT, W::OTHERREPORT);
    }
}

void runListing(int reportField) {
    if (!listingsAvailable() || !settlePendingWork()) return;
    // A copy: the listing may install other options while it runs.
    const ListingProcedure listing = mainWindowOptions().listings;
    listing(reportField);
    OPENQUILLERY();
    dropLostUndo();  // the reopen purged the versions most undo rows name
}

}  // namespace quillery
