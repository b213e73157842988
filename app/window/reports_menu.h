// The "&Reports" menu wired to the listings: each item runs the listing of the same place in the
// listing table. The program's start installs it; the main window's own library never links the
// listings.
#pragma once

namespace quillery {

void installListings();

}  // namespace quillery
