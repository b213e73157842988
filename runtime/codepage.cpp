// Windows-1252 to and from UTF-8 and UTF-16, and code page 437 to Windows-1252, by tables.
#include "runtime/codepage.h"

#include <array>
#include <cstdint>

namespace quillery {
namespace {

// Code points of Windows-1252 bytes 0x80-0x9F; the five undefined bytes keep their C1 control.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

// Code points of code page 437 bytes 0x80-0xFF.
constexpr std::array<char16_t, 128> kCp437High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,  // 80-87
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,  // 88-8F
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,  // 90-97
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,  // 98-9F
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,  // A0-A7
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,  // A8-AF
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,  // B0-B7
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,  // B8-BF
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,  // C0-C7
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,  // C8-CF
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,  // D0-D7
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,  // D8-DF
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,  // E0-E7
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,  // E8-EF
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,  // F0-F7
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,  // F8-FF
};

constexpr char32_t toUnicode(unsigned char c) {
    return c >= 0x80 && c < 0xA0 ? kCp1252High[c - 0x80] : char32_t{c};
}

constexpr unsigned char fromUnicode(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<unsigned char>(cp);
    for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
        if (kCp1252High[i] == cp) return static_cast<unsigned char>(0x80 + i);
    }
    return static_cast<unsigned char>(kUnmappableChar);
}

// UTF-8 of every Windows-1252 byte: length then up to three bytes.
struct Utf8Bytes {
    std::uint8_t length;
    char bytes[3];
};

constexpr std::array<Utf8Bytes, 256> makeUtf8Table() {
    std::array<Utf8Bytes, 256> table{};
    for (int c = 0; c < 256; ++c) {
        const char32_t cp = toUnicode(static_cast<unsigned char>(c));
        Utf8Bytes& e = table[c];
        if (cp < 0x80) {
            e = {1, {static_cast<char>(cp), 0, 0}};
        } else if (cp < 0x800) {
            e = {2,
                 {static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F)), 0}};
        } else {
            e = {
                3,
                {static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
                 static_cast<char>(0x80 | (cp & 0x3F))}};
        }
    }
    return table;
}

constexpr std::array<unsigned char, 128> makeCp437Table() {
    std::array<unsigned char, 128> table{};
    for (std::size_t i = 0; i < table.size(); ++i)
        table[i] = fromUnicode(kCp437High[i]);
    return table;
}

constexpr auto kUtf8Of = makeUtf8Table();
constexpr auto kCp437ToCp1252 = makeCp437Table();

// The way back: each Windows-1252 byte of the upper half that some 437 byte carries over to;
// the two tables never map two 437 bytes to one character, so this is the exact inverse there.
constexpr std::array<unsigned char, 128> makeCp1252ToCp437Table() {
    std::array<unsigned char, 128> table{};
    table.fill(static_cast<unsigned char>(kUnmappableChar));
    for (std::size_t i = 0; i < kCp437ToCp1252.size(); ++i) {
        const unsigned char ansi = kCp437ToCp1252[i];
        if (ansi >= 0x80) table[ansi - 0x80] = static_cast<unsigned char>(0x80 + i);
    }
    return table;
}

constexpr auto kCp1252ToCp437 = makeCp1252ToCp437Table();

inline bool isContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

}  // namespace

bool decodeUtf8(std::string_view text, std::size_t& i, char32_t& codePoint) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i++);
    if (lead < 0x80) {
        codePoint = lead;
        return true;
    }
    int more;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        more = 1;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        more = 2;
        codePoint = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        more = 3;
        codePoint = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        return false;
    }
    for (int k = 0; k < more; ++k) {
        if (i >= text.size()) return false;
        const unsigned char b = byte(i);
        if (k == 0 ? (b < low || b > high) : !isContinuation(b)) return false;
        codePoint = (codePoint << 6) | (b & 0x3F);
        ++i;
    }
    return true;
}

char32_t cp1252ToUnicode(unsigned char c) {
    return toUnicode(c);
}

unsigned char unicodeToCp1252(char32_t codePoint) {
    return fromUnicode(codePoint);
}

std::string cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (char ch : text) {
        const Utf8Bytes& e = kUtf8Of[static_cast<unsigned char>(ch)];
        out.append(e.bytes, e.length);
    }
    return out;
}

std::string utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
            ++i;
            continue;
        }
        char32_t codePoint = 0;
        out.push_back(decodeUtf8(utf8, i, codePoint) ? static_cast<char>(fromUnicode(codePoint))
                                                     : kUnmappableChar);
    }
    return out;
}

std::u16string cp1252ToUtf16(std::string_view text) {
    std::u16string out(text.size(), u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        out[i] = static_cast<char16_t>(toUnicode(static_cast<unsigned char>(text[i])));
    }
    return out;
}

std::string utf16ToCp1252(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t u = utf16[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            ++i;  // a pair lies outside the basic plane, where Windows-1252 has nothing
            out.push_back(kUnmappableChar);
            continue;
        }
        out.push_back(static_cast<char>(fromUnicode(u)));  // a lone surrogate has no byte either
    }
    return out;
}

unsigned char cp437ToCp1252(unsigned char c) {
    return c < 0x80 ? c : kCp437ToCp1252[c - 0x80];
}

namespace {

std::string mapEachByte(std::string_view text, unsigned char (*map)(unsigned char)) {
    std::string out(text);
    for (char& ch : out)
        ch = static_cast<char>(map(static_cast<unsigned char>(ch)));
    return out;
}

}  // namespace

std::string cp437ToCp1252(std::string_view text) {
    return mapEachByte(text, cp437ToCp1252);
}

unsigned char cp1252ToCp437(unsigned char c) {
    return c < 0x80 ? c : kCp1252ToCp437[c - 0x80];
}

std::string cp1252ToCp437(std::string_view text) {
    return mapEachByte(text, cp1252ToCp437);
}

}  // namespace quillery
