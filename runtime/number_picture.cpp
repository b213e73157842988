// Number and scientific pictures. A number picture is laid out from the right: trailing currency
// and sign, the decimal places, the decimal point, then the integer positions with a grouping
// position at every fourth place.
#include "runtime/number_picture.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace quillery {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isSeparatorChar(char c) {
    return c == '.' || c == '`' || c == '_' || c == 'v' || c == 'V';
}
bool isImplied(char c) {
    return c == 'v' || c == 'V';
}

// The character a separator letter of the picture stands for on screen.
char shownSeparator(char c) {
    switch (c) {
        case '`':
            return ',';
        case '_':
            return ' ';
        default:
            return c;
    }
}

// Reads up to three digits as a count; false when there are none or the count is too large.
bool readCount(std::string_view body, std::size_t& i, int& count) {
    const std::size_t start = i;
    count = 0;
    while (i < body.size() && isDigit(body[i])) {
        count = count * 10 + (body[i] - '0');
        if (++i - start > 3) return false;
    }
    return i > start;
}

// A currency text: '$' or anything between two '~'. Sets `present`; false when a '~' is not
// closed.
bool readCurrency(std::string_view body, std::size_t& i, std::string& currency, bool& present) {
    present = false;
    if (i >= body.size()) return true;
    if (body[i] == '$') {
        currency.assign(1, '$');
        present = true;
        ++i;
    } else if (body[i] == '~') {
        const std::size_t close = body.find('~', i + 1);
        if (close == std::string_view::npos) return false;
        currency = std::string(body.substr(i + 1, close - i - 1));
        present = true;
        i = close + 1;
    }
    return true;
}

void addChars(CompiledPicture& picture, std::string_view text, PositionCode code) {
    for (char c : text)
        picture.positions.push_back({c, code});
}

// Appends the integer positions from the left: blank digits, the units digit, and a grouping
// position at every fourth place from the right except the leftmost.
void addIntegerPositions(CompiledPicture& picture, int count, char grouping) {
    NumberOptions& n = picture.number;
    for (int k = count; k >= 1; --k) {
        if (grouping != 0 && k % 4 == 0 && k != count) {
            picture.positions.push_back({grouping, PositionCode::Grouping});
            ++n.groupings;
        } else {
            picture.positions.push_back(
                {n.fill, k == 1 ? PositionCode::Digit : PositionCode::BlankDigit});
            ++n.integerDigits;
        }
    }
}

// Moves the leading currency and a shown sign right up to the first shown digit, so a short
// value in a wide field reads "   $-12" rather than "$-   12".
void floatLeadingBlock(std::string& out, const NumberOptions& n) {
    const int lead = n.leadingChars;
    int first = lead;
    while (first < static_cast<int>(out.size()) && out[first] == ' ')
        ++first;
    if (first == lead) return;
    char block[kMaxPictureLength];
    int blockLength = 0;
    for (int i = 0; i < lead; ++i) {
        if (out[i] != ' ') block[blockLength++] = out[i];
        out[i] = ' ';
    }
    std::copy(block, block + blockLength, out.begin() + (first - blockLength));
}

// The picture's currency text, which the typed text may repeat and deformatting passes over.
std::string_view currencyOf(const CompiledPicture& picture, std::string& currency) {
    currency.clear();
    for (const PicturePosition& p : picture.positions) {
        if (p.code == PositionCode::Currency) currency.push_back(p.fill);
    }
    return currency;
}

bool isDecimalAt(std::string_view text, std::size_t i, char decimalChar) {
    if (text[i] != decimalChar) return false;
    // A space stands for the decimal point only between two digits.
    return decimalChar != ' ' ||
           (i > 0 && i + 1 < text.size() && isDigit(text[i - 1]) && isDigit(text[i + 1]));
}

// What a number picture's text says beyond the options it sets directly: the currency texts
// and the letters the positions are laid out from.
struct NumberPictureText {
    std::string frontCurrency;
    std::string backCurrency;
    char fillLetter = 0;
    char groupingLetter = 0;
    char decimalLetter = 0;
    int width = 0;
};

