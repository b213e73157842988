// The drawings of the program's pictures and icons. Each draws into a Canvas whose design space
// is 48 units on the shorter side; the generator renders them at every size a file needs.
#pragma once

#include <QChar>

#include "support/artwork/artwork_style.h"

namespace quillery::artwork {

// Icons (transparent background).
void drawBookIcon(Canvas& canvas);                  // the program: a closed blue book
void drawNewBookIcon(Canvas& canvas);               // a book with a green plus
void drawCopyBookIcon(Canvas& canvas);              // two books, one behind the other
void drawCancelIcon(Canvas& canvas);                // a red disc with a white cross
void drawSaveIcon(Canvas& canvas);                  // a floppy disk
void drawUndoIcon(Canvas& canvas);                  // an arrow turning back to the left
void drawFindBookIcon(Canvas& canvas);              // a magnifier over a book
void drawLookUpBookIcon(Canvas& canvas);            // a book with a barcode label
void drawPrintIcon(Canvas& canvas);                 // a printer with a sheet coming out
void drawExitIcon(Canvas& canvas);                  // an arrow leaving through an open door
void drawZoomIcon(Canvas& canvas);                  // a magnifying glass with a plus
void drawNoteIcon(Canvas& canvas);                  // a ruled yellow note with a turned corner
void drawLetterTile(Canvas& canvas, QChar letter);  // a rounded blue tile with a white letter

// Bitmaps (opaque: the bitmap format keeps no transparency, so each has its own background).
void drawWindowBitmap(Canvas& canvas);  // the book on a small soft tile, for window icons
void drawSplashBitmap(Canvas& canvas);  // a standing, decorated book for the splash window
void drawReportLogo(Canvas& canvas);    // an open book with a quill, on white paper

}  // namespace quillery::artwork
