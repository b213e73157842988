// The settings file: its name, its lines and value lists, every key's effect, the OEM
// character set, odd and malformed input, and the start-up call that reads locale and file.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <vector>

#include "runtime/char_table_settings.h"
#include "runtime/char_tables.h"
#include "runtime/errors.h"
#include "runtime/locale_settings.h"
#include "runtime/settings_file.h"
#include "runtime/settings_list.h"
#include "tests/runtime/settings_test_support.h"

namespace quillery {
namespace {

using testing::ScopedEnvironment;
using testing::TempDirectory;
using Strings = std::vector<std::string>;

class SettingsFileTest : public ::testing::Test {
  protected:
    void SetUp() override { testing::resetRuntimeState(); }
    void TearDown() override { testing::resetRuntimeState(); }

    // Writes `contents` as a settings file and loads it; the load must succeed.
    void load(std::string_view contents) {
        ASSERT_TRUE(loadSettingsFile(dir.write("QUILLERY.ENV", contents)));
    }

    TempDirectory dir;
};

bool isPermutation(const CollationTable& t) {
    std::set<int> ranks(t.begin(), t.end());
    return ranks.size() == 256;
}

// A quoted list item holding `text`, single quotes doubled.
std::string quotedItem(std::string_view text) {
    std::string q = "'";
    for (char c : text) {
        q += c;
        if (c == '\'') q += '\'';
    }
    return q + "'";
}

// --- The file's name ---

TEST(SettingsFilePath, ExtensionReplacedOrAppended) {
    struct Case {
        const char* program;
        const char* settings;
    };
    const Case cases[] = {
        {"/opt/quillery/quillery", "/opt/quillery/quillery.ENV"},
        {"BOOK.EXE", "BOOK.ENV"},
        {"/opt/q.d/quillery", "/opt/q.d/quillery.ENV"},  // a dot in a folder is no extension
        {"/opt/q/quillery.bin.exe", "/opt/q/quillery.bin.ENV"},
        {"/opt/q/.quillery", "/opt/q/.quillery.ENV"},  // a hidden file's dot neither
        {"./quillery", "./quillery.ENV"},
        {"quillery.", "quillery.ENV"},
        {"", ".ENV"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(settingsFilePathFor(c.program), c.settings) << c.program;
}

TEST(SettingsFilePath, ProgramFileIsTheRunningExecutable) {
    const std::string path = programFilePath("ignored");
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.front(), '/');
    EXPECT_NE(path.find("runtime_tests"), std::string::npos);
}

// --- Value lists ---

TEST(SettingsList, ItemsQuotesAndBlanks) {
    struct Case {
        const char* value;
        Strings items;
    };
    const Case cases[] = {
        {"", {}},
        {"   ", {}},
        {"a", {"a"}},
        {"a,b", {"a", "b"}},
        {" a , b ", {"a", "b"}},
        {"a,,b", {"a", "", "b"}},
        {"a,", {"a", ""}},
        {",", {"", ""}},
        {"'a,b',c", {"a,b", "c"}},
        {"'  padded  '", {"  padded  "}},
        {"'it''s'", {"it's"}},
        {"\"say \"\"hi\"\"\",x", {"say \"hi\"", "x"}},
        {"\"it's\"", {"it's"}},
        {"'say \"hi\"'", {"say \"hi\""}},
        {"'abc'def,x", {"abc", "x"}},  // after the closing quote, up to the comma: ignored
        {"'unclosed, x", {"unclosed, x"}},
        {"ab'c,d", {"ab'c", "d"}},  // a quote inside an unquoted item is a character
        {"'',''", {"", ""}},
        {"''''", {"'"}},
        {" 'a' , 'b' ", {"a", "b"}},
        {"a b,c", {"a b", "c"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(splitSettingsList(c.value), c.items) << c.value;
}

// --- A file that cannot be read ---

TEST_F(SettingsFileTest, MissingFilePostsFileNotFoundAndKeepsDefaults) {
    const std::string path = dir.file("NOWHERE.ENV");
    EXPECT_FALSE(loadSettingsFile(path));
    EXPECT_EQ(errorCode(), 2);
    EXPECT_EQ(errorText(), "File Not Found");
    EXPECT_EQ(errorFile(), path);
    const CharTables defaults = CharTables::defaults();
    EXPECT_EQ(charTables().collation, defaults.collation);
    EXPECT_EQ(charTables().upper, defaults.upper);
    EXPECT_EQ(charTables().lower, defaults.lower);
    EXPECT_TRUE(charTables().digraphs.empty());
    EXPECT_EQ(localeSettings().monthNames, LocaleSettings::defaults().monthNames);
    EXPECT_EQ(localeSettings().am, "AM");
    EXPECT_TRUE(messageBoxButtonCaptions().empty());
}

TEST_F(SettingsFileTest, DirectoryInsteadOfAFileIsNotFound) {
    EXPECT_FALSE(loadSettingsFile(dir.path()));
    EXPECT_EQ(errorCode(), 2);
}

TEST_F(SettingsFileTest, MissingFileChangesNothingAlreadyInForce) {
    load("ZEMAMPM=vm,nm\n");
    EXPECT_FALSE(loadSettingsFile(dir.file("NOWHERE.ENV")));
    EXPECT_EQ(localeSettings().am, "vm");
}

// --- Lines and keys ---

TEST_F(SettingsFileTest, KeysIgnoreCaseAndSurroundingBlanks) {
    load("zemampm=aa,bb\n  ZemMon  =a,b,c,d,e,f,g,h,i,j,k,l\n");
    EXPECT_EQ(localeSettings().am, "aa");
    EXPECT_EQ(localeSettings().monthAbbrevs[11], "l");
}

TEST_F(SettingsFileTest, OddLinesAreIgnored) {
    std::string text =
        "\n"
        "no equals sign here\n"
        "=value without a key\n"
        "ZEMFOO=1\n"
        "ZEMMSG=no number\n"
        "ZEMMSGX=not a number\n"
        "ZEMMSG0=zero is no code\n"
        "ZEMMSG99999999999=too big\n"
        "   \t  \n"
        "[intl]\n";
    text += std::string("ZEM\0MON=a\n", 10);
    text += std::string(100000, 'Z') + "=long line\n";
    text += "ZEMAMPM=ok,ko\r\n";  // still read after all that
    load(text);
    EXPECT_EQ(localeSettings().am, "ok");
    EXPECT_EQ(localeSettings().pm, "ko");
    EXPECT_EQ(localeSettings().monthAbbrevs, LocaleSettings::defaults().monthAbbrevs);
    EXPECT_NE(errorTextOf(0), "zero is no code");
    EXPECT_EQ(errorTextOf(99), "Unknown Error Posted : 99");
    EXPECT_EQ(errorCode(), 0);
}

TEST_F(SettingsFileTest, ValueKeepsEqualsSignsAfterTheFirst) {
    load("ZEMMSG35=a=b\n");
    EXPECT_EQ(errorTextOf(35), "a=b");
}

TEST_F(SettingsFileTest, KeysUpTo31CharactersAreRead) {
    const std::string key31 = "ZEMMSG" + std::string(24, '0') + "2";  // 31 characters
    const std::string key32 = "ZEMMSG" + std::string(25, '0') + "3";  // 32 characters
    ASSERT_EQ(key31.size(), 31u);
    load(key31 + "=Two\n" + key32 + "=Three\n");
    EXPECT_EQ(errorTextOf(2), "Two");
    EXPECT_EQ(errorTextOf(3), "Path Not Found");
}

TEST_F(SettingsFileTest, ValuesAreCutTo255AndLoseTrailingBlanks) {
    const std::string long300 = std::string(250, 'x') + std::string(50, 'y');
    const std::string blanksAtTheCut = std::string(250, 'b') + "     " + "tail";
    load("ZEMMSG40=" + long300 + "\nZEMMSG41=Gone   \t \nZEMMSG43=" + blanksAtTheCut + "\n");
    EXPECT_EQ(errorTextOf(40), std::string(250, 'x') + std::string(5, 'y'));
    EXPECT_EQ(errorTextOf(41), "Gone");
    EXPECT_EQ(errorTextOf(43), std::string(250, 'b'));
}

TEST_F(SettingsFileTest, LaterLinesWin) {
    load("ZEMAMPM=aa,bb\nZEMAMPM=cc,dd\n");
    EXPECT_EQ(localeSettings().am, "cc");
    EXPECT_EQ(localeSettings().pm, "dd");
}

// --- Month names and AM/PM ---

TEST_F(SettingsFileTest, MonthNamesAndAbbreviations) {
    load(
        "ZEMMONTH=Januar,Februar,M\xE4rz,April,Mai,Juni,Juli,August,September,Oktober,"
        "November,'Dezember (Weihnachtsmonat)'\n"
        "ZEMMON=Jan.,Feb.,M\xE4r,Apr,Mai,Jun,Jul,Aug,Sep,Okt,Nov,Dezember\n");
    const LocaleSettings& s = localeSettings();
    EXPECT_EQ(s.monthNames[0], "Januar");
    EXPECT_EQ(s.monthNames[2], "M\xE4rz");
    EXPECT_EQ(s.monthNames[11], "Dezember (We");  // 12 characters kept
    EXPECT_EQ(s.monthAbbrevs[0], "Jan");          // 3 characters kept
    EXPECT_EQ(s.monthAbbrevs[2], "M\xE4r");
    EXPECT_EQ(s.monthAbbrevs[11], "Dez");
}

TEST_F(SettingsFileTest, MalformedMonthListsKeepTheDefaults) {
    const std::string cases[] = {
        "ZEMMONTH=a,b,c,d,e,f,g,h,i,j,k\n",      // eleven
        "ZEMMONTH=a,b,c,d,e,f,g,h,i,j,k,l,m\n",  // thirteen
        "ZEMMONTH=a,b,c,d,e,,g,h,i,j,k,l\n",     // one empty
        "ZEMMONTH=\n",
        "ZEMMON=a,b\n",
    };
    for (const std::string& text : cases) {
        SCOPED_TRACE(text);
        load(text);
        EXPECT_EQ(localeSettings().monthNames, LocaleSettings::defaults().monthNames);
        EXPECT_EQ(localeSettings().monthAbbrevs, LocaleSettings::defaults().monthAbbrevs);
    }
}

TEST_F(SettingsFileTest, AmPmTexts) {
    struct Case {
        const char* line;
        const char* am;
        const char* pm;
    };
    const Case cases[] = {
        {"ZEMAMPM=vm,nm", "vm", "nm"},
        {"ZEMAMPM=a.m.,p.m.", "a.", "p."},  // 2 characters kept
        {"ZEMAMPM='',''", "", ""},
        {"ZEMAMPM=vm", "AM", "PM"},       // one text: malformed
        {"ZEMAMPM=a,b,c", "AM", "PM"},    // three texts: malformed
        {"ZEMAMPM=WINDOWS", "vo", "na"},  // the system's s1159/s2359, cut
        {"ZEMAMPM=windows", "vo", "na"},
        {"ZEMAMPM='WINDOWS','x'", "WI", "x"},  // quoted: a text, not the keyword
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        resetRuntimeSettings();
        LocaleSettings pinned = LocaleSettings::defaults();
        pinned.systemAm = "vorm.";
        pinned.systemPm = "nachm.";
        setLocaleSettings(pinned);
        load(std::string(c.line) + "\n");
        EXPECT_EQ(localeSettings().am, c.am);
        EXPECT_EQ(localeSettings().pm, c.pm);
        EXPECT_EQ(localeSettings().systemAm, "vorm.");  // the system value itself is kept
    }
}

// --- Collating sequence ---

TEST_F(SettingsFileTest, ListedCharactersAreReorderedAmongTheirOwnPositions) {
    struct Case {
        const char* value;
        std::string order;  // the distinct characters in the order listed
    };
    const Case cases[] = {
        {"zyx", "zyx"},
        {"a,A,b,B", "aAbB"},
        {"aAbBa", "aAbB"},  // a repeated character counts at its first place
        {"'a, b'", "a, b"},
        {"9,'''',0", "9'0"},
        {"\xE9"
         "e\xC9"
         "E",
         "\xE9"
         "e\xC9"
         "E"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        load(std::string("ZEMCOLSEQ=") + c.value + "\n");
        std::vector<unsigned char> positions(c.order.begin(), c.order.end());
        std::sort(positions.begin(), positions.end());
        CollationTable expected;
        for (int ch = 0; ch < 256; ++ch)
            expected[ch] = static_cast<std::uint8_t>(ch);
        for (std::size_t i = 0; i < c.order.size(); ++i) {
            expected[static_cast<unsigned char>(c.order[i])] = positions[i];
        }
        EXPECT_EQ(charTables().collation, expected);
    }
}

TEST_F(SettingsFileTest, ReorderedCollationDrivesComparisons) {
    load("ZEMCOLSEQ=a,A,b,B\n");
    EXPECT_LT(collateCompare("a", "A"), 0);
    EXPECT_LT(collateCompare("A", "b"), 0);
    EXPECT_LT(collateCompare("b", "B"), 0);
    EXPECT_LT(collateCompare("Ab", "AB"), 0);
}

// A 222-character sequence: printable characters in an order unlike their codes (lower and
// upper case of each letter side by side, everything else reversed after them).
std::string dictionarySequence() {
    std::string seq;
    for (char c = 'a'; c <= 'z'; ++c) {
        seq += c;
        seq += static_cast<char>(c - 'a' + 'A');
    }
    for (int c = 254; c >= 32; --c) {
        if (c == 127 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) continue;
        seq += static_cast<char>(c);
    }
    return seq;
}

TEST_F(SettingsFileTest, FullSequenceOf222GivesEveryPrintableCharacterANewRank) {
    const std::string seq = dictionarySequence();
    ASSERT_EQ(seq.size(), 222u);
    ASSERT_LE(quotedItem(seq).size(), kMaxSettingsValueLength);
    load("ZEMCOLSEQ=" + quotedItem(seq) + "\n");
    const CollationTable& t = charTables().collation;
    for (std::size_t i = 0; i < seq.size(); ++i) {
        const int rank = i < 95 ? 32 + static_cast<int>(i) : 128 + static_cast<int>(i - 95);
        ASSERT_EQ(t[static_cast<unsigned char>(seq[i])], rank) << i;
    }
    for (int c : {0, 1, 31, 127, 255})
        EXPECT_EQ(t[c], c);
    EXPECT_TRUE(isPermutation(t));
    EXPECT_LT(collateCompare("apple", "Apple"), 0);
    EXPECT_LT(collateCompare("Apple", "banana"), 0);
}

TEST_F(SettingsFileTest, FullSequenceOfOtherCharactersStillGivesDistinctRanks) {
    std::string seq;
    for (int c = 1; c <= 222; ++c)
        seq += static_cast<char>(c);  // controls in, high ones out
    const CollationTable t = collationFromSequence(seq);
    for (int i = 0; i < 222; ++i) {
        ASSERT_EQ(t[i + 1], i < 95 ? 32 + i : 128 + (i - 95)) << i;
    }
    EXPECT_TRUE(isPermutation(t));
    // The characters left out take the ranks left over, in code order.
    EXPECT_EQ(t[0], 0);
    EXPECT_EQ(t[223], 1);
    EXPECT_EQ(t[255], 255);
}

TEST_F(SettingsFileTest, SequenceOf221IsAnOrdinaryReordering) {
    std::string seq = dictionarySequence();
    seq.pop_back();  // one short of the full list: the space at its end is left out
    load("ZEMCOLSEQ=" + quotedItem(seq) + "\n");
    const CollationTable& t = charTables().collation;
    // The listed characters share out their own positions, the lowest ('!') to 'a', listed
    // first; the space, not listed, keeps its own.
    EXPECT_EQ(t['a'], '!');
    EXPECT_EQ(t['A'], '"');
    EXPECT_EQ(t['!'], 254);  // '!' ends the list and takes the highest listed position
    EXPECT_EQ(t[' '], ' ');
    EXPECT_TRUE(isPermutation(t));
}

TEST_F(SettingsFileTest, WindowsOrEmptySequenceIsCharacterCodeOrder) {
    for (const char* last : {"ZEMCOLSEQ=WINDOWS", "ZEMCOLSEQ=", "ZEMCOLSEQ= Windows "}) {
        SCOPED_TRACE(last);
        load(std::string("ZEMCOLSEQ=zyx\n") + last + "\n");
        EXPECT_EQ(charTables().collation, CharTables::defaults().collation);
    }
}

// --- Case pairs ---

// A-Z/a-z plus the given pairs.
CaseTables modelCase(std::initializer_list<std::pair<int, int>> pairs) {
    CaseTables t;
    for (int c = 0; c < 256; ++c)
        t.upper[c] = t.lower[c] = static_cast<std::uint8_t>(c);
    for (int c = 'A'; c <= 'Z'; ++c) {
        t.lower[c] = static_cast<std::uint8_t>(c + 32);
        t.upper[c + 32] = static_cast<std::uint8_t>(c);
    }
    for (auto [u, l] : pairs) {
        t.lower[u] = static_cast<std::uint8_t>(l);
        t.upper[l] = static_cast<std::uint8_t>(u);
    }
    return t;
}

CaseTables modelWindowsCase() {
    CaseTables t = modelCase({{0x8A, 0x9A}, {0x8C, 0x9C}, {0x8E, 0x9E}, {0x9F, 0xFF}});
    for (int u = 0xC0; u <= 0xDE; ++u) {
        if (u == 0xD7) continue;
        t.lower[u] = static_cast<std::uint8_t>(u + 32);
        t.upper[u + 32] = static_cast<std::uint8_t>(u);
    }
    return t;
}

TEST_F(SettingsFileTest, CasePairs) {
    struct Case {
        const char* name;
        std::string line;
        CaseTables expected;
    };
    const CaseTables ascii = modelCase({});
    const CaseTables windows = modelWindowsCase();
    const Case cases[] = {
        {"listed pairs", "ZEMCASE='\xC0\xC9','\xE0\xE9'", modelCase({{0xC0, 0xE0}, {0xC9, 0xE9}})},
        {"unquoted lists", "ZEMCASE=\xC0\xC9,\xE0\xE9", modelCase({{0xC0, 0xE0}, {0xC9, 0xE9}})},
        {"pairs below 128 are not taken", "ZEMCASE='A\xC0','x\xE0'", modelCase({{0xC0, 0xE0}})},
        {"a character keeps its first partner", "ZEMCASE='\xC0\xC0','\xE0\xE1'",
         modelCase({{0xC0, 0xE0}})},
        {"WINDOWS", "ZEMCASE=WINDOWS", windows},
        {"unequal lengths", "ZEMCASE='\xC0\xC9','\xE0'", windows},
        {"empty value", "ZEMCASE=", ascii},
        {"one list only: malformed", "ZEMCASE='\xC0\xC9'", ascii},
        {"three lists: malformed", "ZEMCASE=\xC0,\xE0,\xC9", ascii},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetRuntimeSettings();
        load(c.line + "\n");
        EXPECT_EQ(charTables().upper, c.expected.upper);
        EXPECT_EQ(charTables().lower, c.expected.lower);
    }
}

TEST_F(SettingsFileTest, WindowsCasePairsLeaveSignsAndSharpSAlone) {
    load("ZEMCASE=WINDOWS\n");
    EXPECT_EQ(toUpperChar(0xE9), 0xC9);
    EXPECT_EQ(toUpperChar(0x9A), 0x8A);
    EXPECT_EQ(toUpperChar(0xFF), 0x9F);
    EXPECT_EQ(toLowerChar(0x8C), 0x9C);
    EXPECT_EQ(toUpperChar(0xF7), 0xF7);  // division sign
    EXPECT_EQ(toLowerChar(0xD7), 0xD7);  // multiplication sign
    EXPECT_EQ(toUpperChar(0xDF), 0xDF);  // sharp s has no capital here
    EXPECT_EQ(toUpperChar(0xB5), 0xB5);  // micro sign
}

TEST_F(SettingsFileTest, EmptyCaseValueRestoresAsciiPairsAfterAnEarlierLine) {
    load("ZEMCASE=WINDOWS\nZEMCASE=\n");
    EXPECT_EQ(charTables().upper, CharTables::defaults().upper);
    EXPECT_EQ(charTables().lower, CharTables::defaults().lower);
}

TEST_F(SettingsFileTest, CaseAndCollationAreIndependent) {
    load("ZEMCOLSEQ=zyx\nZEMCASE=WINDOWS\n");
    EXPECT_EQ(charTables().collation['z'], 'x');
    EXPECT_EQ(charTables().upper[0xE9], 0xC9);
}

// --- Digraphs ---

TEST_F(SettingsFileTest, Digraphs) {
    load(
        "ZEMDIGRAPH=\xDFss,\xC6"
        "AE,'\xE6"
        "ae'\n");
    const auto& d = charTables().digraphs;
    ASSERT_EQ(d.size(), 3u);
    EXPECT_EQ(d[0].character, 0xDF);
    EXPECT_EQ(d[0].first, 's');
    EXPECT_EQ(d[0].second, 's');
    EXPECT_EQ(d[1].character, 0xC6);
    EXPECT_EQ(d[1].first, 'A');
    EXPECT_EQ(d[1].second, 'E');
    EXPECT_EQ(d[2].character, 0xE6);
}

TEST_F(SettingsFileTest, MalformedDigraphsKeepThePreviousOnes) {
    std::string seventeen;
    for (int i = 0; i < 17; ++i)
        seventeen += (i ? "," : "") + std::string{char('a' + i), 'x', 'y'};
    std::string sixteen = seventeen.substr(0, seventeen.size() - 4);
    const std::string cases[] = {"ZEMDIGRAPH=" + seventeen, "ZEMDIGRAPH=\xDFss,ab",
                                 "ZEMDIGRAPH=\xDFss,abcd"};
    for (const std::string& line : cases) {
        SCOPED_TRACE(line);
        load(
            "ZEMDIGRAPH=\xC6"
            "AE\n" +
            line + "\n");
        ASSERT_EQ(charTables().digraphs.size(), 1u);
        EXPECT_EQ(charTables().digraphs[0].character, 0xC6);
    }
    load("ZEMDIGRAPH=" + sixteen + "\n");
    EXPECT_EQ(charTables().digraphs.size(), 16u);
    load("ZEMDIGRAPH=\xDFss,\xDFsz\n");  // the same character twice: the first counts
    ASSERT_EQ(charTables().digraphs.size(), 1u);
    EXPECT_EQ(charTables().digraphs[0].second, 's');
    load("ZEMDIGRAPH=\n");
    EXPECT_TRUE(charTables().digraphs.empty());
}

// --- Button captions and error texts ---

TEST_F(SettingsFileTest, ButtonCaptionsInOrderAsGiven) {
    load("ZEMBUTTON=&OK,&Ja,&Nein,'&Abbrechen, sofort',,Cancel\n");
    EXPECT_EQ(messageBoxButtonCaptions(),
              (Strings{"&OK", "&Ja", "&Nein", "&Abbrechen, sofort", "", "Cancel"}));
    load("ZEMBUTTON=\n");
    EXPECT_TRUE(messageBoxButtonCaptions().empty());
}

TEST_F(SettingsFileTest, ReplacementErrorTexts) {
    load(
        "ZEMMSG2=Datei nicht gefunden\n"
        "ZEMMSG035='Satz, leider, nicht gefunden' and this is ignored\n"
        "zemmsg36=Can't read it, sorry\n"
        "ZEMMSG999=Neu\n");
    EXPECT_EQ(errorTextOf(2), "Datei nicht gefunden");
    EXPECT_EQ(errorTextOf(35), "Satz, leider, nicht gefunden");
    EXPECT_EQ(errorTextOf(36), "Can't read it, sorry");
    EXPECT_EQ(errorTextOf(999), "Neu");
    postError(ErrorCode::kFileNotFound, "x");
    EXPECT_EQ(errorText(), "Datei nicht gefunden");
}

TEST_F(SettingsFileTest, EmptyReplacementRestoresTheTableText) {
    load("ZEMMSG2=Weg\nZEMMSG2=\n");
    EXPECT_EQ(errorTextOf(2), "File Not Found");
}

// --- Character set ---

TEST_F(SettingsFileTest, OemValuesAreConvertedWhereverTheKeyStands) {
    load(
        "ZEMMONTH=Januar,Februar,M\x84rz,April,Mai,Juni,Juli,August,September,Oktober,November,"
        "Dezember\n"
        "ZEMCHARSET=OEM\n"
        "ZEMMSG2=Datei f\x81r M\x81ller \xC4 fehlt\n"
        "ZEMCOLSEQ=\x81\x82\n");
    EXPECT_EQ(localeSettings().monthNames[2], "M\xE4rz");
    EXPECT_EQ(errorTextOf(2), "Datei f\xFCr M\xFCller ? fehlt");  // no box drawing in 1252
    // u-umlaut then e-acute, reordered among their Windows-1252 positions.
    EXPECT_EQ(charTables().collation[0xFC], 0xE9);
    EXPECT_EQ(charTables().collation[0xE9], 0xFC);
}

TEST_F(SettingsFileTest, OtherCharacterSetsAndTheLastCharsetLine) {
    struct Case {
        const char* charset;
        const char* expected;
    };
    const Case cases[] = {
        {"ZEMCHARSET=ANSI\n", "M\x84rz"},     {"ZEMCHARSET=oem\n", "M\xE4rz"},
        {"ZEMCHARSET='OEM'\n", "M\xE4rz"},    {"ZEMCHARSET=OEM\nZEMCHARSET=WINDOWS\n", "M\x84rz"},
        {"ZEMCHARSET=OEM,ANSI\n", "M\x84rz"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.charset);
        resetRuntimeSettings();
        load(std::string(c.charset) + "ZEMMSG2=M\x84rz\n");
        EXPECT_EQ(errorTextOf(2), c.expected);
    }
}

// --- Robustness ---

TEST_F(SettingsFileTest, ArbitraryBytesNeverBreakTheReader) {
    std::string junk;
    std::uint32_t x = 12345;
    for (int i = 0; i < 200000; ++i) {
        x = x * 1103515245 + 12345;
        junk += static_cast<char>((x >> 16) & 0xFF);
        if (i % 97 == 0) junk += "\nZEM";
        if (i % 89 == 0) junk += "COLSEQ='";
        if (i % 83 == 0) junk += "=";
    }
    load(junk);
    EXPECT_TRUE(isPermutation(charTables().collation));
    EXPECT_LE(charTables().digraphs.size(), kMaxDigraphs);
    for (const auto& name : localeSettings().monthNames)
        EXPECT_LE(name.size(), 12u);
    EXPECT_LE(localeSettings().am.size(), 2u);
}

TEST_F(SettingsFileTest, ResetPutsEverythingBack) {
    load(
        "ZEMCOLSEQ=zyx\nZEMCASE=WINDOWS\nZEMDIGRAPH=\xDFss\nZEMAMPM=vm,nm\nZEMBUTTON=Ja\n"
        "ZEMMSG2=Weg\n");
    resetRuntimeSettings();
    EXPECT_EQ(charTables().collation, CharTables::defaults().collation);
    EXPECT_EQ(charTables().upper, CharTables::defaults().upper);
    EXPECT_TRUE(charTables().digraphs.empty());
    EXPECT_EQ(localeSettings().am, "AM");
    EXPECT_TRUE(messageBoxButtonCaptions().empty());
    EXPECT_EQ(errorTextOf(2), "File Not Found");
}

// --- Start-up ---

TEST_F(SettingsFileTest, StartUpReadsTheLocaleFirstThenTheProgramsFile) {
    dir.write("config/quillery/intl.ini", "[intl]\ns1159=vorm.\ns2359=nachm.\niTime=1\n");
    ScopedEnvironment xdg("XDG_CONFIG_HOME", dir.file("config"));
    dir.write("bin/quillery.ENV", "ZEMAMPM=WINDOWS\nZEMCASE=WINDOWS\n");
    loadRuntimeSettings(dir.file("bin/quillery"));
    EXPECT_EQ(localeSettings().timeFormat24, 1);
    EXPECT_EQ(localeSettings().am, "vo");
    EXPECT_EQ(localeSettings().pm, "na");
    EXPECT_EQ(toUpperChar(0xE9), 0xC9);
    EXPECT_EQ(errorCode(), 0);
}

TEST_F(SettingsFileTest, StartUpWithoutASettingsFilePostsError2) {
    dir.write("config/quillery/intl.ini", "[intl]\nsTime=.\n");
    ScopedEnvironment xdg("XDG_CONFIG_HOME", dir.file("config"));
    loadRuntimeSettings(dir.file("bin/quillery.exe"));
    EXPECT_EQ(errorCode(), 2);
    EXPECT_EQ(errorFile(), dir.file("bin/quillery.ENV"));
    EXPECT_EQ(localeSettings().timeSeparator, ".");  // the locale was still read
    EXPECT_EQ(localeSettings().am, "AM");
    EXPECT_EQ(charTables().collation, CharTables::defaults().collation);
}

TEST_F(SettingsFileTest, StartUpBeginsFromTheDefaults) {
    ScopedEnvironment xdg("XDG_CONFIG_HOME", dir.file("config"));
    dir.write("q.ENV", "ZEMMON=a,b,c,d,e,f,g,h,i,j,k,l\n");
    load("ZEMAMPM=vm,nm\nZEMCOLSEQ=zyx\n");
    loadRuntimeSettings(dir.file("q"));
    EXPECT_EQ(localeSettings().am, "AM");
    EXPECT_EQ(localeSettings().monthAbbrevs[0], "a");
    EXPECT_EQ(charTables().collation, CharTables::defaults().collation);
}

}  // namespace
}  // namespace quillery
