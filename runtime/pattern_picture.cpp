// String, pattern and key-in pictures.
#include "runtime/pattern_picture.h"

#include <algorithm>

namespace quillery {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isDigitCode(PositionCode code) {
    return code == PositionCode::Digit || code == PositionCode::BlankDigit;
}

PositionCode patternCode(char c) {
    switch (c) {
        case '#':
            return PositionCode::Digit;
        case '<':
            return PositionCode::BlankDigit;
        default:
            return PositionCode::Literal;
    }
}

PositionCode keyInCode(char c) {
    switch (c) {
        case '@':
            return PositionCode::KeyAt;
        case '^':
            return PositionCode::KeyCaret;
        case '_':
            return PositionCode::KeyUnderscore;
        case '?':
            return PositionCode::KeyQuestion;
        case '|':
            return PositionCode::KeyBar;
        default:
            return patternCode(c);
    }
}

bool keepsTypedChar(PositionCode code) {
    return code == PositionCode::KeyAt || code == PositionCode::KeyCaret ||
           code == PositionCode::KeyUnderscore || code == PositionCode::KeyQuestion;
}

bool closesWith(char c, char letter) {
    return c == letter || c == letter + ('a' - 'A');
}

bool finish(CompiledPicture& picture) {
    picture.length = static_cast<int>(picture.positions.size());
    return picture.length >= 1 && picture.length <= kMaxPictureLength;
}

}  // namespace

bool compileStringPicture(std::string_view body, CompiledPicture& picture) {
    picture.kind = PictureKind::String;
    if (body.empty() || body.size() > 3) return false;
    int width = 0;
    for (char c : body) {
        if (!isDigit(c)) return false;
        width = width * 10 + (c - '0');
    }
    if (width < 1 || width > kMaxPictureLength) return false;
    picture.positions.assign(static_cast<std::size_t>(width), {' ', PositionCode::Literal});
    picture.length = width;
    return true;
}

bool compilePatternPicture(std::string_view body, CompiledPicture& picture) {
    picture.kind = PictureKind::Pattern;
    if (body.empty() || !closesWith(body.back(), 'P')) return false;
    for (char c : body.substr(0, body.size() - 1))
        picture.positions.push_back({c, patternCode(c)});
    return finish(picture);
}

bool compileKeyInPicture(std::string_view body, CompiledPicture& picture) {
    picture.kind = PictureKind::KeyIn;
    std::size_t i = 0;
    for (;;) {
        if (i >= body.size()) return false;  // no closing letter
        const char c = body[i];
        if (i + 1 == body.size()) {
            if (!closesWith(c, 'K')) return false;
            break;
        }
        if (c == '\\') {
            if (i + 2 >= body.size()) return false;  // the closing letter may not be escaped
            picture.positions.push_back({body[i + 1], PositionCode::Literal});
            i += 2;
            continue;
        }
        picture.positions.push_back({c, keyInCode(c)});
        ++i;
    }
    return finish(picture);
}

void formatText(std::string& out, std::string_view text, const CompiledPicture& picture) {
    const std::size_t width = static_cast<std::size_t>(picture.length);
    out.assign(text.substr(0, width));
    out.resize(width, ' ');
}

void formatPattern(std::string& out, const DecimalText& value, const CompiledPicture& picture) {
    out.assign(static_cast<std::size_t>(picture.length), ' ');
    const std::string_view digits = value.integerDigits();
    int slots = 0;
    for (const PicturePosition& p : picture.positions)
        slots += isDigitCode(p.code);
    const bool overflow = !value.finite() || static_cast<int>(digits.size()) > slots;
    // Zero has no significant digit: every '<' position shows a space.
    const int significant = digits == "0" ? 0 : static_cast<int>(digits.size());
    int fromRight = 0;
    for (int i = picture.length - 1; i >= 0; --i) {
        const PicturePosition& p = picture.positions[static_cast<std::size_t>(i)];
        if (!isDigitCode(p.code)) {
            out[i] = p.fill;
            continue;
        }
        const int k = fromRight++;
        if (overflow) {
            out[i] = '#';
        } else if (k < significant) {
            out[i] = digits[digits.size() - 1 - static_cast<std::size_t>(k)];
        } else {
            out[i] = p.code == PositionCode::Digit ? '0' : ' ';
        }
    }
}

void deformatPattern(std::string& out, std::string_view text, const CompiledPicture& picture) {
    out.clear();
    const std::size_t count = std::min(text.size(), picture.positions.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (!isDigitCode(picture.positions[i].code) || !isDigit(text[i])) continue;
        if (out == "0") out.clear();  // a leading zero gives way to the next digit
        out.push_back(text[i]);
    }
}

void deformatKeyIn(std::string& out, std::string_view text, const CompiledPicture& picture) {
    out.clear();
    const std::size_t count = std::min(text.size(), picture.positions.size());
    for (std::size_t i = 0; i < count; ++i) {
        const PositionCode code = picture.positions[i].code;
        // Digits keyed at '#' and '<' positions are kept too: they are the user's data.
        if (keepsTypedChar(code) || (isDigitCode(code) && isDigit(text[i]))) out.push_back(text[i]);
    }
}

}  // namespace quillery
