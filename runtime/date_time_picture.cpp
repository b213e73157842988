// Date and time pictures. Each numbered picture is built from a template in which an upper-case
// letter is a digit with no leading zero (fill ' ') and a lower-case letter a digit with a
// leading zero (fill '0'); the system's own date and time formats are translated into the same
// positions.
#include "runtime/date_time_picture.h"

#include <array>

#include "runtime/case_compare.h"
#include "runtime/char_tables.h"
#include "runtime/dates.h"
#include "runtime/locale_settings.h"

namespace quillery {
namespace {

// Date templates: M/m month, D/d day, y year, N month-name letter, '/' separator.
constexpr std::array<std::string_view, 16> kDateTemplates = {
    "Mm/dd/yy", "Mm/dd/yyyy", "NNN Dd,yyyy", "NNNNNNNNNNNN Dd, yyyy",
    "Dd/mm/yy", "Dd/mm/yyyy", "Dd NNN yy",   "Dd NNN yyyy",
    "yy/mm/dd", "yyyy/mm/dd", "yymmdd",      "yyyymmdd",
    "mm/yy",    "mm/yyyy",    "yy/mm",       "yyyy/mm",
};
// Time templates: H/h hour, m minute, s second, X AM/PM letter, ':' separator.
constexpr std::array<std::string_view, 6> kTimeTemplates = {
    "Hh:mm", "Hhmm", "Hh:mmXM", "Hh:mm:ss", "Hhmmss", "Hh:mm:ssXM",
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
constexpr std::int32_t kLastTimeOfDay = 8640000;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isDigitCode(PositionCode code) {
    return code == PositionCode::Month || code == PositionCode::Day || code == PositionCode::Year ||
           code == PositionCode::Hour || code == PositionCode::Minute ||
           code == PositionCode::Second;
}
// Letters and digits of Windows-1252 text; everything else separates the parts of a date.
bool isWordChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return isDigit(c) || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u >= 0xC0 ||
           u == 0x8A || u == 0x8C || u == 0x8E || u == 0x9A || u == 0x9C || u == 0x9E || u == 0x9F;
}
bool isLetter(char c) {
    return isWordChar(c) && !isDigit(c);
}
// Letters compared by the character tables' upper case, so accented month names match too.
char tableUpper(char c) {
    return static_cast<char>(toUpperChar(static_cast<unsigned char>(c)));
}
bool sameLetter(char a, char b) {
    return tableUpper(a) == tableUpper(b);
}

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

PicturePosition timePosition(char letter) {
    switch (letter) {
        case 'H':
            return {' ', PositionCode::Hour};
        case 'h':
            return {'0', PositionCode::Hour};
        case 'm':
            return {'0', PositionCode::Minute};
        case 's':
            return {'0', PositionCode::Second};
        case 'X':
            return {' ', PositionCode::AmPm};
        case ':':
            return {':', PositionCode::Separator};
        default:
            return {letter, PositionCode::Literal};
    }
}

void addTemplate(std::vector<PicturePosition>& positions, std::string_view text,
                 PicturePosition (*decode)(char)) {
    for (char c : text)
        positions.push_back(decode(c));
}

void addRun(std::vector<PicturePosition>& positions, int count, PicturePosition position) {
    for (int k = 0; k < count; ++k)
        positions.push_back(position);
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

void addLocaleTime(std::vector<PicturePosition>& positions, bool withSeconds) {
    const LocaleSettings& locale = localeSettings();
    addTemplate(positions, locale.timeLeadingZero ? "hh" : "Hh", timePosition);
    for (char c : locale.timeSeparator)
        positions.push_back({c, PositionCode::Separator});
    addTemplate(positions, "mm", timePosition);
    if (withSeconds) {
        for (char c : locale.timeSeparator)
            positions.push_back({c, PositionCode::Separator});
        addTemplate(positions, "ss", timePosition);
    }
    if (locale.timeFormat24 == 0) addTemplate(positions, " XM", timePosition);
}

// Reads the picture number after the optional fill character. `fill` is 0 when none is given.
bool readFillAndNumber(std::string_view body, std::size_t& i, char& fill, int& number) {
    fill = 0;
    if (i < body.size() && (body[i] == '_' || body[i] == '*')) {
        fill = body[i++];
    } else if (i + 1 < body.size() && body[i] == '0' && isDigit(body[i + 1])) {
        fill = body[i++];
    }
    const std::size_t start = i;
    number = 0;
    while (i < body.size() && isDigit(body[i]) && i - start < 2)
        number = number * 10 + (body[i++] - '0');
    return i > start && !(i < body.size() && isDigit(body[i]));
}

// The separator modifier: the character every separator position shows instead; 0 for none.
char readSeparatorModifier(std::string_view body, std::size_t& i) {
    if (i >= body.size()) return 0;
    switch (body[i]) {
        case '.':
            ++i;
            return '.';
        case '-':
            ++i;
            return '-';
        case '_':
            ++i;
            return ' ';
        case '`':
            ++i;
            return ',';
        default:
            return 0;
    }
}

bool readBlankFlagAndEnd(std::string_view body, std::size_t& i, CompiledPicture& picture) {
    if (i < body.size() && (body[i] == 'B' || body[i] == 'b')) {
        picture.blankWhenZero = true;
        ++i;
    }
    return i == body.size();
}

// Applies a fill character and a separator modifier to the compiled positions.
void applyModifiers(CompiledPicture& picture, char fill, char separator) {
    for (PicturePosition& p : picture.positions) {
        if (p.code == PositionCode::Separator && separator != 0) p.fill = separator;
        if (fill != 0 && (isDigitCode(p.code) || p.code == PositionCode::MonthName ||
                          p.code == PositionCode::WeekdayName)) {
            p.fill = fill == '_' ? ' ' : fill;
        }
    }
    picture.explicitFill = fill != 0;
    int length = 0;
    for (const PicturePosition& p : picture.positions)
        length += p.code != PositionCode::ImpliedDecimal;
    picture.length = length;
}

// The positions of one part starting at `i`: a run of one digit or name code; literals and
// separators stand alone.
std::size_t runLength(const std::vector<PicturePosition>& positions, std::size_t i) {
    const PositionCode code = positions[i].code;
    if (code == PositionCode::Literal || code == PositionCode::Separator) return 1;
    std::size_t end = i + 1;
    while (end < positions.size() && positions[end].code == positions[i].code)
        ++end;
    return end - i;
}

// Appends `value` in `count` digit positions: a zero shows the position's fill while every
// digit before it is zero too, and the last digit always shows.
void appendDigits(std::string& out, int value, const PicturePosition* positions,
                  std::size_t count) {
    char digits[4] = {'0', '0', '0', '0'};
    const std::size_t shown = count > 4 ? 4 : count;
    for (std::size_t k = shown; k-- > 0;) {
        digits[k] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    bool leading = true;
    for (std::size_t k = 0; k < count; ++k) {
        const char digit = k < shown ? digits[k] : '0';
        if (leading && digit == '0' && k + 1 < count) {
            out.push_back(positions[k].fill);
        } else {
            out.push_back(digit);
            leading = false;
        }
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

// A cursor over typed text for reading a date or time part by part.
class TextReader {
  public:
    explicit TextReader(std::string_view text) : text_(text) {}

    void skipSeparators() {
        while (at_ < text_.size() && !isWordChar(text_[at_]))
            ++at_;
    }
    // Reads the digits of one part `width` positions wide (up to `maxDigits` when the part may
    // take more). Blanks and fill characters in front of the digits stand in the part's own
    // leading positions when there are fewer of them than the part is wide, so " 010" reads
    // as hour 0 and minute 10; longer runs of blanks are passed over as separators.
    // Returns how many digits were read.
    int readPart(int width, int maxDigits, int& value) {
        const std::size_t start = at_;
        skipSeparators();
        const int blanks = static_cast<int>(at_ - start);
        return readNumber(blanks < width ? maxDigits - blanks : maxDigits, value);
    }
    std::string_view readWord() {
        const std::size_t start = at_;
        while (at_ < text_.size() && isLetter(text_[at_]))
            ++at_;
        return text_.substr(start, at_ - start);
    }
    bool consumeIf(bool (*accept)(char, char), char wanted) {
        if (at_ < text_.size() && accept(text_[at_], wanted)) {
            ++at_;
            return true;
        }
        return false;
    }

  private:
    // Reads up to `maxDigits` digits; returns how many were read.
    int readNumber(int maxDigits, int& value) {
        int count = 0;
        value = 0;
        while (at_ < text_.size() && count < maxDigits && isDigit(text_[at_])) {
            value = value * 10 + (text_[at_++] - '0');
            ++count;
        }
        return count;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

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

bool acceptSeparator(char c, char) {
    return !isWordChar(c);
}
bool acceptLiteral(char c, char wanted) {
    return sameLetter(c, wanted);
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

bool compileTimePicture(std::string_view body, CompiledPicture& picture) {
    picture.kind = PictureKind::Time;
    std::size_t i = 0;
    char fill = 0;
    int number = 0;
    if (!readFillAndNumber(body, i, fill, number) || number < 1 || number > 8) return false;
    const char separator = readSeparatorModifier(body, i);
    if (!readBlankFlagAndEnd(body, i, picture)) return false;

    if (number <= 6) {
        addTemplate(picture.positions, kTimeTemplates[number - 1], timePosition);
    } else {
        addLocaleTime(picture.positions, number == 8);
        picture.systemAmPm = true;
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

void formatTime(std::string& out, std::int64_t time, const CompiledPicture& picture) {
    out.clear();
    if (time < 1 || time > kLastTimeOfDay) {
        out.assign(static_cast<std::size_t>(picture.length), ' ');
        return;
    }
    const TimeFields fields = timeFields(static_cast<std::int32_t>(time));
    bool twelveHour = false;
    for (const PicturePosition& p : picture.positions)
        twelveHour |= p.code == PositionCode::AmPm;
    int hour = fields.hours;
    if (twelveHour) hour = hour % 12 == 0 ? 12 : hour % 12;
    const bool pm = fields.hours >= 12;

    const std::vector<PicturePosition>& positions = picture.positions;
    for (std::size_t i = 0; i < positions.size();) {
        const PicturePosition& p = positions[i];
        const std::size_t run = runLength(positions, i);
        switch (p.code) {
            case PositionCode::Hour:
                appendDigits(out, hour, &p, run);
                break;
            case PositionCode::Minute:
                appendDigits(out, fields.minutes, &p, run);
                break;
            case PositionCode::Second:
                appendDigits(out, fields.seconds, &p, run);
                break;
            case PositionCode::AmPm: {
                const LocaleSettings& locale = localeSettings();
                const std::string& text = picture.systemAmPm
                                              ? (pm ? locale.systemPm : locale.systemAm)
                                              : (pm ? locale.pm : locale.am);
                out.append(run, text.empty() ? ' ' : text[0]);
                break;
            }
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

std::int32_t deformatTime(std::string_view text, const CompiledPicture& picture) {
    int hour = 0, minute = 0, second = 0;
    bool anyDigit = false, am = false, pm = false;
    TextReader reader(text);
    const LocaleSettings& locale = localeSettings();
    const std::string& amText = picture.systemAmPm ? locale.systemAm : locale.am;
    const std::string& pmText = picture.systemAmPm ? locale.systemPm : locale.pm;
    const std::vector<PicturePosition>& positions = picture.positions;
    for (std::size_t i = 0; i < positions.size();) {
        const PicturePosition& p = positions[i];
        const std::size_t run = runLength(positions, i);
        switch (p.code) {
            case PositionCode::Hour:
            case PositionCode::Minute:
            case PositionCode::Second: {
                int value = 0;
                const int count =
                    reader.readPart(static_cast<int>(run), static_cast<int>(run), value);
                anyDigit |= count > 0;
                int& part = p.code == PositionCode::Hour     ? hour
                            : p.code == PositionCode::Minute ? minute
                                                             : second;
                if (count > 0) part = value;
                break;
            }
            case PositionCode::AmPm:
                reader.skipSeparators();
                if (!pmText.empty() && reader.consumeIf(acceptLiteral, pmText[0])) {
                    pm = true;
                } else if (!amText.empty() && reader.consumeIf(acceptLiteral, amText[0])) {
                    am = true;
                }
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
    if (hour >= 24 || minute >= 60 || second >= 60) return -1;
    if (pm && hour != 12) hour += 12;
    if (am && hour == 12) hour = 0;
    if (hour >= 24) return -1;
    return timeOfDay(hour, minute, second, 0);
}

}  // namespace quillery
