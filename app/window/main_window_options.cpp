// The main window's options in force.
#include "app/window/main_window_options.h"

#include <utility>

namespace quillery {
namespace {

MainWindowOptions& installed() {
    static MainWindowOptions options;
    return options;
}

}  // namespace

const MainWindowOptions& mainWindowOptions() {
    return installed();
}

MainWindowOptions setMainWindowOptions(MainWindowOptions options) {
    return std::exchange(installed(), std::move(options));
}

}  // namespace quillery
