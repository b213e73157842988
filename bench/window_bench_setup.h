// What the benchmarks that drive windows share: the application object offscreen, and the work
// folder and catalogue every catalogue benchmark sets up.
#pragma once

#include <QApplication>

#include "bench/catalogue_setup.h"

namespace quillery::bench {

// Windows come and go without an application loop; nothing shows on a screen.
inline void prepareOffscreen() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

}  // namespace quillery::bench
