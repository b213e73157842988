// The compiled form of a display picture: what kind of value it shows, how many characters it
// produces and, position by position, what goes where. Compiled once per picture text and then
// shared read-only by every FORMAT and DEFORMAT that names the picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillery {

inline constexpr int kMaxPictureLength = 255;

enum class PictureKind : std::uint8_t { Number, Scientific, Date, Time, Pattern, String, KeyIn };

enum class PositionCode : std::uint8_t {
    Literal,         // the character itself
    Digit,           // a digit always shown
    BlankDigit,      // a digit shown only when significant, else the fill character
    DecimalPoint,    // the decimal separator character
    ImpliedDecimal,  // no character; marks where the decimal point is
    Grouping,        // the grouping character, shown only with a digit to its left
    Sign,            // '-', '(' or ')' when negative, else a space
    Currency,        // one character of the currency text
    Month,           // one digit of the month
    Day,             // one digit of the day
    Year,            // one digit of the year (two or four in a run)
    MonthName,       // one letter of the month's name
    WeekdayName,     // one letter of the weekday's name (locale date formats only)
    Hour,
    Minute,
    Second,
    AmPm,       // the first letter of the AM or PM text
    Separator,  // a date or time separator a picture modifier may replace
    KeyAt,      // key-in positions written '@', '^', '_', '?' and '|'; their typing rules
    KeyCaret,   // belong to the entry control
    KeyUnderscore,
    KeyQuestion,
    KeyBar,
};

// One position: the fill or literal character and what the position holds. Digit positions of
// dates and times carry their fill (' ' for no leading zero, '0' for a leading zero).
struct PicturePosition {
    char fill = ' ';
    PositionCode code = PositionCode::Literal;
};

enum class NegativeStyle : std::uint8_t { None, LeadingMinus, TrailingMinus, Parentheses };

// The options of number and scientific pictures that the positions alone do not say.
struct NumberOptions {
    char fill = ' ';         // leading blank digits ('*' or '0'; '_' and default are spaces)
    char decimalChar = '.';  // as displayed; scientific pictures use it in the mantissa
    char grouping = 0;       // as displayed; 0 for none
    int decimals = 0;
    bool impliedDecimal = false;
    NegativeStyle negative = NegativeStyle::None;
    int integerDigits = 0;  // digit positions left of the decimal point
    int groupings = 0;      // grouping positions among them
    int leadingChars = 0;   // leading currency and sign characters, which may float right
};

struct CompiledPicture {
    PictureKind kind = PictureKind::String;
    bool blankWhenZero = false;
    int length = 0;  // characters produced, at most kMaxPictureLength
    int centuryCutoff = 80;
    // Dates: true when a fill character was given after the letter, so month and weekday
    // names are padded to their positions instead of leaving them unwritten.
    bool explicitFill = false;
    // Times: the AM/PM letter comes from the system texts (s1159/s2359), not the runtime's.
    bool systemAmPm = false;
    NumberOptions number;
    std::vector<PicturePosition> positions;
};

}  // namespace quillery
