// Running a listing from the main window.
#include "app/window/listings.h"

#include "app/window/editing_cycle.h"
#include "app/window/main_window_layout.h"
#include "app/window/open_quillery.h"
#include "app/window/undo.h"
#include "runtime/window/window.h"

namespace quillery {

namespace W = displayquillery;

namespace {

ListingProcedure& installed() {
    static ListingProcedure procedure;
    return procedure;
}

}  // namespace

ListingProcedure setListingProcedure(ListingProcedure procedure) {
    ListingProcedure previous = std::move(installed());
    installed() = std::move(procedure);
    return previous;
}

bool listingsAvailable() {
    return static_cast<bool>(installed());
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
    installed()(reportField);
    OPENQUILLERY();
    dropLostUndo();  // the reopen purged the versions most undo rows name
}

}  // namespace quillery
