// The "&File" menu's catalogue commands: the example catalogue, a new catalogue, another
// catalogue, and a copy of the open one under another name. Each settles what is being edited
// first, and a catalogue that cannot be opened leaves the one that was open in place.
#pragma once

#include <string>

namespace quillery {

void openExampleCatalogue();  // "Open Awards File (Example)"
void newCatalogueFile();      // "&New Quillery File..."
void openCatalogueFile();     // "&Open Quillery File ..."
void saveCatalogueFileAs();   // "&Save Quillery File As ..."

// Builds the example catalogue named by QUILLERYFILE from the example entries the program
// carries. False, with the error shown, when it could not be written.
bool buildExampleCatalogue();

// The name a chosen path is kept under: relative to the current folder when it lies inside it,
// with ".QLY" added when it has no extension of its own.
std::string catalogueNameOf(const std::string& path);

}  // namespace quillery
