// The window engine's options in force.
#include "runtime/window/window_options.h"

#include "runtime/installed_options.h"

namespace quillery {

const WindowOptions& windowOptions() {
    return installedOptions<WindowOptions>();
}

WindowOptions setWindowOptions(WindowOptions options) {
    return exchangeInstalledOptions(std::move(options));
}

}  // namespace quillery
