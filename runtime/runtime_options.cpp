// The runtime's options in force.
#include "runtime/runtime_options.h"

#include "runtime/installed_options.h"

namespace quillery {

const RuntimeOptions& runtimeOptions() {
    return installedOptions<RuntimeOptions>();
}

RuntimeOptions setRuntimeOptions(RuntimeOptions options) {
    RuntimeOptions previous = exchangeInstalledOptions(std::move(options));
    internal::forgetCenturyYear();
    return previous;
}

}  // namespace quillery
