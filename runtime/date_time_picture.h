// What date and time pictures share: the modifiers after the picture number, digits written
// into positions, and typed text read back part by part. For date_picture.cpp and
// time_picture.cpp only; the pictures themselves are in runtime/date_picture.h and
// runtime/time_picture.h.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/picture_descriptor.h"

namespace quillery::date_time_picture {

inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
// Month, day, year, hour, minute and second positions: the ones that show digits.
bool isDigitCode(PositionCode code);
// Letters and digits of Windows-1252 text; everything else separates the parts of a date.
bool isWordChar(char c);
bool isLetter(char c);
// The character tables' upper case, so accented month names and AM/PM letters match too.
char tableUpper(char c);
bool sameLetter(char a, char b);

// Appends the positions a template's letters stand for, each decoded by `decode`.
void addTemplate(std::vector<PicturePosition>& positions, std::string_view text,
                 PicturePosition (*decode)(char));
void addRun(std::vector<PicturePosition>& positions, int count, PicturePosition position);

// Reads the picture number after the optional fill character. `fill` is 0 when none is given.
bool readFillAndNumber(std::string_view body, std::size_t& i, char& fill, int& number);
// The separator modifier: the character every separator position shows instead; 0 for none.
char readSeparatorModifier(std::string_view body, std::size_t& i);
// Reads the blank-when-zero flag; true when the picture text ends there.
bool readBlankFlagAndEnd(std::string_view body, std::size_t& i, CompiledPicture& picture);
// Applies a fill character and a separator modifier to the compiled positions.
void applyModifiers(CompiledPicture& picture, char fill, char separator);

// The positions of one part starting at `i`: a run of one digit or name code; literals and
// separators stand alone.
std::size_t runLength(const std::vector<PicturePosition>& positions, std::size_t i);
// Appends `value` in `count` digit positions: a zero shows the position's fill while every
// digit before it is zero too, and the last digit always shows.
void appendDigits(std::string& out, int value, const PicturePosition* positions, std::size_t count);

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

// What TextReader::consumeIf accepts at a separator position and at a literal one.
bool acceptSeparator(char c, char);
bool acceptLiteral(char c, char wanted);

}  // namespace quillery::date_time_picture
