// The "&Reports" menu: each item runs a listing over the catalogue. A listing closes the
// catalogue when it is done, so the main window reads it again afterwards, purging on the way.
#pragma once

namespace quillery {

// Whether the main window's options name the listings; without them the menu's items are
// disabled.
bool listingsAvailable();

// Enables or disables every item of the "&Reports" menu.
void enableListings(bool enabled);

// Settles what is being edited, runs the listing of `reportField` and reopens the catalogue.
void runListing(int reportField);

}  // namespace quillery
