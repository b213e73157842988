// Where the main window's controls go in a window of any size: at the design size as designed;
// in a larger window the extra width and height go to the sheet and the book list, the entry
// panel keeps its design size (in dialog units, which follow the desktop's font) at the bottom
// right with the book's cover growing into the height above it, and the letter buttons spread
// along the bottom of the list.
#pragma once

#include "app/window/main_window_layout.h"

namespace quillery {

// The place of a control designed at `design`, in a window `extraWidth` and `extraHeight`
// dialog units larger than its design (negative values count as 0). `letter` is the letter
// button's index from 0, for Anchor::Letter.
Rect placeInRoom(const Rect& design, displayquillery::Anchor anchor, int extraWidth,
                 int extraHeight, int letter = 0);

// Places every anchored control of the current window for the window's present size.
void fitControlsToRoom();

}  // namespace quillery
