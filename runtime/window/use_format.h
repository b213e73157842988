// Use variables through pictures: what a control shows for a variable, and the variable read
// back from what the user typed.
#pragma once

#include <string>
#include <string_view>

#include "runtime/window/use_variable.h"

namespace quillery {

// The variable formatted by `picture` (Windows-1252). Without a picture, a text shows as it
// stands and a number in decimal.
std::string formatUse(const UseVariable& use, std::string_view picture);

// Stores `text` deformatted by `picture` into the variable.
void deformatUse(const UseVariable& use, std::string_view text, std::string_view picture);

// The number of characters the picture produces; 0 for none or an invalid picture.
int pictureLength(std::string_view picture);

}  // namespace quillery
