// Date (@D) pictures: compiling their templates, including the ones built from the system's
// date formats, showing day numbers, and reading them back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/picture_descriptor.h"

namespace quillery {

// `body` is the picture text after its letter. False when the picture is invalid.
bool compileDatePicture(std::string_view body, CompiledPicture& picture);

// Requires: `picture` is a date picture. Day numbers outside the valid range show as spaces.
void formatDate(std::string& out, std::int64_t dayNumber, const CompiledPicture& picture);

// The day number in `text`: -1 for an impossible date, 0 when the text holds no date digits.
std::int32_t deformatDate(std::string_view text, const CompiledPicture& picture);

}  // namespace quillery
