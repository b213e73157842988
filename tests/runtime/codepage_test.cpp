// Windows-1252 to and from UTF-8 and UTF-16, and code page 437 to Windows-1252.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include "runtime/codepage.h"

namespace quillery {
namespace {

// A plain UTF-8 encoder, the model the decoder is checked against.
std::string encodeUtf8(char32_t cp) {
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (cp >> 18));
        s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

std::string allBytes() {
    std::string s;
    for (int c = 0; c < 256; ++c)
        s += static_cast<char>(c);
    return s;
}

TEST(Codepage, KnownCharactersOfTheUpperHalf) {
    struct Case {
        unsigned char byte;
        char32_t codePoint;
    };
    const Case cases[] = {
        {0x80, 0x20AC},
        {0x82, 0x201A},
        {0x83, 0x0192},
        {0x85, 0x2026},
        {0x8A, 0x0160},
        {0x8C, 0x0152},
        {0x8E, 0x017D},
        {0x91, 0x2018},
        {0x92, 0x2019},
        {0x93, 0x201C},
        {0x96, 0x2013},
        {0x97, 0x2014},
        {0x99, 0x2122},
        {0x9C, 0x0153},
        {0x9F, 0x0178},
        {0xA0, 0x00A0},
        {0xA9, 0x00A9},
        {0xC4, 0x00C4},
        {0xDF, 0x00DF},
        {0xE9, 0x00E9},
        {0xFF, 0x00FF},
        // The five bytes the code page leaves undefined keep their C1 control.
        {0x81, 0x0081},
        {0x8D, 0x008D},
        {0x8F, 0x008F},
        {0x90, 0x0090},
        {0x9D, 0x009D},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cp1252ToUnicode(c.byte), c.codePoint) << int(c.byte);
        EXPECT_EQ(unicodeToCp1252(c.codePoint), c.byte) << int(c.byte);
    }
    for (int c = 0; c < 0x80; ++c)
        EXPECT_EQ(cp1252ToUnicode(static_cast<unsigned char>(c)), c);
}

TEST(Codepage, ExactUtf8BytesOfSomeTexts) {
    EXPECT_EQ(cp1252ToUtf8("Caf\xE9"), "Caf\xC3\xA9");
    EXPECT_EQ(cp1252ToUtf8("\x80 5"), "\xE2\x82\xAC 5");
    EXPECT_EQ(cp1252ToUtf8("\x93quoted\x94"), "\xE2\x80\x9Cquoted\xE2\x80\x9D");
    EXPECT_EQ(cp1252ToUtf8("\x81"), "\xC2\x81");
    EXPECT_EQ(cp1252ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(cp1252ToUtf8(""), "");
}

TEST(Codepage, EveryByteSurvivesUtf8AndUtf16) {
    const std::string bytes = allBytes();
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(bytes)), bytes);
    EXPECT_EQ(utf16ToCp1252(cp1252ToUtf16(bytes)), bytes);
    std::set<char32_t> codePoints;
    for (int c = 0; c < 256; ++c) {
        const char32_t cp = cp1252ToUnicode(static_cast<unsigned char>(c));
        codePoints.insert(cp);
        EXPECT_EQ(cp1252ToUtf8(std::string(1, static_cast<char>(c))), encodeUtf8(cp)) << c;
        EXPECT_EQ(cp1252ToUtf16(std::string(1, static_cast<char>(c))),
                  std::u16string(1, static_cast<char16_t>(cp)))
            << c;
    }
    EXPECT_EQ(codePoints.size(), 256u);
}

TEST(Codepage, EveryCodePointDecodesToItsByteOrAQuestionMark) {
    const std::string bytes = allBytes();
    int mapped = 0;
    for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        const unsigned char b = unicodeToCp1252(cp);
        if (b != '?' || cp == U'?') {
            ++mapped;
            ASSERT_EQ(cp1252ToUnicode(b), cp);
        }
        if (cp < 0x3000 ||
            cp % 97 == 0) {  // all the code points near the code page, a sample of the rest
            ASSERT_EQ(utf8ToCp1252(encodeUtf8(cp)), std::string(1, static_cast<char>(b)))
                << static_cast<std::uint32_t>(cp);
        }
    }
    EXPECT_EQ(mapped, 256);
    // No other code point turns into a byte of the upper control range.
    EXPECT_EQ(unicodeToCp1252(0x0080), '?');
    EXPECT_EQ(unicodeToCp1252(0x009F), '?');
    EXPECT_EQ(unicodeToCp1252(0x1F600), '?');
}

