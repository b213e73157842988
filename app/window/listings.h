// The "&Reports" menu: each item runs a listing over the catalogue. A listing closes the
// catalogue when it is done, so the main window reads it again afterwards, purging on the way.
#pragma once

#include <functional>

namespace quillery {

// Runs the listing of the "&Reports" item `reportField`.
using ListingProcedure = std::function<void(int reportField)>;

// Installs the listings; returns the procedure installed before. Without one the menu's items
// are disabled.
ListingProcedure setListingProcedure(ListingProcedure procedure);
bool listingsAvailable();

// Enables or disables every item of the "&Reports" menu.
void enableListings(bool enabled);

// Settles what is being edited, runs the listing of `reportField` and reopens the catalogue.
void runListing(int reportField);

}  // namespace quillery
