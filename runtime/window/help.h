// The on-line help: the program names its help file, and the Help menu's engine-handled items
// ask for its contents or its search. Showing help is left to the viewer of the window engine's
// options (runtime/window/window_options.h).
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace quillery {

enum class HelpRequest { Contents, Search };

// Names the help file (Windows-1252).
void HELP(std::string_view file);
const std::string& helpFile();

// Shows the help file's contents or search through the installed viewer.
void openHelp(HelpRequest request);

// Shows the help file `file` as `request` asks.
using HelpViewer = std::function<void(const std::string& file, HelpRequest request)>;

}  // namespace quillery
