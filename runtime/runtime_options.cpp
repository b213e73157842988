// The runtime's options in force.
#include "runtime/runtime_options.h"

#include <utility>

namespace quillery {
namespace {

RuntimeOptions& installed() {
    static RuntimeOptions options;
    return options;
}

}  // namespace

const RuntimeOptions& runtimeOptions() {
    return installed();
}

RuntimeOptions setRuntimeOptions(RuntimeOptions options) {
    RuntimeOptions previous = std::exchange(installed(), std::move(options));
    internal::forgetCenturyYear();
    return previous;
}

}  // namespace quillery
