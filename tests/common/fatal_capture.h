// Test helper: turns fatal reports and program ends into catchable events.
#pragma once

#include <string>
#include <vector>

#include "runtime/runtime_options.h"

namespace quillery::testing {

// While alive, fatal reports are recorded instead of shown and a program end throws
// ProgramEnded{exitCode} instead of ending the test process; the runtime's other options stay.
class FatalCapture {
  public:
    FatalCapture() : scoped_(capturing(runtimeOptions())) {}

    const std::vector<std::string>& reports() const { return reports_; }

  private:
    RuntimeOptions capturing(RuntimeOptions options) {
        options.fatalReporter = [this](const std::string& text) { reports_.push_back(text); };
        options.programEnd = [](int code) { throw ProgramEnded{code}; };
        return options;
    }

    std::vector<std::string> reports_;
    ScopedRuntimeOptions scoped_;
};

}  // namespace quillery::testing
