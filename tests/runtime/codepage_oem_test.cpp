// Windows-1252 to code page 437, the way text goes into tables stored in OEM characters, checked
// over all 256 bytes against the 437-to-1252 direction and against known characters.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "runtime/codepage.h"

namespace quillery {
namespace {

unsigned char oemOf(int ansi) {
    return cp1252ToCp437(static_cast<unsigned char>(ansi));
}
unsigned char ansiOf(int oem) {
    return cp437ToCp1252(static_cast<unsigned char>(oem));
}

TEST(CodepageOem, KnownCharacters) {
    struct Case {
        unsigned char ansi;
        unsigned char oem;
    };
    const Case cases[] = {
        {0xC7, 0x80}, {0xFC, 0x81}, {0xE9, 0x82}, {0xE2, 0x83}, {0xE4, 0x84}, {0xE0, 0x85},
        {0xE5, 0x86}, {0xE7, 0x87}, {0xC4, 0x8E}, {0xC5, 0x8F}, {0xC9, 0x90}, {0xE6, 0x91},
        {0xC6, 0x92}, {0xF6, 0x94}, {0xFF, 0x98}, {0xD6, 0x99}, {0xDC, 0x9A}, {0xA2, 0x9B},
        {0xA3, 0x9C}, {0xA5, 0x9D}, {0x83, 0x9F}, {0xE1, 0xA0}, {0xF1, 0xA4}, {0xD1, 0xA5},
        {0xBF, 0xA8}, {0xAC, 0xAA}, {0xBD, 0xAB}, {0xBC, 0xAC}, {0xA1, 0xAD}, {0xAB, 0xAE},
        {0xBB, 0xAF}, {0xDF, 0xE1}, {0xB5, 0xE6}, {0xB1, 0xF1}, {0xB0, 0xF8}, {0xB7, 0xFA},
        {0xB2, 0xFD}, {0xA0, 0xFF},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(oemOf(c.ansi), c.oem) << std::hex << int{c.ansi};
        EXPECT_EQ(ansiOf(c.oem), c.ansi) << std::hex << int{c.oem};
    }
}

TEST(CodepageOem, CharactersCodePage437LacksBecomeQuestionMarks) {
    // Euro, quotes, dashes, trade mark, copyright, o with stroke, y acute, the undefined bytes.
    for (int ansi : {0x80, 0x81, 0x8D, 0x91, 0x93, 0x96, 0x97, 0x99, 0xA9, 0xAE, 0xF8, 0xFD, 0xD8,
                     0x8A, 0x9A, 0xC0, 0xC8})
        EXPECT_EQ(oemOf(ansi), '?') << std::hex << ansi;
}

TEST(CodepageOem, LowerHalfIsUnchanged) {
    for (int c = 0; c < 0x80; ++c)
        EXPECT_EQ(oemOf(c), c);
}

TEST(CodepageOem, EveryOemCharacterWithAWindowsFormGoesBackToItsByte) {
    int mapped = 0;
    for (int oem = 0; oem < 256; ++oem) {
        const unsigned char ansi = ansiOf(oem);
        if (ansi == '?' && oem != '?') continue;
        ++mapped;
        EXPECT_EQ(oemOf(ansi), oem) << "437 byte " << std::hex << oem;
    }
    // The lower half and the upper-half characters both pages hold.
    EXPECT_GT(mapped, 128 + 50);
}

TEST(CodepageOem, EveryWindowsByteThatMapsBothWaysSurvivesTheRoundTrip) {
    // The model: the Windows-1252 bytes some 437 byte converts to.
    std::set<int> reachable;
    for (int oem = 0; oem < 256; ++oem)
        reachable.insert(ansiOf(oem));
    for (int ansi = 0; ansi < 256; ++ansi) {
        const unsigned char oem = oemOf(ansi);
        if (reachable.count(ansi) != 0) {
            EXPECT_EQ(ansiOf(oem), ansi) << "1252 byte " << std::hex << ansi;
        } else {
            EXPECT_EQ(oem, '?') << "1252 byte " << std::hex << ansi;
        }
    }
}

TEST(CodepageOem, StringsConvertByteByByte) {
    EXPECT_EQ(cp1252ToCp437("M\xFCller \xC5ngstr\xF6m caf\xE9"),
              "M\x81ller \x8Fngstr\x94m caf\x82");
    EXPECT_EQ(cp437ToCp1252(cp1252ToCp437("Espa\xF1"
                                          "a \xBF\xA1")),
              "Espa\xF1"
              "a \xBF\xA1");
    EXPECT_EQ(cp1252ToCp437("5 \x80 \xA9"), "5 ? ?");
    EXPECT_EQ(cp1252ToCp437(std::string("a\0b", 3)), std::string("a\0b", 3));
}

}  // namespace
}  // namespace quillery
