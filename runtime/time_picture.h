// Time (@T) pictures: compiling their templates, including the ones built from the system's
// time format, showing times of day, and reading them back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/picture_descriptor.h"

namespace quillery {

// `body` is the picture text after its letter. False when the picture is invalid.
bool compileTimePicture(std::string_view body, CompiledPicture& picture);

// Requires: `picture` is a time picture. Times outside 1..8640000 show as spaces.
void formatTime(std::string& out, std::int64_t time, const CompiledPicture& picture);

// The time of day in `text`: -1 for an impossible time, 0 when the text holds no digits.
std::int32_t deformatTime(std::string_view text, const CompiledPicture& picture);

}  // namespace quillery
