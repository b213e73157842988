// The exact decimal digits of a value, for pictures that place digits one by one. Doubles are
// taken by their shortest round-trip decimal text, so 9.995 is the digits 9, 9, 9, 5 and rounds
// the way a reader of the number expects. Lives on the stack: no allocation.
#pragma once

#include <cstdint>
#include <string_view>

namespace quillery {

class DecimalText {
  public:
    explicit DecimalText(double value);
    explicit DecimalText(std::int64_t value);

    // Rounds to `decimals` fraction digits, half away from zero, carrying into the integer
    // part (a carry out of the top digit adds a leading 1). Fraction digits beyond the value's
    // own are zeros and need no rounding.
    void roundTo(int decimals);

    bool finite() const { return finite_; }
    // Negative and not zero: a value that rounds to zero loses its sign.
    bool negative() const { return negative_ && !isZero(); }
    bool isZero() const;
    // Without leading zeros; "0" for values below 1.
    std::string_view integerDigits() const {
        return {buffer_ + intBegin_, size_t(intEnd_ - intBegin_)};
    }
    // As many fraction digits as the value has (after roundTo, at most `decimals`).
    std::string_view fractionDigits() const {
        return {buffer_ + intEnd_, size_t(fracEnd_ - intEnd_)};
    }

  private:
    void setDigits(const char* begin, const char* end);

    static constexpr int kCapacity = 400;  // the longest fixed-notation double is ~330 chars
    char buffer_[kCapacity];
    int intBegin_ = 1;  // buffer_[0] is kept free for a carry's leading 1
    int intEnd_ = 1;
    int fracEnd_ = 1;
    bool negative_ = false;
    bool finite_ = true;
};

}  // namespace quillery
