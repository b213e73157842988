// Building a catalogue entry from an export's values.
#include "app/exchange/book_builder.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>

#include "app/build_keys.h"
#include "app/catalogue_columns.h"
#include "app/exchange/named_columns.h"
#include "app/exchange/text_to_cp1252.h"
#include "app/isbn.h"
#include "runtime/codepage.h"
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

bool isDateShaped(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789-/") == std::string_view::npos &&
           text[0] >= '0' && text[0] <= '9';
}

}  // namespace

bool isNameSuffix(std::string_view word) {
    for (std::string_view suffix : {"Jr.", "Jr", "Sr.", "Sr", "II", "III", "IV"}) {
        if (word == suffix) return true;
    }
    return false;
}

std::string_view unbracketedDate(std::string_view text) {
    text = trimmed(text);
    if (text.size() >= 2 && text.front() == '[' && text.back() == ']' &&
        isDateShaped(text.substr(1, text.size() - 2))) {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

std::string bracketedDate(std::string_view text) {
    if (!isDateShaped(text) || !exportDate(text)) return std::string(text);
    return "[" + std::string(text) + "]";
}

std::optional<std::int32_t> exportDate(std::string_view text) {
    text = unbracketedDate(text);
    int year = 0, month = 1, day = 1;
    if (text.size() < 4 || !wholeNumber(text.substr(0, 4), year)) return std::nullopt;
    if (text.size() > 4) {
        const char separator = text[4];
        if ((separator != '/' && separator != '-') || text.size() < 7 ||
            !wholeNumber(text.substr(5, 2), month)) {
            return std::nullopt;
        }
        if (text.size() > 7 &&
            (text.size() != 10 || text[7] != separator || !wholeNumber(text.substr(8, 2), day))) {
            return std::nullopt;
        }
    }
    if (month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
    const std::int32_t number = dayNumberOf(year, month, day);
    if (number < kFirstDayNumber || number > kLastDayNumber || DAY(number) != day) {
        return std::nullopt;
    }
    return number;
}

BookBuilder::BookBuilder(int line, std::string_view title, ImportReport& report)
    : line_(line), report_(report) {
    // The report names the book by its title as it will read, so the title is cleaned
    // quietly here; set() reports what cleaning it took.
    const Cp1252Text asIs = textToCp1252(title);
    title_ = asIs.validUtf8 ? std::string(trimmed(title)) : cp1252ToUtf8(trimmed(title));
    std::erase_if(title_, [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

std::string BookBuilder::clean(std::string_view value, std::string_view from, bool keepLayout) {
    std::string text;
    if (textToCp1252(value).validUtf8) {
        text = value;
    } else {
        text = cp1252ToUtf8(value);
        // A column split over two fields (a name) is named once.
        if (std::find(notUtf8_.begin(), notUtf8_.end(), from) == notUtf8_.end()) {
            notUtf8_.emplace_back(from);
            report_.note(line_, title_, std::string(from) + " is not UTF-8; read as Windows-1252");
        }
    }
    std::size_t dropped = 0;
    std::string kept;
    kept.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool layout = c == '\t' || c == '\r' || c == '\n';
        if (layout) {
            kept += keepLayout ? c : ' ';
        } else if (byte < 0x20 || byte == 0x7F) {
            ++dropped;
        } else {
            kept += c;
        }
    }
    if (dropped > 0) {
        report_.note(line_, title_,
                     std::to_string(dropped) +
                         (dropped == 1 ? " control character" : " control characters") +
                         " dropped from " + std::string(from));
    }
    return kept;
}

void BookBuilder::fail(std::string message) {
    if (!problem_) problem_ = std::move(message);
}

void BookBuilder::put(std::string_view field, std::string_view utf8, std::string_view from) {
    const CatalogueColumn* column = findCatalogueColumn(field);
    // Only the note keeps its line breaks; a field is one line.
    Cp1252Text text = textToCp1252(clean(utf8, from, field == "CONTENTS"));
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
    // An ISBN loses its hyphens and spaces before it meets the field's width; the import's
    // look over its ISBNs says what else is wrong with it.
    if (field == "ISBN") return put(field, tidyIsbn(value).text, from);
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
    } else if (std::size_t space = plain.rfind(' '); space != std::string_view::npos) {
        // "Edmund Harrow Jr.": the suffix stays with the last name it follows.
        if (isNameSuffix(plain.substr(space + 1)) && space > 0) {
            const std::size_t before = plain.rfind(' ', space - 1);
            if (before != std::string_view::npos) space = before;
        }
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

void BookBuilder::setAdded(std::string_view value, std::string_view from, std::string_view forms) {
    value = trimmed(value);
    if (value.empty()) return;
    const std::optional<std::int32_t> day = exportDate(value);
    if (!day) {
        return fail(std::string(from) + " " + quoted(clean(value, from, false)) +
                    " is not a date " + std::string(forms) + " from 1801 to 2099");
    }
    addedDay_ = *day;
}

std::string BookBuilder::checked(std::string_view value, std::string_view from) {
    return clean(value, from, true);
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
