// The main window's options in force.
#include "app/window/main_window_options.h"

#include "runtime/installed_options.h"

namespace quillery {

const MainWindowOptions& mainWindowOptions() {
    return installedOptions<MainWindowOptions>();
}

MainWindowOptions setMainWindowOptions(MainWindowOptions options) {
    return exchangeInstalledOptions(std::move(options));
}

}  // namespace quillery
