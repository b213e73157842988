// The find tab: the tab a find's matches are listed on, the matches marked in the entry shown,
// and the tab's removal.
#pragma once

#include <string>
#include <string_view>

namespace quillery {

// The text as searched when case is ignored: every letter upper-cased.
std::string upperCased(std::string_view text);

// Puts up the find tab (once) with `label` and selects it; New, Duplicate, Save and Undo are
// not offered while matches are shown.
void showFindTab(const std::string& label);

// The label of the find tab for `text`: Has "text", cut to a tab's 24 characters.
std::string findTabLabel(std::string_view text);

// Selects the found text in the last name, first name and title of the entry shown.
void markFindMatches();

// Destroys the find tab; Undo, New and Duplicate are offered again.
void removeFindTab();

}  // namespace quillery