// Reads the picture text after its letter: the sign style, fill, decimal places, decimal
// character and blank-when-zero flag go into `picture`, the rest into `text`. False when the
// text is no number picture.
bool parseNumberPicture(std::string_view body, NumberPictureText& text, CompiledPicture& picture) {
    NumberOptions& n = picture.number;
    std::size_t i = 0;

    bool hasFrontCurrency = false;
    if (!readCurrency(body, i, text.frontCurrency, hasFrontCurrency)) return false;

    if (i < body.size() && body[i] == '-') {
        n.negative = NegativeStyle::LeadingMinus;
        ++i;
    } else if (i < body.size() && body[i] == '(') {
        n.negative = NegativeStyle::Parentheses;
        ++i;
    }

    char& fillLetter = text.fillLetter;
    if (i < body.size() && (body[i] == '_' || body[i] == '*')) {
        fillLetter = body[i++];
    } else if (i + 1 < body.size() && body[i] == '0' && isDigit(body[i + 1])) {
        fillLetter = body[i++];
    }
    n.fill = fillLetter == 0 || fillLetter == '_' ? ' ' : fillLetter;

    if (!readCount(body, i, text.width) || text.width < 1 || text.width > kMaxPictureLength)
        return false;

    char& groupingLetter = text.groupingLetter;
    char& decimalLetter = text.decimalLetter;
    if (i < body.size() && isSeparatorChar(body[i])) {
        const char first = body[i++];
        if (i < body.size() && isSeparatorChar(body[i])) {
            groupingLetter = first;
            decimalLetter = body[i++];
            if (i < body.size() && isDigit(body[i]) && !readCount(body, i, n.decimals))
                return false;
        } else if (i < body.size() && isDigit(body[i])) {
            decimalLetter = first;
            if (!readCount(body, i, n.decimals)) return false;
        } else {
            groupingLetter = first;
        }
        if (isImplied(groupingLetter)) return false;
    }
    n.impliedDecimal = isImplied(decimalLetter) && n.decimals > 0;
    if (decimalLetter != 0 && !isImplied(decimalLetter))
        n.decimalChar = shownSeparator(decimalLetter);

    if (i < body.size() && body[i] == '-') {
        if (n.negative != NegativeStyle::None) return false;
        n.negative = NegativeStyle::TrailingMinus;
        ++i;
    }
    const bool closed = i < body.size() && body[i] == ')';
    if (closed) ++i;
    if (closed != (n.negative == NegativeStyle::Parentheses)) return false;

    bool hasBackCurrency = false;
    if (!readCurrency(body, i, text.backCurrency, hasBackCurrency)) return false;
    if (hasFrontCurrency && hasBackCurrency) return false;

    if (i < body.size() && (body[i] == 'B' || body[i] == 'b')) {
        picture.blankWhenZero = true;
        ++i;
    }
    return i == body.size();
}

// Lays out the positions of a parsed picture in order: leading currency and sign, the
// integer positions with their groupings, the decimals, trailing sign and currency. False when
// the width leaves no room for an integer digit.
bool layOutNumberPositions(const NumberPictureText& text, CompiledPicture& picture) {
    NumberOptions& n = picture.number;
    char& grouping = n.grouping;
    if (text.groupingLetter != 0) {
        grouping = shownSeparator(text.groupingLetter);
    } else if (text.fillLetter != '0' && text.fillLetter != '_') {
        grouping = text.decimalLetter == '`' ? '.' : ',';
    }

    const int signChars = n.negative == NegativeStyle::None          ? 0
                          : n.negative == NegativeStyle::Parentheses ? 2
                                                                     : 1;
    const int decimalChars = n.decimals > 0 ? n.decimals + (n.impliedDecimal ? 0 : 1) : 0;
    const int currencyChars =
        static_cast<int>(text.frontCurrency.size() + text.backCurrency.size());
    const int integerPositions = text.width - signChars - decimalChars - currencyChars;
    if (integerPositions < 1) return false;

    addChars(picture, text.frontCurrency, PositionCode::Currency);
    if (n.negative == NegativeStyle::LeadingMinus) addChars(picture, "-", PositionCode::Sign);
    if (n.negative == NegativeStyle::Parentheses) addChars(picture, "(", PositionCode::Sign);
    n.leadingChars = static_cast<int>(picture.positions.size());
    addIntegerPositions(picture, integerPositions, grouping);
    if (n.decimals > 0) {
        picture.positions.push_back(
            {n.impliedDecimal ? '\0' : n.decimalChar,
             n.impliedDecimal ? PositionCode::ImpliedDecimal : PositionCode::DecimalPoint});
        for (int d = 0; d < n.decimals; ++d)
            picture.positions.push_back({'0', PositionCode::Digit});
    }
    if (n.negative == NegativeStyle::TrailingMinus) addChars(picture, "-", PositionCode::Sign);
    if (n.negative == NegativeStyle::Parentheses) addChars(picture, ")", PositionCode::Sign);
    addChars(picture, text.backCurrency, PositionCode::Currency);
    picture.length = text.width;
    return true;
}

}  // namespace

