// Which tab of the sheet is selected, and what a tab says.
#pragma once

#include <string>

namespace quillery {

// Selects the tab `tab` as a click would show it, without the event a click raises. The
// sheet's use variable follows, so that the next display keeps the tab.
void selectTab(int tab);

// The text of the tab with control number `tab`.
std::string tabText(int tab);

}  // namespace quillery