TEST(Codepage, MalformedUtf8BecomesOneQuestionMarkPerBrokenPiece) {
    struct Case {
        const char* input;
        const char* output;
    };
    const Case cases[] = {
        {"\x80", "?"},  // lone continuation byte
        {"\xC3", "?"},  // cut short at the end
        {"\xC3"
         "A",
         "?A"},  // cut short by an ASCII byte, which is kept
        {"\xE2\x82"
         "x",
         "?x"},                        // three-byte sequence cut after two
        {"\xC0\xAF", "??"},            // overlong '/'
        {"\xE0\x80\xAF", "???"},       // overlong three-byte form
        {"\xED\xA0\x80", "???"},       // an encoded surrogate
        {"\xF4\x90\x80\x80", "????"},  // above U+10FFFF
        {"\xF0\x9F\x98\x80", "?"},     // a valid emoji: one character, no byte for it
        {"\xFF\xFE", "??"},
        {"a\xC3\xA9"
         "b\xE2\x82\xAC",
         "a\xE9"
         "b\x80"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(utf8ToCp1252(c.input), c.output) << c.input;
}

TEST(Codepage, Utf16PairsAndLoneSurrogates) {
    EXPECT_EQ(utf16ToCp1252(u"Caf\u00E9 \u20AC"), "Caf\xE9 \x80");
    EXPECT_EQ(utf16ToCp1252(u"a\U0001F600b"), "a?b");  // one pair, one mark
    EXPECT_EQ(utf16ToCp1252(std::u16string{u'a', 0xD800, u'b'}), "a?b");
    EXPECT_EQ(utf16ToCp1252(std::u16string{0xDC00, 0xD800}), "??");
    EXPECT_EQ(utf16ToCp1252(u"\u0100\u3042"), "??");
}

TEST(Codepage, Cp437ToWindows1252MatchesThePublishedTables) {
    // From the two code pages' published tables: the 437 character's Windows-1252 byte, or
    // '?' where Windows-1252 has no such character.
    const unsigned char expected[128] = {
        0xC7, 0xFC, 0xE9, 0xE2, 0xE4, 0xE0, 0xE5, 0xE7,  // 80-87
        0xEA, 0xEB, 0xE8, 0xEF, 0xEE, 0xEC, 0xC4, 0xC5,  // 88-8F
        0xC9, 0xE6, 0xC6, 0xF4, 0xF6, 0xF2, 0xFB, 0xF9,  // 90-97
        0xFF, 0xD6, 0xDC, 0xA2, 0xA3, 0xA5, '?',  0x83,  // 98-9F
        0xE1, 0xED, 0xF3, 0xFA, 0xF1, 0xD1, 0xAA, 0xBA,  // A0-A7
        0xBF, '?',  0xAC, 0xBD, 0xBC, 0xA1, 0xAB, 0xBB,  // A8-AF
        '?',  '?',  '?',  '?',  '?',  '?',  '?',  '?',   // B0-B7
        '?',  '?',  '?',  '?',  '?',  '?',  '?',  '?',   // B8-BF
        '?',  '?',  '?',  '?',  '?',  '?',  '?',  '?',   // C0-C7
        '?',  '?',  '?',  '?',  '?',  '?',  '?',  '?',   // C8-CF
        '?',  '?',  '?',  '?',  '?',  '?',  '?',  '?',   // D0-D7
        '?',  '?',  '?',  '?',  '?',  '?',  '?',  '?',   // D8-DF
        '?',  0xDF, '?',  '?',  '?',  '?',  0xB5, '?',   // E0-E7
        '?',  '?',  '?',  '?',  '?',  '?',  '?',  '?',   // E8-EF
        '?',  0xB1, '?',  '?',  '?',  '?',  0xF7, '?',   // F0-F7
        0xB0, '?',  0xB7, '?',  '?',  0xB2, '?',  0xA0,  // F8-FF
    };
    for (int c = 0; c < 0x80; ++c) {
        EXPECT_EQ(cp437ToCp1252(static_cast<unsigned char>(c)), c);
    }
    std::string oem, ansi;
    for (int c = 0x80; c < 0x100; ++c) {
        EXPECT_EQ(cp437ToCp1252(static_cast<unsigned char>(c)), expected[c - 0x80]) << c;
        oem += static_cast<char>(c);
        ansi += static_cast<char>(expected[c - 0x80]);
    }
    EXPECT_EQ(cp437ToCp1252(oem), ansi);
    EXPECT_EQ(cp437ToCp1252("M\x81nchen"), "M\xFCnchen");
}

}  // namespace
}  // namespace quillery
