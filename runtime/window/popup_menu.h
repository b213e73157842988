// Pop-up menus from the program's text form "Item|-|+Checked|-Unchecked".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillery {

struct PopupItem {
    std::string text;  // Windows-1252, without its leading mark
    bool separator = false;
    bool checkable = false;  // the item had a leading '-' or '+'
    bool checked = false;    // the item had a leading '+'
};

// '|' separates items; a lone '-' is a separator; a leading '+' marks a checked item and a
// leading '-' an unchecked one.
std::vector<PopupItem> parsePopupText(std::string_view text);

// The widget name of the menu POPUP shows (the scripted driver looks for it).
inline constexpr const char* kPopupMenuName = "PopupMenu";

}  // namespace quillery
