// The options each engine has in force: one set per engine for the whole process, reached
// through the engine's own getter and setter so that its callers never see this slot.
#pragma once

#include <utility>

namespace quillery {

template <class Options>
Options& installedOptions() {
    static Options options;
    return options;
}

// Puts `options` in force for their engine and returns the ones in force before.
template <class Options>
Options exchangeInstalledOptions(Options options) {
    return std::exchange(installedOptions<Options>(), std::move(options));
}

}  // namespace quillery
