// Exact decimal digits of doubles and integers, and decimal rounding half away from zero.
#include "runtime/picture_decimal.h"

#include <charconv>
#include <cmath>

namespace quillery {

DecimalText::DecimalText(double value) {
    if (!std::isfinite(value)) {
        finite_ = false;
        setDigits("0", "0" + 1);
        return;
    }
    negative_ = std::signbit(value);
    char text[kCapacity];
    const auto result =
        std::to_chars(text, text + sizeof text, std::fabs(value), std::chars_format::fixed);
    if (result.ec != std::errc()) {
        finite_ = false;
        setDigits("0", "0" + 1);
        return;
    }
    setDigits(text, result.ptr);
}

DecimalText::DecimalText(std::int64_t value) {
    negative_ = value < 0;
    char text[32];
    // Through unsigned so the most negative value has a magnitude too.
    std::uint64_t magnitude =
        negative_ ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    const auto result = std::to_chars(text, text + sizeof text, magnitude);
    setDigits(text, result.ptr);
}

// Copies "ddd[.fff]" into the buffer as integer digits without leading zeros and fraction digits
// without the point.
void DecimalText::setDigits(const char* begin, const char* end) {
    const char* point = begin;
    while (point != end && *point != '.')
        ++point;
    const char* firstSignificant = begin;
    while (firstSignificant + 1 < point && *firstSignificant == '0')
        ++firstSignificant;
    int at = 1;
    for (const char* p = firstSignificant; p != point; ++p)
        buffer_[at++] = *p;
    if (at == 1) buffer_[at++] = '0';
    intBegin_ = 1;
    intEnd_ = at;
    if (point != end) {
        for (const char* p = point + 1; p != end; ++p)
            buffer_[at++] = *p;
    }
    fracEnd_ = at;
}

bool DecimalText::isZero() const {
    for (int i = intBegin_; i < fracEnd_; ++i) {
        if (buffer_[i] != '0') return false;
    }
    return true;
}

void DecimalText::roundTo(int decimals) {
    if (decimals < 0) decimals = 0;
    const int keepEnd = intEnd_ + decimals;
    if (keepEnd >= fracEnd_) return;
    const bool roundUp = buffer_[keepEnd] >= '5';
    fracEnd_ = keepEnd;
    if (!roundUp) return;
    for (int i = keepEnd - 1; i >= intBegin_; --i) {
        if (buffer_[i] != '9') {
            ++buffer_[i];
            return;
        }
        buffer_[i] = '0';
    }
    // Carried out of the top digit. The integer part was "0" only when a fraction digit
    // carried into it, and then it is now "1" by the loop above, so here it was all nines.
    buffer_[--intBegin_] = '1';
}

}  // namespace quillery
