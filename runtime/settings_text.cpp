// Reading a whole settings or locale file.
#include "runtime/settings_text.h"

#include <cstdio>
#include <memory>

namespace quillery::settings_text {

bool readWholeFile(const std::string& path, std::string& contents) {
    contents.clear();
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file) return false;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        contents.append(buffer, n);
    // A directory opens but fails on the first read.
    return !std::ferror(file.get());
}

}  // namespace quillery::settings_text
