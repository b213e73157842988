// Test helpers for pictures: the English locale defaults and a clock fixed in 2026, pinned for
// one test and put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <optional>

#include "runtime/dates.h"
#include "runtime/locale_settings.h"
#include "runtime/runtime_options.h"

namespace quillery::testing {

inline LocalDateTime pictureTestNow() {
    LocalDateTime now;
    now.year = 2026;
    now.month = 6;
    now.day = 15;
    now.hours = 10;
    return now;
}

// A fixture whose tests see the default locale settings (or `locale()` once changed) and the
// clock at 15 June 2026, so the century window places 45 in 2045 and 46 in 1946.
class PinnedPictureTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = localeSettings();
        setLocaleSettings(LocaleSettings::defaults());
        RuntimeOptions options = runtimeOptions();
        options.clock = [] { return pictureTestNow(); };
        pinnedClock_.emplace(options);
    }
    void TearDown() override {
        setLocaleSettings(saved_);
        pinnedClock_.reset();
    }

  private:
    LocaleSettings saved_;
    std::optional<ScopedRuntimeOptions> pinnedClock_;
};

template <typename Param>
class PinnedPictureParamTest : public PinnedPictureTest,
                               public ::testing::WithParamInterface<Param> {};

}  // namespace quillery::testing
