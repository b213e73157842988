// String (@S), pattern (@P...P) and key-in (@K...K) pictures: texts copied into fixed widths
// and digits laid into literal patterns.
#pragma once

#include <string>
#include <string_view>

#include "runtime/picture_decimal.h"
#include "runtime/picture_descriptor.h"

namespace quillery {

// `body` is the picture text after its letter (for @P and @K including the closing letter).
// False when the picture is invalid.
bool compileStringPicture(std::string_view body, CompiledPicture& picture);
bool compilePatternPicture(std::string_view body, CompiledPicture& picture);
bool compileKeyInPicture(std::string_view body, CompiledPicture& picture);

// Copies `text` left-justified into picture.length characters, cut or padded with spaces.
void formatText(std::string& out, std::string_view text, const CompiledPicture& picture);
// Requires: `picture` is a pattern picture.
void formatPattern(std::string& out, const DecimalText& value, const CompiledPicture& picture);

// The digits at the digit positions, leading zeros dropped; empty when there are none.
void deformatPattern(std::string& out, std::string_view text, const CompiledPicture& picture);
// The characters typed at the positions that take input.
void deformatKeyIn(std::string& out, std::string_view text, const CompiledPicture& picture);

}  // namespace quillery
