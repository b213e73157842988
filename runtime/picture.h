// Display pictures: FORMAT turns a value into the text a picture shows, DEFORMAT reads typed
// or displayed text back into a value. Texts are Windows-1252.
//
// A picture may be written with or without its leading '@' and its letters in either case
// ("@n5", "N5"); trailing blanks (of a picture kept in a fixed-length field) are ignored. Pictures
// are compiled once and kept in a cache keyed by their text, so callers may pass the same text row
// after row; hot loops can look the picture up once with findPicture() and use the overloads that
// take the compiled form and an output buffer. The pictures built from the system's date and time
// formats are compiled again when those change.
//
// Values:
// - FORMAT of a number (double or integer) shows it through the picture: as a number for @N
//   and @E, as a day number for @D, as a time of day for @T, by its digits for @P; for @S and
//   @K as its plain decimal text ("42", "1234.5").
// - FORMAT of a text copies it for @S and @K; for the other kinds the text is first read as a
//   number (leading blanks, sign, digits, decimal point, exponent; 0 when it holds none).
// - An invalid picture formats to an empty text and deformats to an empty text.
//
// DEFORMAT returns the value as text:
// - @N: the sign, digits and decimal point found ("-1234.50"), leading zeros dropped, the
//   decimal point always '.'; an empty text when the text holds no digit. @E adds "e" and the
//   exponent's sign and digits.
// - @D: the day number in decimal ("72687"); "-1" for an impossible date, "0" for a text
//   without any date digits.
// - @T: the time of day in decimal; "-1" for an impossible time, "0" for no digits.
// - @P: the digits found at the digit positions, leading zeros dropped.
// - @K: the characters standing at the positions that take typed characters.
// - @S: the text unchanged.
// deformatNumber() gives the same value as a number for numeric use variables.
//
// Choices made where the pictures leave room:
// - Number pictures: a leading currency and a leading '-' or '(' float right up to the first
//   shown digit when the fill is spaces ("    $-1.00", not "$-    1.00"); with a '0' or '*'
//   fill they stay at the left edge. Grouping positions with no digit to their left show the
//   fill character. A value that does not fit shows '#' at every digit and grouping position;
//   its sign positions show spaces. The leftmost integer position is never a grouping position.
//   A picture without a sign position has nowhere to show a minus: negative values show their
//   digits only. Only an exact zero is blank under 'B'.
// - Rounding is decimal: the value's shortest exact decimal text is rounded half away from
//   zero, so 9.995 shown with two decimals is 10.00.
// - @E: @Ewidth[decimal char decimals][B] (width 7..255). The mantissa has one digit before
//   the decimal character and the given number of decimals, the exponent is 'e', a sign and at
//   least two digits ("1.23e+04"); the whole is right-justified, a leading '-' for negatives,
//   and '#' everywhere when it does not fit.
// - @D/@T fill characters replace the leading-zero fill of each part: a part's zero digit shows
//   the fill only while every digit before it in the part is zero too, so 10 never reads "1_".
//   A run of month-name positions shows the first letters of the month's name; without an
//   explicit fill the unused positions are not written, so the rest of the text moves left.
// - @D17/@D18 (locale short and long date patterns): d -> Dd, dd -> dd, ddd/dddd -> weekday
//   name (3 or 9 positions, English names), M -> Mm, MM -> mm, MMM -> 3 month-name positions,
//   MMMM -> 12, y/yy -> yy, yyy/yyyy -> yyyy, '/', '-' and '.' separators, quoted text and
//   other characters literal ('' inside quotes is a quote).
// - @T7/@T8: hour (hh with iTLzero, else Hh), sTime, mm[, sTime, ss], then when iTime is 0 a
//   space, the AM/PM letter from s1159/s2359 and 'M'.
// - Time 0 (no time) and any time outside 1..8640000 show as spaces; day numbers outside
//   4..109211 show as spaces.
// - @P: the value's integer part, sign dropped, fills the digit positions from the right; a
//   value with more digits than positions shows '#' at every digit position.
// - DEFORMAT of dates and times reads each part's digits in order, passing over separators;
//   blanks and fill characters standing in a part's own leading positions count as its
//   leading zeros (" 010" with @T2 is 0:10); a two-digit year field followed by a separator or
//   the end also takes a four-digit year. A part missing from the text makes the date
//   impossible (-1); a month name matches the abbreviations or the first three letters of the
//   full names, case ignored. DEFORMAT of times takes missing minutes and seconds as 0.
// - @K DEFORMAT keeps typed characters at '#' and '<' positions as well as at '@', '^', '_'
//   and '?' positions, so digits keyed into a key-in picture are never lost.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/picture_descriptor.h"

namespace quillery {

// The compiled picture from the cache, compiling it on first use; nullptr when the picture is
// invalid. The pointer stays valid for the rest of the run.
const CompiledPicture* findPicture(std::string_view picture);

std::string FORMAT(double value, std::string_view picture);
std::string FORMAT(std::int64_t value, std::string_view picture);
std::string FORMAT(int value, std::string_view picture);
std::string FORMAT(std::string_view text, std::string_view picture);
inline std::string FORMAT(const char* text, std::string_view picture) {
    return FORMAT(std::string_view(text), picture);
}
inline std::string FORMAT(const std::string& text, std::string_view picture) {
    return FORMAT(std::string_view(text), picture);
}

std::string DEFORMAT(std::string_view text, std::string_view picture);
// DEFORMAT's value as a number (0 for an invalid picture or an empty result).
double deformatNumber(std::string_view text, std::string_view picture);

// Allocation-light forms for loops: `out` is overwritten and keeps its capacity.
void formatInto(std::string& out, double value, const CompiledPicture& picture);
void formatInto(std::string& out, std::int64_t value, const CompiledPicture& picture);
void formatInto(std::string& out, std::string_view text, const CompiledPicture& picture);
void deformatInto(std::string& out, std::string_view text, const CompiledPicture& picture);
double deformatNumber(std::string_view text, const CompiledPicture& picture);

// Reads a number from text the way FORMAT reads a text given for a numeric picture.
double textToNumber(std::string_view text);

}  // namespace quillery
