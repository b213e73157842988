// Compiling picture texts ("@n5", "d1", "@P###-##P") into their descriptors.
#pragma once

#include <string_view>

#include "runtime/picture_descriptor.h"

namespace quillery {

// Compiles `text`, with or without its leading '@', letters in either case. False when the
// picture is invalid. Date and time pictures 17, 18, 7 and 8 read the locale settings in force.
bool compilePicture(std::string_view text, CompiledPicture& picture);

// True when the compiled form of `text` depends on the locale's date and time formats.
bool pictureUsesLocaleFormats(std::string_view text);

}  // namespace quillery
