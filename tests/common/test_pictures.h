// Small pictures drawn for the window tests and a directory the engine finds them in.
#pragma once

#include <QString>

namespace quillery::testing {

// Draws the test pictures (once) into a temporary directory added to the picture search path,
// and returns that directory. Names: "book.bmp", "new.ico", "save.ico", "LA.ICO", "B.ICO",
// "C.ICO", "note.ico" (written as PNG or BMP data; the engine reads by content).
QString testPictureDirectory();

// Where tests leave files for people to look at: $QUILLERY_TEST_OUTPUT, else a temporary
// directory. Created if missing.
QString testOutputDirectory();

}  // namespace quillery::testing
