// Windows-1252 from UTF-8 with the nearest plain form for what the code page lacks.
#include "app/exchange/text_to_cp1252.h"

#include <array>
#include <cstdint>

#include "runtime/codepage.h"

namespace quillery::exchange {

namespace {

// The base letters of Latin Extended-A, U+0100 to U+017F; the few of them Windows-1252 has
// (Œ, œ, Š, š, Ÿ, Ž, ž) never reach this table.
constexpr std::string_view kLatinExtendedA =
    "AaAaAaCcCcCcCcDd"
    "DdEeEeEeEeEeGgGg"
    "GgGgHhHhIiIiIiIi"
    "IiJjJjKkkLlLlLlL"
    "lLlNnNnNnnNnOoOo"
    "OoOoRrRrRrSsSsSs"
    "SsTtTtTtUuUuUuUu"
    "UuUuWwYyYZzZzZzs";

// Letters with a combining accent that Windows-1252 has as one character: each accent's
// base letters and what they become, position for position.
struct Composition {
    char32_t mark;
    std::u32string_view bases;
    std::u32string_view composed;
};
constexpr std::array kCompositions{
    Composition{0x0300, U"AEIOUaeiou", U"ÀÈÌÒÙàèìòù"},
    Composition{0x0301, U"AEIOUYaeiouy", U"ÁÉÍÓÚÝáéíóúý"},
    Composition{0x0302, U"AEIOUaeiou", U"ÂÊÎÔÛâêîôû"},
    Composition{0x0303, U"ANOano", U"ÃÑÕãñõ"},
    Composition{0x0308, U"AEIOUYaeiouy", U"ÄËÏÖÜŸäëïöüÿ"},
    Composition{0x030A, U"Aa", U"Åå"},
    Composition{0x030C, U"SZsz", U"ŠŽšž"},
    Composition{0x0327, U"Cc", U"Çç"},
};

bool isCombiningMark(char32_t c) {
    return c >= 0x0300 && c <= 0x036F;
}

// The plain form of a code point Windows-1252 lacks; empty for one that is dropped (joiners,
// marks with nothing to join), "?" when there is none.
std::string_view plainForm(char32_t c, char* letter) {
    if (c >= 0x0100 && c <= 0x017F) {
        switch (c) {
            case 0x0132:
                return "IJ";
            case 0x0133:
                return "ij";
            case 0x0149:
                return "'n";
            default:
                *letter = kLatinExtendedA[c - 0x0100];
                return std::string_view(letter, 1);
        }
    }
    switch (c) {
        case 0x0218:
            return "S";
        case 0x0219:
            return "s";
        case 0x021A:
            return "T";
        case 0x021B:
            return "t";
        case 0x1E9E:
            return "SS";
        case 0x2010:
        case 0x2011:
        case 0x2043:
        case 0x2212:
            return "-";
        case 0x2012:
        case 0x2015:
            return "\x96";  // figure dash, horizontal bar: en and em dash
        case 0x2032:
            return "'";
        case 0x2033:
            return "\"";
        case 0x2044:
        case 0x2215:
            return "/";
        case 0x2024:
            return ".";
        case 0x2027:
        case 0x2219:
        case 0x22C5:
            return "\xB7";
        case 0x2116:
            return "No";
        case 0x2117:
            return "(P)";
        case 0x2120:
            return "SM";
        case 0xFB00:
            return "ff";
        case 0xFB01:
            return "fi";
        case 0xFB02:
            return "fl";
        case 0xFB03:
            return "ffi";
        case 0xFB04:
            return "ffl";
        case 0x200B:
        case 0x200C:
        case 0x200D:
        case 0x2060:
        case 0xFEFF:
        case 0x00AD:
            return "";
        default:
            break;
    }
    if ((c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F || c == 0x3000) return " ";
    if (isCombiningMark(c)) return "";
    return "?";
}

// The precomposed character of `base` with `mark`, or 0.
char32_t composed(char32_t base, char32_t mark) {
    for (const Composition& each : kCompositions) {
        if (each.mark != mark) continue;
        const std::size_t at = each.bases.find(base);
        return at == std::u32string_view::npos ? 0 : each.composed[at];
    }
    return 0;
}

}  // namespace

Cp1252Text textToCp1252(std::string_view utf8) {
    Cp1252Text result;
    result.text.reserve(utf8.size());
    char32_t previous = 0;  // the last character kept, for a combining mark after it
    std::size_t i = 0;
    while (i < utf8.size()) {
        char32_t c = 0;
        if (!decodeUtf8(utf8, i, c)) return Cp1252Text{{}, 0, false};
        if (isCombiningMark(c) && previous != 0) {
            // A letter and its accent as two code points, as some systems write them: they
            // are one character, kept whole where the code page has it.
            if (const char32_t whole = composed(previous, c); whole != 0) {
                result.text.back() = static_cast<char>(unicodeToCp1252(whole));
                previous = 0;
                continue;
            }
        }
        const unsigned char byte = unicodeToCp1252(c);
        if (byte != static_cast<unsigned char>(kUnmappableChar) || c == U'?') {
            result.text.push_back(static_cast<char>(byte));
            previous = c;
            continue;
        }
        char letter = 0;
        result.text += plainForm(c, &letter);
        ++result.replaced;
        previous = 0;
    }
    return result;
}

}  // namespace quillery::exchange
