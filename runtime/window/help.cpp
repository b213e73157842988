// The help file's name, shown through the installed viewer.
#include "runtime/window/help.h"

#include "runtime/window/window_options.h"

namespace quillery {
namespace {

std::string& file() {
    static std::string name;
    return name;
}

}  // namespace

void HELP(std::string_view name) {
    file() = std::string(name);
}

const std::string& helpFile() {
    return file();
}

void openHelp(HelpRequest request) {
    const HelpViewer& viewer = windowOptions().helpViewer;
    if (viewer) viewer(file(), request);
}

}  // namespace quillery
