// The "&Reports" menu wired to the listings: each item runs the listing of the same place in the
// listing table. The program's start puts it in the main window's options; the main window's own
// library never links the listings.
#pragma once

namespace quillery {

// Runs the listing of the listing table at the place of the "&Reports" item `reportField`.
void runReportsMenuListing(int reportField);

}  // namespace quillery
