// "&Import..." and "&Export..." of the "&File" menu: books brought in from another program's
// export (Goodreads, LibraryThing, Calibre or the catalogue's own CSV) and written out for it,
// through the same formats quillery-data uses.
#pragma once

#include "runtime/window/layout.h"

namespace quillery {

namespace importbooks {
enum Field : int { SUMMARY = 1, REPORT, IMPORT, CANCEL };
}  // namespace importbooks

namespace exportbooks {
enum Field : int { FORMAT = 1, FIRSTFORMAT, SECONDFORMAT, THIRDFORMAT, OK, CANCEL };
}  // namespace exportbooks

// The window "IMPORTBOOKS$WINDOW" that shows what reading an export found and asks whether to
// add its books.
extern const WindowLayout kImportLayout;
// The window "EXPORTBOOKS$WINDOW" that asks which format to write.
extern const WindowLayout kExportLayout;

// Asks for an export file, reads it whole, shows the report, and on the user's word adds every
// book in one transaction. A file that cannot be read as its format is refused with its line,
// and the catalogue is left as it was.
void importBooks();

// Asks for a format and a file name and writes the current entries there.
void exportBooks();

}  // namespace quillery
