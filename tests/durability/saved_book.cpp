// The save loop's records, made from their save numbers alone.
#include "tests/durability/saved_book.h"

#include <charconv>
#include <cstring>
#include <random>
#include <string>

#include "app/build_keys.h"

namespace quillery::durability {

int bookOf(std::int64_t save) {
    return static_cast<int>(save % kBooks);
}

QuilleryRecord savedBook(std::int64_t save) {
    QuilleryRecord record{};
    const std::string number = std::to_string(save);
    record.ISBN = number;
    record.LASTNAME = "Book";
    record.FIRSTNAME = "No. " + std::to_string(bookOf(save));
    record.TITLE = "Save " + number;
    record.VALUE = number;
    record.CATEGORY = "Durability";
    // Contents of varying length, so that versions change their pages' size classes.
    std::mt19937 random(static_cast<std::uint32_t>(save));
    std::string contents(200 + random() % 800, ' ');
    for (char& c : contents)
        c = static_cast<char>('a' + random() % 26);
    record.CONTENTS = contents;
    record.setCREATED({static_cast<std::int32_t>(70000 + save % 1000), 360000});
    record.setCHANGED({static_cast<std::int32_t>(70000 + save % 1000),
                       static_cast<std::int32_t>(save % 8640000)});
    BUILDKEYS(record);
    return record;
}

std::optional<std::int64_t> saveNumberOf(const QuilleryRecord& record) {
    const std::string_view text = record.ISBN.clipped();
    std::int64_t save = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), save);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || save <= 0)
        return std::nullopt;
    return save;
}

bool isWholeSave(const QuilleryRecord& record, std::int64_t save) {
    QuilleryRecord expected = savedBook(save);
    expected.DELETED = record.DELETED;
    return std::memcmp(&expected, &record, sizeof record) == 0;
}

}  // namespace quillery::durability
