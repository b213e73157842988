// Test helper: turns fatal reports and program ends into catchable events.
#pragma once

#include <string>
#include <vector>

#include "runtime/fatal.h"

namespace quillery::testing {

// While alive, fatal reports are recorded instead of shown and a program end throws
// ProgramEnded{exitCode} instead of ending the test process.
class FatalCapture {
  public:
    FatalCapture()
        : previousReporter_(
              setFatalReporter([this](const std::string& text) { reports_.push_back(text); })),
          previousEnd_(setProgramEndHandler([](int code) { throw ProgramEnded{code}; })) {}
    ~FatalCapture() {
        setFatalReporter(previousReporter_);
        setProgramEndHandler(previousEnd_);
    }
    FatalCapture(const FatalCapture&) = delete;
    FatalCapture& operator=(const FatalCapture&) = delete;

    const std::vector<std::string>& reports() const { return reports_; }

  private:
    std::vector<std::string> reports_;
    FatalReporter previousReporter_;
    ProgramEndHandler previousEnd_;
};

}  // namespace quillery::testing
