// The catalogue's CSV columns and the text form of each field.
#include "app/catalogue_columns.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "runtime/case_compare.h"
#include "runtime/codepage.h"
#include "runtime/dates.h"

namespace quillery {

namespace {

#define QUILLERY_COLUMN(name, kind)                                               \
    CatalogueColumn {                                                             \
#name, kind, offsetof(QuilleryRecord, name), sizeof(QuilleryRecord::name) \
    }

constexpr std::array kColumns{
    QUILLERY_COLUMN(LASTNAME, ColumnKind::kText),
    QUILLERY_COLUMN(FIRSTNAME, ColumnKind::kText),
    QUILLERY_COLUMN(TITLE, ColumnKind::kText),
    QUILLERY_COLUMN(CATEGORY, ColumnKind::kText),
    QUILLERY_COLUMN(RATING, ColumnKind::kText),
    QUILLERY_COLUMN(ISBN, ColumnKind::kText),
    QUILLERY_COLUMN(CONDITION, ColumnKind::kText),
    QUILLERY_COLUMN(LOCATION, ColumnKind::kText),
    QUILLERY_COLUMN(EDITION, ColumnKind::kText),
    QUILLERY_COLUMN(PUBDATE, ColumnKind::kText),
    QUILLERY_COLUMN(PRINTDATE, ColumnKind::kText),
    QUILLERY_COLUMN(BUYDATE, ColumnKind::kText),
    QUILLERY_COLUMN(VALUE, ColumnKind::kText),
    QUILLERY_COLUMN(OTHER, ColumnKind::kText),
    QUILLERY_COLUMN(CONTENTS, ColumnKind::kText),
    QUILLERY_COLUMN(PHONES, ColumnKind::kText),
    QUILLERY_COLUMN(LISTBYTITLE, ColumnKind::kByte),
    QUILLERY_COLUMN(DELETED, ColumnKind::kByte),
    QUILLERY_COLUMN(CREATEDDATE, ColumnKind::kDate),
    QUILLERY_COLUMN(CREATEDTIME, ColumnKind::kTime),
    QUILLERY_COLUMN(CHANGEDDATE, ColumnKind::kDate),
    QUILLERY_COLUMN(CHANGEDTIME, ColumnKind::kTime),
    QUILLERY_COLUMN(NAMEKEY, ColumnKind::kText),
    QUILLERY_COLUMN(TITLEKEY, ColumnKind::kText),
};

#undef QUILLERY_COLUMN

constexpr std::int32_t kLastTimeOfDay = 8640000;  // 23:59:59.99

std::string_view withoutSurroundingBlanks(std::string_view text) {
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) return {};
    return text.substr(start, text.find_last_not_of(' ') - start + 1);
}

std::string codePointName(char32_t codePoint) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(codePoint));
    return buffer;
}

template <typename Int>
bool parseWhole(std::string_view text, Int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

// Two digits at text[at], or -1.
int twoDigits(std::string_view text, std::size_t at) {
    if (at + 2 > text.size()) return -1;
    const char a = text[at], b = text[at + 1];
    if (a < '0' || a > '9' || b < '0' || b > '9') return -1;
    return (a - '0') * 10 + (b - '0');
}

bool parseIsoDate(std::string_view text, std::int32_t& day) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    int year = 0;
    if (!parseWhole(text.substr(0, 4), year)) return false;
    const int month = twoDigits(text, 5), dayOfMonth = twoDigits(text, 8);
    day = dayNumberOf(year, month, dayOfMonth);
    return day > 0;
}

// HH:MM, HH:MM:SS or HH:MM:SS.hh; midnight itself is the time 1, as the clock gives it.
bool parseClockTime(std::string_view text, std::int32_t& time) {
    if (text.size() != 5 && text.size() != 8 && text.size() != 11) return false;
    if (text[2] != ':') return false;
    if (text.size() >= 8 && text[5] != ':') return false;
    if (text.size() == 11 && text[8] != '.') return false;
    const int hours = twoDigits(text, 0), minutes = twoDigits(text, 3);
    const int seconds = text.size() >= 8 ? twoDigits(text, 6) : 0;
    const int hundredths = text.size() == 11 ? twoDigits(text, 9) : 0;
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59 ||
        hundredths < 0) {
        return false;
    }
    time = hours * 360000 + minutes * 6000 + seconds * 100 + hundredths + 1;
    return true;
}

std::string formatDate(std::int32_t day) {
    if (day < kFirstDayNumber || day > kLastDayNumber) return std::to_string(day);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", YEAR(day), MONTH(day), DAY(day));
    return buffer;
}

