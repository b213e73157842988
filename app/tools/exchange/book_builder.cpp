// Building a catalogue entry from an export's values.
#include "app/tools/exchange/book_builder.h"

#include <charconv>
#include <cstring>

#include "app/build_keys.h"
#include "app/catalogue_columns.h"
#include "app/tools/exchange/named_columns.h"
#include "app/tools/exchange/text_to_cp1252.h"
#include "runtime/dates.h"

namespace quillery::exchange {

namespace {

constexpr std::string_view kNoAuthor = "Unknown";

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

bool wholeNumber(std::string_view text, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end;
}

}  // namespace

std::optional<std::int32_t> exportDate(std::string_view text) {
    if (text.size() != 10 || text[4] != text[7] || (text[4] != '/' && text[4] != '-')) {
        return std::nullopt;
    }
    int year = 0, month = 0, day = 0;
    if (!wholeNumber(text.substr(0, 4), year) || !wholeNumber(text.substr(5, 2), month) ||
        !wholeNumber(text.substr(8, 2), day)) {
        return std::nullopt;
    }
    const std::int32_t number = dayNumberOf(year, month, day);
    if (number < kFirstDayNumber || number > kLastDayNumber) return std::nullopt;
    return number;
}

BookBuilder::BookBuilder(int line, std::string_view title, ImportReport& report)
    : line_(line), title_(trimmed(title)), report_(report) {}

void BookBuilder::fail(std::string message) {
    if (!problem_) problem_ = std::move(message);
}

void BookBuilder::put(std::string_view field, std::string_view utf8, std::string_view from) {
    const CatalogueColumn* column = findCatalogueColumn(field);
    Cp1252Text text = textToCp1252(utf8);
    if (!text.validUtf8) return fail(std::string(from) + " is not valid UTF-8");
    replaced_ += text.replaced;
    // Trailing blanks are the field's padding, so they never count against its width.
    text.text.erase(text.text.find_last_not_of(' ') + 1);
    if (text.text.size() > column->width) {
        report_.cut(line_, title_, field, text.text.size(), column->width);
        text.text.resize(column->width);
    }
    std::uint8_t* const bytes = bytesOf(record_).data() + column->offset;
    std::memcpy(bytes, text.text.data(), text.text.size());
    std::memset(bytes + text.text.size(), ' ', column->width - text.text.size());
}

void BookBuilder::set(std::string_view field, std::string_view value, std::string_view from) {
    put(field, trimmed(value), from);
}

void BookBuilder::setAuthor(std::string_view sortable, std::string_view plain,
                            std::string_view from) {
    sortable = trimmed(sortable);
    plain = trimmed(plain);
    std::string_view last, first;
    if (const std::size_t comma = sortable.find(','); comma != std::string_view::npos) {
        last = trimmed(sortable.substr(0, comma));
        first = trimmed(sortable.substr(comma + 1));
    } else if (!sortable.empty()) {
        last = sortable;
    } else if (const std::size_t space = plain.rfind(' '); space != std::string_view::npos) {
        last = trimmed(plain.substr(space + 1));
        first = trimmed(plain.substr(0, space));
    } else {
        last = plain;
    }
    if (last.empty() && first.empty()) {
        report_.note(line_, title_, "no author; filed under \"" + std::string(kNoAuthor) + "\"");
        last = kNoAuthor;
    }
    put("LASTNAME", last, from);
    put("FIRSTNAME", first, from);
}

void BookBuilder::setRating(std::string_view value, std::string_view from) {
    value = trimmed(value);
    if (value.empty()) return;
    const std::size_t point = value.find('.');
    const std::string_view whole = value.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : value.substr(point + 1);
    int stars = 0, part = 0;
    if (!wholeNumber(whole, stars) || stars < 0 || stars > 5 ||
        (point != std::string_view::npos && !wholeNumber(fraction, part)) ||
        (stars == 5 && part != 0)) {
        return fail(std::string(from) + " " + quoted(value) + " is not a rating from 0 to 5");
    }
    if (part != 0) {
        report_.note(line_, title_,
                     "RATING " + std::string(value) + " cut to " + std::to_string(stars));
    }
    if (stars > 0) put("RATING", std::to_string(stars), from);
}

void BookBuilder::setAdded(std::string_view value, std::string_view from) {
    value = trimmed(value);
    if (value.empty()) return;
    const std::optional<std::int32_t> day = exportDate(value);
    if (!day) {
        return fail(std::string(from) + " " + quoted(value) +
                    " is not a date YYYY/MM/DD from 1801 to 2099");
    }
    addedDay_ = *day;
}

std::string_view BookBuilder::checked(std::string_view value, std::string_view from) {
    if (!textToCp1252(value).validUtf8) fail(std::string(from) + " is not valid UTF-8");
    return value;
}

std::optional<CsvProblem> BookBuilder::finish(const ContentsNote& note, QuilleryStamp now,
                                              QuilleryRecord& entry) {
    put("CONTENTS", note.text(), "the note");
    if (problem_) return CsvProblem{line_, *problem_};
    if (replaced_ > 0) report_.replacedCharacters(line_, title_, replaced_);
    record_.setCREATED(addedDay_ != 0 ? QuilleryStamp{addedDay_, now.time} : now);
    record_.setCHANGED(now);
    BUILDKEYS(record_);
    entry = record_;
    return std::nullopt;
}

}  // namespace quillery::exchange
