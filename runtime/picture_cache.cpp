// The cache of compiled pictures, keyed by picture text, so a picture used for every row of a
// list or report is compiled once.
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "runtime/locale_settings.h"
#include "runtime/picture.h"
#include "runtime/picture_compiler.h"

namespace quillery {
namespace {

// The locale values a compiled picture was built from, to notice when they change.
struct LocaleFormats {
    std::string shortDate;
    std::string longDate;
    std::string timeSeparator;
    int timeFormat24 = 0;
    int timeLeadingZero = 0;

    static LocaleFormats current() {
        const LocaleSettings& l = localeSettings();
        return {l.shortDatePattern, l.longDatePattern, l.timeSeparator, l.timeFormat24,
                l.timeLeadingZero};
    }
    bool matchesCurrent() const {
        const LocaleSettings& l = localeSettings();
        return shortDate == l.shortDatePattern && longDate == l.longDatePattern &&
               timeSeparator == l.timeSeparator && timeFormat24 == l.timeFormat24 &&
               timeLeadingZero == l.timeLeadingZero;
    }
};

struct Entry {
    std::unique_ptr<CompiledPicture> picture;  // null when the picture is invalid
    bool usesLocale = false;
    LocaleFormats locale;
};

struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
        return std::hash<std::string_view>{}(text);
    }
};

struct Cache {
    std::unordered_map<std::string, Entry, TextHash, std::equal_to<>> entries;
    // Pictures replaced after a locale change stay alive: callers may still hold them.
    std::vector<std::unique_ptr<CompiledPicture>> retired;
};

Cache& cache() {
    static Cache instance;
    return instance;
}

void compileInto(Entry& entry, std::string_view text) {
    auto picture = std::make_unique<CompiledPicture>();
    entry.picture = compilePicture(text, *picture) ? std::move(picture) : nullptr;
    entry.usesLocale = pictureUsesLocaleFormats(text);
    if (entry.usesLocale) entry.locale = LocaleFormats::current();
}

}  // namespace

const CompiledPicture* findPicture(std::string_view text) {
    Cache& c = cache();
    auto found = c.entries.find(text);
    if (found == c.entries.end()) {
        found = c.entries.emplace(std::string(text), Entry{}).first;
        compileInto(found->second, text);
    } else if (found->second.usesLocale && !found->second.locale.matchesCurrent()) {
        if (found->second.picture) c.retired.push_back(std::move(found->second.picture));
        compileInto(found->second, text);
    }
    return found->second.picture.get();
}

}  // namespace quillery
