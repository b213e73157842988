// The value lists of the settings file: items separated by commas, each optionally quoted.
//
// Blanks around an item are dropped. An item that begins with ' or " runs to the matching
// closing quote and is taken literally, commas and blanks included; that quote doubled inside
// it stands for one quote. Anything between a closing quote and the next comma is ignored, and
// an unclosed quote runs to the end of the value. A quote inside an unquoted item is an
// ordinary character. An empty value has no items; "a,,b" has an empty middle item.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillery {

std::vector<std::string> splitSettingsList(std::string_view value);

}  // namespace quillery