bool compileNumberPicture(std::string_view body, CompiledPicture& picture) {
    picture.kind = PictureKind::Number;
    NumberPictureText text;
    return parseNumberPicture(body, text, picture) && layOutNumberPositions(text, picture);
}

void formatNumber(std::string& out, DecimalText value, const CompiledPicture& picture) {
    const NumberOptions& n = picture.number;
    out.assign(static_cast<std::size_t>(picture.length), ' ');
    if (picture.blankWhenZero && value.finite() && value.isZero()) return;

    value.roundTo(n.decimals);
    const std::string_view whole = value.integerDigits();
    const std::string_view fraction = value.fractionDigits();
    const int wholeCount = static_cast<int>(whole.size());
    const bool overflow = !value.finite() || wholeCount > n.integerDigits + n.groupings;
    const bool negative = value.negative() && !overflow;
    // Grouping positions given up, counted from the left, to hold extra digits.
    const int givenUp = std::max(0, wholeCount - n.integerDigits);

    int at = picture.length;
    bool inFraction = n.decimals > 0;
    int fractionSeen = 0;
    int wholeLeft = wholeCount;
    int groupingFromRight = 0;
    for (auto p = picture.positions.rbegin(); p != picture.positions.rend(); ++p) {
        char c = ' ';
        switch (p->code) {
            case PositionCode::ImpliedDecimal:
                inFraction = false;
                continue;
            case PositionCode::DecimalPoint:
                inFraction = false;
                c = p->fill;
                break;
            case PositionCode::Sign:
                c = negative ? p->fill : ' ';
                break;
            case PositionCode::Digit:
            case PositionCode::BlankDigit:
                if (overflow) {
                    c = '#';
                } else if (inFraction) {
                    const int index = n.decimals - 1 - fractionSeen++;
                    c = index < static_cast<int>(fraction.size()) ? fraction[index] : '0';
                } else {
                    c = wholeLeft > 0 ? whole[--wholeLeft] : p->fill;
                }
                break;
            case PositionCode::Grouping: {
                const bool kept = groupingFromRight++ < n.groupings - givenUp;
                if (overflow) {
                    c = '#';
                } else if (kept) {
                    c = wholeLeft > 0 ? p->fill : n.fill;
                } else {
                    c = wholeLeft > 0 ? whole[--wholeLeft] : n.fill;
                }
                break;
            }
            default:
                c = p->fill;
                break;
        }
        out[--at] = c;
    }
    if (n.fill == ' ' && !overflow && n.leadingChars > 0) floatLeadingBlock(out, n);
}

bool compileScientificPicture(std::string_view body, CompiledPicture& picture) {
    picture.kind = PictureKind::Scientific;
    NumberOptions& n = picture.number;
    std::size_t i = 0;
    int width = 0;
    if (!readCount(body, i, width) || width < 7 || width > kMaxPictureLength) return false;
    if (i < body.size() && (body[i] == '.' || body[i] == '`' || body[i] == '_')) {
        n.decimalChar = shownSeparator(body[i++]);
        if (i < body.size() && isDigit(body[i]) && !readCount(body, i, n.decimals)) return false;
    }
    if (i < body.size() && (body[i] == 'B' || body[i] == 'b')) {
        picture.blankWhenZero = true;
        ++i;
    }
    if (i != body.size()) return false;
    // Sign, one digit, the decimals, 'e', the exponent's sign and two digits.
    const int mantissaChars = 2 + (n.decimals > 0 ? n.decimals + 1 : 0);
    const int padding = width - mantissaChars - 4;
    if (padding < 0) return false;
    for (int k = 0; k < padding; ++k)
        picture.positions.push_back({' ', PositionCode::BlankDigit});
    picture.positions.push_back({'-', PositionCode::Sign});
    picture.positions.push_back({'0', PositionCode::Digit});
    if (n.decimals > 0) {
        picture.positions.push_back({n.decimalChar, PositionCode::DecimalPoint});
        for (int d = 0; d < n.decimals; ++d)
            picture.positions.push_back({'0', PositionCode::Digit});
    }
    picture.positions.push_back({'e', PositionCode::Literal});
    picture.positions.push_back({'+', PositionCode::Sign});
    picture.positions.push_back({'0', PositionCode::Digit});
    picture.positions.push_back({'0', PositionCode::Digit});
    picture.length = width;
    return true;
}

