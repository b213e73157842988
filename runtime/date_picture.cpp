// Date pictures. Each numbered picture is built from a template in which an upper-case letter
// is a digit with no leading zero (fill ' ') and a lower-case letter a digit with a leading zero
// (fill '0'); the system's own date formats are translated into the same positions.
#include "runtime/date_picture.h"

#include <array>

#include "runtime/case_compare.h"
#include "runtime/date_time_picture.h"
#include "runtime/dates.h"
#include "runtime/locale_settings.h"

namespace quillery {
namespace {

using namespace date_time_picture;

// Date templates: M/m month, D/d day, y year, N month-name letter, '/' separator.
constexpr std::array<std::string_view, 16> kDateTemplates = {
    "Mm/dd/yy", "Mm/dd/yyyy", "NNN Dd,yyyy", "NNNNNNNNNNNN Dd, yyyy",
    "Dd/mm/yy", "Dd/mm/yyyy", "Dd NNN yy",   "Dd NNN yyyy",
    "yy/mm/dd", "yyyy/mm/dd", "yymmdd",      "yyyymmdd",
    "mm/yy",    "mm/yyyy",    "yy/mm",       "yyyy/mm",
};

constexpr std::array<std::string_view, 7> kWeekdayNames = {
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday",
};
// Day number 0 (28 December 1800) was a Sunday.
int weekdayOf(std::int32_t dayNumber) {
    return dayNumber % 7;
}

constexpr int kMonthNamePositions = 12;
constexpr int kLongWeekdayPositions = 9;
constexpr int kShortNamePositions = 3;

PicturePosition datePosition(char letter) {
    switch (letter) {
        case 'M':
            return {' ', PositionCode::Month};
        case 'm':
            return {'0', PositionCode::Month};
        case 'D':
            return {' ', PositionCode::Day};
        case 'd':
            return {'0', PositionCode::Day};
        case 'y':
            return {'0', PositionCode::Year};
        case 'N':
            return {' ', PositionCode::MonthName};
        case '/':
            return {'/', PositionCode::Separator};
        default:
            return {letter, PositionCode::Literal};
    }
}

// Translates a system date pattern (d, dd, ddd, dddd, M, MM, MMM, MMMM, y, yy, yyyy, quoted
// text) into date positions.
void addLocaleDatePattern(std::vector<PicturePosition>& positions, std::string_view pattern) {
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (c == '\'') {
            // Quoted text up to the closing quote; a doubled quote inside stands for itself.
            ++i;
            while (i < pattern.size()) {
                if (pattern[i] == '\'') {
                    if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
                        positions.push_back({'\'', PositionCode::Literal});
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                positions.push_back({pattern[i++], PositionCode::Literal});
            }
            continue;
        }
        std::size_t run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c)
            ++run;
        if (c == 'd') {
            if (run == 1) addTemplate(positions, "Dd", datePosition);
            if (run == 2) addTemplate(positions, "dd", datePosition);
            if (run >= 3) {
                addRun(positions, run == 3 ? kShortNamePositions : kLongWeekdayPositions,
                       {' ', PositionCode::WeekdayName});
            }
        } else if (c == 'M') {
            if (run == 1) addTemplate(positions, "Mm", datePosition);
            if (run == 2) addTemplate(positions, "mm", datePosition);
            if (run >= 3) {
                addRun(positions, run == 3 ? kShortNamePositions : kMonthNamePositions,
                       {' ', PositionCode::MonthName});
            }
        } else if (c == 'y') {
            addTemplate(positions, run <= 2 ? "yy" : "yyyy", datePosition);
        } else {
            const PositionCode code =
                c == '/' || c == '-' || c == '.' ? PositionCode::Separator : PositionCode::Literal;
            addRun(positions, static_cast<int>(run), {c, code});
        }
        i += run;
    }
}

// Appends the first letters of `name`; the positions beyond it show the fill only when one
// was given, else they are left out.
void appendName(std::string& out, std::string_view name, const PicturePosition* positions,
                std::size_t count, bool padded) {
    for (std::size_t k = 0; k < count; ++k) {
        if (k < name.size()) {
            out.push_back(name[k]);
        } else if (padded) {
            out.push_back(positions[k].fill);
        }
    }
}

// A locale without a name for a month never matches it.
bool beginsWithName(std::string_view word, std::string_view name) {
    return !name.empty() && startsWithIgnoringCase(word, name, tableUpper);
}

// The month whose abbreviation (or the first three letters of its name) begins `word`; -1.
int monthOfWord(std::string_view word) {
    if (word.size() < kShortNamePositions) return -1;
    const LocaleSettings& locale = localeSettings();
    for (int m = 0; m < 12; ++m) {
        if (beginsWithName(word, locale.monthAbbrevs[m].substr(0, kShortNamePositions))) {
            return m + 1;
        }
    }
    for (int m = 0; m < 12; ++m) {
        if (beginsWithName(word, locale.monthNames[m].substr(0, kShortNamePositions))) {
            return m + 1;
        }
    }
    return -1;
}

}  // namespace

