// Old home of the scripted test driver, kept so tests that still include it by this path
// compile; new code includes "runtime/window/testing/test_driver.h" and links
// quillery_window_testing.
#pragma once

#include "runtime/window/testing/test_driver.h"