void formatScientific(std::string& out, double value, const CompiledPicture& picture) {
    const int width = picture.length;
    out.assign(static_cast<std::size_t>(width), ' ');
    if (picture.blankWhenZero && value == 0) return;
    char text[kMaxPictureLength + 64];
    const auto result = std::isfinite(value)
                            ? std::to_chars(text, text + sizeof text, value,
                                            std::chars_format::scientific, picture.number.decimals)
                            : std::to_chars_result{text, std::errc::value_too_large};
    const int length = static_cast<int>(result.ptr - text);
    if (result.ec != std::errc() || length > width) {
        out.assign(static_cast<std::size_t>(width), '#');
        return;
    }
    for (int k = 0; k < length; ++k) {
        const char c = text[k];
        out[width - length + k] = c == '.' ? picture.number.decimalChar : c;
    }
}

void deformatNumberText(std::string& out, std::string_view text, const CompiledPicture& picture) {
    const NumberOptions& n = picture.number;
    std::string currencyText;
    const std::string_view currency = currencyOf(picture, currencyText);
    const std::size_t currencyAt = currency.empty() ? std::string_view::npos : text.find(currency);
    const bool scientific = picture.kind == PictureKind::Scientific;
    bool negative = false;
    bool seenPoint = false;
    bool inExponent = false;
    std::string digits;  // what was kept, sign left out
    digits.reserve(text.size());
    // Under an implied decimal a typed '.' is a decimal point, unless it is the grouping.
    const bool textHasPoint =
        n.impliedDecimal && n.grouping != '.' && text.find('.') != std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == currencyAt) {
            i += currency.size() - 1;
            continue;
        }
        const char c = text[i];
        if (isDigit(c)) {
            digits.push_back(c);
        } else if (scientific && !inExponent && (c == 'e' || c == 'E')) {
            inExponent = true;
            digits.push_back('e');
            if (i + 1 < text.size() && (text[i + 1] == '+' || text[i + 1] == '-')) {
                digits.push_back(text[++i]);
            }
        } else if (!inExponent && !seenPoint &&
                   (n.impliedDecimal ? (textHasPoint && c == '.')
                                     : isDecimalAt(text, i, n.decimalChar))) {
            seenPoint = true;
            digits.push_back('.');
        } else if (!inExponent && (c == '-' || c == '(')) {
            negative = true;
        }
    }
    // An implied decimal point sits before the last `decimals` digits typed.
    if (n.impliedDecimal && !seenPoint && !digits.empty()) {
        while (static_cast<int>(digits.size()) <= n.decimals)
            digits.insert(digits.begin(), '0');
        digits.insert(digits.end() - n.decimals, '.');
    }

    out.clear();
    const bool anyDigit = digits.find_first_of("0123456789") != std::string::npos;
    if (!anyDigit) return;
    // Leading zeros of the integer part go, keeping one before a point or exponent.
    std::size_t start = 0;
    while (start + 1 < digits.size() && digits[start] == '0' && isDigit(digits[start + 1]))
        ++start;
    if (digits[start] == '.' || digits[start] == 'e') out.push_back('0');
    const std::size_t mantissaEnd = std::min(digits.find('e'), digits.size());
    const bool zero = digits.find_first_of("123456789", start) >= mantissaEnd;
    if (negative && !zero) out.insert(out.begin(), '-');
    out.append(digits, start, std::string::npos);
}

}  // namespace quillery
