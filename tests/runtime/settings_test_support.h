// Test helpers for the settings and locale readers: a temporary directory, files written into
// it, an environment variable pinned for one test, and the runtime's global state put back.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/dates.h"
#include "runtime/errors.h"
#include "runtime/runtime_options.h"
#include "runtime/settings_file.h"

namespace quillery::testing {

class TempDirectory {
  public:
    TempDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillery-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
        path_ = pattern;
    }
    ~TempDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const { return path_ + "/" + std::string(name); }

    // Writes `contents` byte for byte to `name` (folders created) and returns its path.
    std::string write(std::string_view name, std::string_view contents) const {
        const std::filesystem::path p = file(name);
        std::filesystem::create_directories(p.parent_path());
        std::ofstream out(p, std::ios::binary);
        out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
        return p.string();
    }

  private:
    std::string path_;
};

// Sets (or with nullopt unsets) an environment variable until the end of the scope.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = getenv(name)) previous_ = old;
        if (value) {
            setenv(name, value->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnvironment() {
        if (previous_) {
            setenv(name_, previous_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    const char* name_;
    std::optional<std::string> previous_;
};

// Puts every table the settings can change, the current error and the clock back as a
// program starts with them.
inline void resetRuntimeState() {
    resetRuntimeSettings();
    clearError();
    RuntimeOptions options = runtimeOptions();
    options.clock = {};  // the system clock; installing forgets the century window's year
    setRuntimeOptions(options);
}

}  // namespace quillery::testing
