// Number (@N) and scientific (@E) pictures: compiling their text, showing values through them
// and reading typed numbers back.
#pragma once

#include <string>
#include <string_view>

#include "runtime/picture_decimal.h"
#include "runtime/picture_descriptor.h"

namespace quillery {

// `body` is the picture text after its letter. False when the picture is invalid.
bool compileNumberPicture(std::string_view body, CompiledPicture& picture);
bool compileScientificPicture(std::string_view body, CompiledPicture& picture);

// Requires: `picture` is a number picture; `out` becomes exactly picture.length characters.
void formatNumber(std::string& out, DecimalText value, const CompiledPicture& picture);
// Requires: `picture` is a scientific picture.
void formatScientific(std::string& out, double value, const CompiledPicture& picture);

// The sign, digits and decimal point found in `text`, normalised ("-1234.5"); empty when the
// text holds no digit. Scientific pictures keep the exponent too.
void deformatNumberText(std::string& out, std::string_view text, const CompiledPicture& picture);

}  // namespace quillery
