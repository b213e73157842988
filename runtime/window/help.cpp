// The help file's name and the replaceable viewer.
#include "runtime/window/help.h"

#include <utility>

namespace quillery {
namespace {

std::string& file() {
    static std::string name;
    return name;
}

HelpViewer& viewer() {
    static HelpViewer installed;
    return installed;
}

}  // namespace

void HELP(std::string_view name) {
    file() = std::string(name);
}

const std::string& helpFile() {
    return file();
}

void openHelp(HelpRequest request) {
    if (viewer()) viewer()(file(), request);
}

HelpViewer setHelpViewer(HelpViewer next) {
    return std::exchange(viewer(), std::move(next));
}

}  // namespace quillery
