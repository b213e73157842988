// The derived sort keys of a book entry.
#include "app/build_keys.h"

#include <string>
#include <string_view>

#include "app/catalogue_globals.h"

namespace quillery {

namespace {

std::string clip(std::string_view text) {
    const std::size_t end = text.find_last_not_of(' ');
    return std::string(end == std::string_view::npos ? std::string_view()
                                                     : text.substr(0, end + 1));
}

std::string leftJustified(std::string_view text) {
    const std::size_t start = text.find_first_not_of(' ');
    return std::string(start == std::string_view::npos ? std::string_view() : text.substr(start));
}

}  // namespace

void BUILDKEYS(QuilleryRecord& record) {
    const bool hasNames = !record.LASTNAME.isBlank() || !record.FIRSTNAME.isBlank();
    const std::string title = clip(record.TITLE.view());

    std::string nameKey;
    std::string titleKey = title;
    if (hasNames) {
        nameKey = std::string(record.LASTNAME.view());
        if (!record.FIRSTNAME.isBlank()) {
            nameKey = clip(nameKey) + ", " + std::string(record.FIRSTNAME.view());
        }
        nameKey = clip(nameKey) + " (" + title + ")";

        // A blank first name leaves a leading space before the last name; it goes.
        const std::string names = clip(leftJustified(clip(record.FIRSTNAME.view()) + " " +
                                                     std::string(record.LASTNAME.view())));
        titleKey = clip(titleKey) + " (" + names + ")";
    }
    record.NAMEKEY = nameKey;    // cut to 50 and blank-padded
    record.TITLEKEY = titleKey;  // cut to 50 and blank-padded
}

void BUILDKEYS() {
    BUILDKEYS(QLY);
}

}  // namespace quillery
