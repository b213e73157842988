// The current book's cover, where the main window's layout leaves room above the entry panel:
// the picture kept beside the catalogue under the book's ISBN, or nothing when there is none.
// Only files are read; browsing never goes online.
#pragma once

namespace quillery {

// Shows the cover of the entry in the buffer.
void showCover();

// Book > "Co&ver...": a picture file chosen by the person becomes the shown book's cover.
void chooseCover();

}  // namespace quillery
