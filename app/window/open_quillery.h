// OPENQUILLERY: (re)opens the catalogue named by QUILLERYFILE in the main window and resets
// what the window shows for it.
#pragma once

namespace quillery {

// Requires: the main window is the current window.
void OPENQUILLERY();

}  // namespace quillery