std::string formatTime(std::int32_t time) {
    if (time < 1 || time > kLastTimeOfDay) return std::to_string(time);
    const TimeFields fields = timeFields(time);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d.%02d", fields.hours, fields.minutes,
                  fields.seconds, fields.hundredths);
    return buffer;
}

std::string quoted(std::string_view value) {
    return "\"" + std::string(value) + "\"";
}

std::int32_t int32At(const QuilleryRecord& record, std::size_t offset) {
    std::int32_t value;
    std::memcpy(&value, bytesOf(record).data() + offset, sizeof value);
    return value;
}

}  // namespace

std::span<const CatalogueColumn> catalogueColumns() {
    return kColumns;
}

const CatalogueColumn* findCatalogueColumn(std::string_view name) {
    name = withoutSurroundingBlanks(name);
    if (name.size() > 4 && equalsIgnoringCase(name.substr(0, 4), "QLY:")) name.remove_prefix(4);
    for (const CatalogueColumn& column : kColumns) {
        if (equalsIgnoringCase(name, column.name)) return &column;
    }
    return nullptr;
}

bool utf8ToCp1252Exactly(std::string_view utf8, std::string_view what, std::string& out,
                         std::string& problem) {
    out.clear();
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::size_t start = i;
        char32_t codePoint = 0;
        if (!decodeUtf8(utf8, i, codePoint)) {
            problem = std::string(what) + " is not valid UTF-8";
            return false;
        }
        const unsigned char c = unicodeToCp1252(codePoint);
        if (c == static_cast<unsigned char>(kUnmappableChar) && codePoint != U'?') {
            problem = std::string(what) + " holds " + quoted(utf8.substr(start, i - start)) + " (" +
                      codePointName(codePoint) + "), which Windows-1252 cannot hold";
            return false;
        }
        out.push_back(static_cast<char>(c));
    }
    return true;
}

std::string formatColumnValue(const CatalogueColumn& column, const QuilleryRecord& record) {
    const auto bytes = bytesOf(record);
    switch (column.kind) {
        case ColumnKind::kText: {
            std::string_view text(reinterpret_cast<const char*>(bytes.data() + column.offset),
                                  column.width);
            text = text.substr(0, text.find_last_not_of(' ') + 1);  // npos + 1 is 0
            return cp1252ToUtf8(text);
        }
        case ColumnKind::kByte:
            return std::to_string(bytes[column.offset]);
        case ColumnKind::kDate:
            return formatDate(int32At(record, column.offset));
        case ColumnKind::kTime:
            return formatTime(int32At(record, column.offset));
    }
    return {};
}

bool parseColumnValue(const CatalogueColumn& column, std::string_view value, QuilleryRecord& record,
                      std::string& problem) {
    std::uint8_t* const field = bytesOf(record).data() + column.offset;
    const std::string_view name = column.name;
    switch (column.kind) {
        case ColumnKind::kText: {
            std::string text;
            if (!utf8ToCp1252Exactly(value, name, text, problem)) return false;
            // Trailing blanks are the field's own padding, so they never count against it.
            text.erase(text.find_last_not_of(' ') + 1);
            if (text.size() > column.width) {
                problem = std::string(name) + " is " + std::to_string(text.size()) +
                          " characters long; it holds at most " + std::to_string(column.width);
                return false;
            }
            std::memcpy(field, text.data(), text.size());
            std::memset(field + text.size(), ' ', column.width - text.size());
            return true;
        }
        case ColumnKind::kByte: {
            unsigned number = 0;
            if (!value.empty() && (!parseWhole(value, number) || number > 255)) {
                problem = std::string(name) + " " + quoted(value) +
                          " is not a whole number from 0 to 255";
                return false;
            }
            *field = static_cast<std::uint8_t>(number);
            return true;
        }
        case ColumnKind::kDate:
        case ColumnKind::kTime: {
            const bool isDate = column.kind == ColumnKind::kDate;
            std::int32_t number = 0;
            const bool ok = value.empty() || parseWhole(value, number) ||
                            (isDate ? parseIsoDate(value, number) : parseClockTime(value, number));
            if (!ok) {
                problem = std::string(name) + " " + quoted(value) +
                          (isDate ? " is neither a date YYYY-MM-DD from 1801 to 2099 nor a day "
                                    "number"
                                  : " is neither a time HH:MM:SS.hh nor a number");
                return false;
            }
            std::memcpy(field, &number, sizeof number);
            return true;
        }
    }
    return false;
}

}  // namespace quillery
