// The window engine's options in force.
#include "runtime/window/window_options.h"

#include <utility>

namespace quillery {
namespace {

WindowOptions& installed() {
    static WindowOptions options;
    return options;
}

}  // namespace

const WindowOptions& windowOptions() {
    return installed();
}

WindowOptions setWindowOptions(WindowOptions options) {
    return std::exchange(installed(), std::move(options));
}

}  // namespace quillery