bool compileDatePicture(std::string_view body, CompiledPicture& picture) {
    picture.kind = PictureKind::Date;
    std::size_t i = 0;
    char fill = 0;
    int number = 0;
    if (!readFillAndNumber(body, i, fill, number) || number < 1 || number > 18) return false;

    if (i < body.size() && (body[i] == '<' || body[i] == '>')) {
        const bool earlier = body[i++] == '<';
        const std::size_t start = i;
        int c = 0;
        while (i < body.size() && isDigit(body[i]) && i - start < 2)
            c = c * 10 + (body[i++] - '0');
        if (i == start) return false;
        if (c == 0) c = kDefaultCenturyCutoff;
        picture.centuryCutoff = earlier ? c : 99 - c;
    }
    const char separator = readSeparatorModifier(body, i);
    if (!readBlankFlagAndEnd(body, i, picture)) return false;

    if (number <= 16) {
        addTemplate(picture.positions, kDateTemplates[number - 1], datePosition);
    } else {
        const LocaleSettings& locale = localeSettings();
        addLocaleDatePattern(picture.positions,
                             number == 17 ? locale.shortDatePattern : locale.longDatePattern);
    }
    applyModifiers(picture, fill, separator);
    return picture.length >= 1 && picture.length <= kMaxPictureLength;
}

void formatDate(std::string& out, std::int64_t dayNumber, const CompiledPicture& picture) {
    out.clear();
    if (dayNumber < kFirstDayNumber || dayNumber > kLastDayNumber) {
        out.assign(static_cast<std::size_t>(picture.length), ' ');
        return;
    }
    const auto n = static_cast<std::int32_t>(dayNumber);
    const int year = YEAR(n);
    const int month = MONTH(n);
    const int day = DAY(n);
    const LocaleSettings& locale = localeSettings();
    const std::vector<PicturePosition>& positions = picture.positions;
    for (std::size_t i = 0; i < positions.size();) {
        const PicturePosition& p = positions[i];
        const std::size_t run = runLength(positions, i);
        switch (p.code) {
            case PositionCode::Month:
                appendDigits(out, month, &p, run);
                break;
            case PositionCode::Day:
                appendDigits(out, day, &p, run);
                break;
            case PositionCode::Year:
                appendDigits(out, run <= 2 ? year % 100 : year, &p, run);
                break;
            case PositionCode::MonthName:
                appendName(out, locale.monthNames[month - 1], &p, run, picture.explicitFill);
                break;
            case PositionCode::WeekdayName:
                appendName(out, kWeekdayNames[weekdayOf(n)], &p, run, picture.explicitFill);
                break;
            default:
                out.append(run, p.fill);
                break;
        }
        i += run;
    }
    out.resize(static_cast<std::size_t>(picture.length), ' ');
}

std::int32_t deformatDate(std::string_view text, const CompiledPicture& picture) {
    int month = -1, day = -1, year = -1, yearDigits = 0;
    bool hasMonth = false, hasDay = false, hasYear = false, anyDigit = false;
    TextReader reader(text);
    const std::vector<PicturePosition>& positions = picture.positions;
    for (std::size_t i = 0; i < positions.size();) {
        const PicturePosition& p = positions[i];
        const std::size_t run = runLength(positions, i);
        const bool nextIsDigits =
            i + run < positions.size() && isDigitCode(positions[i + run].code);
        switch (p.code) {
            case PositionCode::Month:
            case PositionCode::Day:
            case PositionCode::Year: {
                // A short year field may take a full year when nothing follows it directly.
                const int maxDigits = p.code == PositionCode::Year && run <= 2 && !nextIsDigits
                                          ? 4
                                          : static_cast<int>(run);
                int value = 0;
                const int count = reader.readPart(static_cast<int>(run), maxDigits, value);
                anyDigit |= count > 0;
                if (p.code == PositionCode::Month) {
                    hasMonth = true;
                    if (count > 0) month = value;
                } else if (p.code == PositionCode::Day) {
                    hasDay = true;
                    if (count > 0) day = value;
                } else {
                    hasYear = true;
                    if (count > 0) year = value;
                    yearDigits = count;
                }
                break;
            }
            case PositionCode::MonthName:
                hasMonth = true;
                reader.skipSeparators();
                month = monthOfWord(reader.readWord());
                break;
            case PositionCode::WeekdayName:
                reader.skipSeparators();
                reader.readWord();
                break;
            case PositionCode::Separator:
                reader.consumeIf(acceptSeparator, p.fill);
                break;
            default:
                reader.consumeIf(acceptLiteral, p.fill);
                break;
        }
        i += run;
    }
    if (!anyDigit) return 0;
    if ((hasMonth && month < 0) || (hasDay && day < 0) || (hasYear && year < 0)) return -1;
    if (!hasDay) day = 1;
    if (!hasYear) {
        year = YEAR(TODAY());
        yearDigits = 4;
    }
    if (yearDigits <= 2) year = expandTwoDigitYear(year, picture.centuryCutoff);
    return dayNumberOf(year, month, day);
}

}  // namespace quillery
