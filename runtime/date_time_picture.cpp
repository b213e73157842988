// What date and time pictures share: their modifiers, digits written into positions, and the
// letters of typed text.
#include "runtime/date_time_picture.h"

#include "runtime/case_compare.h"
#include "runtime/char_tables.h"

namespace quillery::date_time_picture {

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

void addTemplate(std::vector<PicturePosition>& positions, std::string_view text,
                 PicturePosition (*decode)(char)) {
    for (char c : text)
        positions.push_back(decode(c));
}

void addRun(std::vector<PicturePosition>& positions, int count, PicturePosition position) {
    for (int k = 0; k < count; ++k)
        positions.push_back(position);
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

bool acceptSeparator(char c, char) {
    return !isWordChar(c);
}
bool acceptLiteral(char c, char wanted) {
    return sameLetter(c, wanted);
}

}  // namespace quillery::date_time_picture
