// Tables stored in OEM characters (code page 437): text converted on the way in and out through
// the file statements, everything else untouched, keys in the same order as an ordinary table's,
// and the change check comparing stored bytes with stored bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/char_tables.h"
#include "runtime/codepage.h"
#include "storage/key_encoding.h"
#include "storage/table_checker.h"
#include "tests/storage/file_test_support.h"
#include "tests/storage/storage_test_support.h"

namespace quillery::storage::testing {
namespace {

// 0 NAME string 20, 20 COUNT signed 32, 24 FLAG byte, 25 ZNAME zero-terminated 10,
// 35 PNAME length-prefixed 10, 45 CODES fixed string 3 x 2 (an array).
namespace Oem {
inline constexpr std::size_t kLength = 51;
inline constexpr std::size_t NAME = 0, COUNT = 20, FLAG = 24, ZNAME = 25, PNAME = 35, CODES = 45;
}  // namespace Oem
inline constexpr std::array<FieldDeclaration, 6> kOemFields{{
    {T::kFixedString, 20, "OE:NAME"},
    {T::kSigned32, 4, "OE:COUNT"},
    {T::kUnsignedByte, 1, "OE:FLAG"},
    {T::kZeroTerminatedString, 10, "OE:ZNAME"},
    {T::kLengthPrefixedString, 10, "OE:PNAME"},
    {T::kFixedString, 6, "OE:CODES", 3},
}};
inline constexpr std::int16_t kNameComponents[] = {1};
inline constexpr std::int16_t kZNameComponents[] = {4};
inline constexpr std::array<KeyDeclaration, 3> kOemKeys{{
    {"OE:NAMEKEY", KeyAttribute::kDuplicates, kNameComponents},
    {"OE:NOCASEKEY", kDupOptNoCase, kNameComponents},
    {"OE:ZNAMEKEY", KeyAttribute::kDuplicates, kZNameComponents},
}};
inline constexpr std::array<MemoDeclaration, 2> kOemMemos{{
    {"OE:NOTE", std::nullopt, 200, 0},
    {"OE:RAW", std::nullopt, 200, MemoFlag::kBinary},
}};

constexpr std::size_t kNameKey = 0, kNoCaseKey = 1;

class OemTableTest : public ::testing::Test {
  protected:
    OemTableTest()
        : oem(kOemFields, kOemKeys, Oem::kLength), plain(kOemFields, kOemKeys, Oem::kLength) {
        oem.declaration().oem = true;
        oem.declaration().memos = kOemMemos;
        plain.declaration().memos = kOemMemos;
        oem.setName(dir.file("oem.dat"));
        plain.setName(dir.file("oem.dat"));
    }
    void TearDown() override { setCharTables(CharTables::defaults()); }

    void createOem() {
        CREATE(*oem);
        ASSERT_EQ(errorCode(), 0) << errorText();
        OPEN(*oem, kReadWriteDenyNone);
        ASSERT_EQ(errorCode(), 0) << errorText();
    }
    // The number the first record added gets (the table took the first one).
    static constexpr std::uint32_t first = 2;
    // Fills the OEM buffer the way a program would.
    void fill(DeclaredFile& file, std::string_view name, std::int32_t count = 0) {
        CLEAR(*file);
        file.setText(Oem::NAME, 20, name);
        file.setInt32(Oem::COUNT, count);
    }
    void addName(DeclaredFile& file, std::string_view name) {
        fill(file, name);
        ADD(*file);
        ASSERT_EQ(errorCode(), 0) << errorText();
    }
    // The names in the order of `key`.
    std::vector<std::string> namesInOrder(DeclaredFile& file, std::size_t key) {
        std::vector<std::string> names;
        SET(keyOf(*file, key));
        for (NEXT(*file); errorCode() == 0; NEXT(*file))
            names.push_back(file.text(Oem::NAME, 20));
        EXPECT_EQ(errorCode(), ErrorCode::kRecordNotAvailable);
        return names;
    }
    Bytes bytesAt(DeclaredFile& file, std::size_t offset, std::size_t width) {
        return Bytes(file.buffer().begin() + static_cast<std::ptrdiff_t>(offset),
                     file.buffer().begin() + static_cast<std::ptrdiff_t>(offset + width));
    }
    void expectCleanTable(DeclaredFile& file) {
        const TableCheckReport report = checkTable(*file.block().open->table);
        EXPECT_TRUE(report.clean()) << (report.findings.empty() ? "" : report.findings.front());
    }

    ScratchDir dir;
    DeclaredFile oem;
    DeclaredFile plain;
};

TEST_F(OemTableTest, TextIsStoredInCodePage437AndReadBackAsWindows1252) {
    createOem();
    struct Row {
        const char* ansi;
        const char* stored;
    };
    const Row rows[] = {
        {"M\xFCller", "M\x81ller"},
        {"\xC5ngstr\xF6m", "\x8Fngstr\x94m"},
        {"caf\xE9", "caf\x82"},
    };
    std::vector<std::int64_t> positions;
    for (const Row& r : rows) {
        fill(oem, r.ansi, 0x01828384);
        oem.buffer()[Oem::FLAG] = 0x81;
        ADD(*oem);
        ASSERT_EQ(errorCode(), 0) << errorText();
        positions.push_back(POSITION(*oem));
        // The buffer keeps the program's text.
        EXPECT_EQ(oem.text(Oem::NAME, 20), r.ansi);
    }
    expectCleanTable(oem);
    CLOSE(*oem);

    // An ordinary declaration over the same file sees the stored bytes.
    OPEN(*plain, kReadWriteDenyNone);
    ASSERT_EQ(errorCode(), 0) << errorText();
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        GET(*plain, positions[i]);
        ASSERT_EQ(errorCode(), 0) << errorText();
        EXPECT_EQ(plain.text(Oem::NAME, 20), rows[i].stored);
        EXPECT_EQ(plain.int32(Oem::COUNT), 0x01828384);  // numbers are never converted
        EXPECT_EQ(plain.buffer()[Oem::FLAG], 0x81);
    }
    CLOSE(*plain);

    OPEN(*oem, kReadWriteDenyNone);
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        GET(*oem, positions[i]);
        ASSERT_EQ(errorCode(), 0) << errorText();
        EXPECT_EQ(oem.text(Oem::NAME, 20), rows[i].ansi);
        EXPECT_EQ(oem.int32(Oem::COUNT), 0x01828384);
        EXPECT_EQ(oem.buffer()[Oem::FLAG], 0x81);
    }
}

TEST_F(OemTableTest, EveryStringTypeIsConvertedButNotALengthByte) {
    createOem();
    fill(oem, "x");
    std::memcpy(&oem.buffer()[Oem::ZNAME], "\xE9t\xE9\0\xE9", 5);
    // Length 0x82 would be 'é' if it were taken for text; it is clipped to the field.
    oem.buffer()[Oem::PNAME] = 3;
    std::memcpy(&oem.buffer()[Oem::PNAME + 1], "\xE4\xF6\xFC\xE9", 4);
    std::memcpy(&oem.buffer()[Oem::CODES], "\xC4\xD6\xDC\xE4\xF6\xFC", 6);
    ADD(*oem);
    ASSERT_EQ(errorCode(), 0) << errorText();
    CLOSE(*oem);

    OPEN(*plain, kReadWriteDenyNone);
    GET(*plain, first);
    ASSERT_EQ(errorCode(), 0) << errorText();
    // The zero-terminated string converts in full (zero maps to zero).
    EXPECT_EQ(bytesAt(plain, Oem::ZNAME, 5), bytesOf(std::string_view("\x82t\x82\0\x82", 5)));
    // Only the counted characters: the fourth byte lies past the length.
    EXPECT_EQ(bytesAt(plain, Oem::PNAME, 5), bytesOf("\x03\x84\x94\x81\xE9"));
    EXPECT_EQ(bytesAt(plain, Oem::CODES, 6), bytesOf("\x8E\x99\x9A\x84\x94\x81"));
    CLOSE(*plain);

    OPEN(*oem, kReadWriteDenyNone);
    GET(*oem, first);
    EXPECT_EQ(bytesAt(oem, Oem::ZNAME, 5), bytesOf(std::string_view("\xE9t\xE9\0\xE9", 5)));
    EXPECT_EQ(bytesAt(oem, Oem::PNAME, 5), bytesOf("\x03\xE4\xF6\xFC\xE9"));
    EXPECT_EQ(bytesAt(oem, Oem::CODES, 6), bytesOf("\xC4\xD6\xDC\xE4\xF6\xFC"));
}

TEST_F(OemTableTest, ACharacterWithoutAnOemFormIsStoredAsAQuestionMark) {
    createOem();
    addName(oem, "5\x80 \xA9 \xF8");  // euro, copyright, o with stroke
    CLOSE(*oem);
    OPEN(*plain, kReadWriteDenyNone);
    GET(*plain, first);
    EXPECT_EQ(plain.text(Oem::NAME, 20), "5? ? ?");
    CLOSE(*plain);
    OPEN(*oem, kReadWriteDenyNone);
    GET(*oem, first);
    EXPECT_EQ(oem.text(Oem::NAME, 20), "5? ? ?");
}

TEST_F(OemTableTest, TextMemosAreConvertedBinaryMemosAreNot) {
    createOem();
    fill(oem, "memo");
    auto& memos = oem.block().memos;
    memos[0] = bytesOf(
        "Gr\xFC\xDF"
        "e");
    memos[1] = bytesOf("\xFC\xDF");
    ADD(*oem);
    ASSERT_EQ(errorCode(), 0) << errorText();
    CLOSE(*oem);
    OPEN(*plain, kReadWriteDenyNone);
    GET(*plain, first);
    EXPECT_EQ(plain.block().memos[0], bytesOf("Gr\x81\xE1"
                                              "e"));
    EXPECT_EQ(plain.block().memos[1], bytesOf("\xFC\xDF"));
    CLOSE(*plain);
    OPEN(*oem, kReadWriteDenyNone);
    GET(*oem, first);
    EXPECT_EQ(oem.block().memos[0], bytesOf("Gr\xFC\xDF"
                                            "e"));
    EXPECT_EQ(oem.block().memos[1], bytesOf("\xFC\xDF"));
}

// The same texts on an ordinary table and on an OEM one come out of their keys in the same
// order, with the default tables and with a collation that ranks the upper half backwards.
TEST_F(OemTableTest, KeysSortAsTheWindowsTextsDo) {
    const std::vector<std::string> names = {
        "Zoe",
        "\xC4rger",
        "Apfel",
        "\xE9"
        "clair",
        "Eber",
        "\xF1u",
        "Nuss",
        "\xFC"
        "ber",
        "Ulm",
        "\xC5ngstr\xF6m",
        "M\xFCller",
        "Muller",
        "caf\xE9",
        "ca"
        "fe",
        "\xC9t\xE9",
        "\xDF"
        "a",
        "\xD1"
        "a",
        "\xFF"
        "a",
    };
    CharTables backwards = CharTables::defaults();
    for (int c = 0x80; c < 0x100; ++c)
        backwards.collation[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(0x17F - c);
    for (const CharTables& tables : {CharTables::defaults(), backwards}) {
        setCharTables(tables);
        ScratchDir here;
        DeclaredFile ordinary(kOemFields, kOemKeys, Oem::kLength);
        DeclaredFile stored(kOemFields, kOemKeys, Oem::kLength);
        stored.declaration().oem = true;
        createAndOpen(ordinary, here.file("ansi.dat"), kReadWriteDenyNone);
        createAndOpen(stored, here.file("oem.dat"), kReadWriteDenyNone);
        for (const std::string& name : names) {
            addName(ordinary, name);
            addName(stored, name);
        }
        for (std::size_t key : {kNameKey, kNoCaseKey}) {
            const std::vector<std::string> expected = namesInOrder(ordinary, key);
            ASSERT_EQ(expected.size(), names.size());
            EXPECT_EQ(namesInOrder(stored, key), expected) << "key " << key;
        }
        // Without the OEM mapping the stored bytes would put n-tilde (0xA4) after u-umlaut
        // (0x81); check the order really depends on it.
        const auto order = namesInOrder(stored, kNameKey);
        const auto at = [&](const std::string& n) {
            return std::find(order.begin(), order.end(), n) - order.begin();
        };
        if (tables.collation == CharTables::defaults().collation)
            EXPECT_LT(at("\xF1u"), at("\xFC"
                                      "ber"));
        else
            EXPECT_GT(at("\xF1u"), at("\xFC"
                                      "ber"));
        expectCleanTable(stored);
    }
}

TEST_F(OemTableTest, GetByKeySearchesWithTheStoredForm) {
    createOem();
    for (const char* name : {"M\xFCller", "Muller", "Mz", "\xC4rger"})
        addName(oem, name);
    fill(oem, "M\xFCller");
    GET(keyOf(*oem, kNameKey));
    ASSERT_EQ(errorCode(), 0) << errorText();
    EXPECT_EQ(oem.text(Oem::NAME, 20), "M\xFCller");
    EXPECT_EQ(POSITION(*oem), first);
}

TEST_F(OemTableTest, ChangeCheckComparesStoredBytesWithStoredBytes) {
    createOem();
    addName(oem, "\xC5ngstr\xF6m");
    WATCH(*oem);
    GET(*oem, first);
    ASSERT_EQ(errorCode(), 0);
    oem.setInt32(Oem::COUNT, 7);
    PUT(*oem);
    EXPECT_EQ(errorCode(), 0) << errorText();

    // A change made elsewhere is still found.
    GET(*oem, first);
    ASSERT_EQ(errorCode(), 0);
    OPEN(*plain, kReadWriteDenyNone);
    GET(*plain, first);
    plain.setInt32(Oem::COUNT, 8);
    PUT(*plain);
    ASSERT_EQ(errorCode(), 0) << errorText();
    oem.setInt32(Oem::COUNT, 9);
    PUT(*oem);
    EXPECT_EQ(errorCode(), ErrorCode::kRecordChangedByAnotherStation);
}

TEST_F(OemTableTest, AFieldLeftAsReadKeepsCharactersWithoutAWindowsForm) {
    createOem();
    OPEN(*plain, kReadWriteDenyNone);
    ASSERT_EQ(errorCode(), 0);
    // Box drawing characters stored by some other program.
    fill(plain, "\xC9\xCD\xBB ok");
    plain.setText(Oem::ZNAME, 10, "\xB0\xB1");
    ADD(*plain);
    ASSERT_EQ(errorCode(), 0) << errorText();

    GET(*oem, first);
    ASSERT_EQ(errorCode(), 0) << errorText();
    EXPECT_EQ(oem.text(Oem::NAME, 20), "??? ok");
    oem.setInt32(Oem::COUNT, 5);
    oem.setText(Oem::ZNAME, 10, "\xE9");  // this field the program changes
    PUT(*oem);
    ASSERT_EQ(errorCode(), 0) << errorText();

    GET(*plain, first);
    EXPECT_EQ(plain.text(Oem::NAME, 20), "\xC9\xCD\xBB ok");
    EXPECT_EQ(plain.text(Oem::ZNAME, 10).substr(0, 1), "\x82");
    EXPECT_EQ(plain.int32(Oem::COUNT), 5);
}

// Each code page 437 byte of an OEM string component encodes as its Windows-1252 character
// does on an ordinary table: upper-cased as that character, then ranked.
TEST(OemKeyEncodingTest, EachOemByteEncodesAsItsWindowsCharacter) {
    CharTables tables = CharTables::defaults();
    tables.upper[0xFC] = 0xDC;  // u-umlaut pairs with its capital
    tables.upper[0xE9] = 0xC9;  // e-acute likewise
    for (int c = 0; c < 0x100; ++c)
        tables.collation[static_cast<std::size_t>(c)] =
            static_cast<std::uint8_t>((c * 7 + 3) & 0xFF);
    for (std::uint8_t type :
         {T::kFixedString, T::kZeroTerminatedString, T::kLengthPrefixedString}) {
        const bool counted = type == T::kLengthPrefixedString;
        for (bool noCase : {false, true}) {
            for (int c = 1; c < 0x100; ++c) {
                const auto oemByte = static_cast<std::uint8_t>(c);
                const std::uint8_t ansiByte = cp437ToCp1252(oemByte);
                const Bytes oemField = counted ? Bytes{1, oemByte} : Bytes{oemByte, 0x20};
                const Bytes ansiField = counted ? Bytes{1, ansiByte} : Bytes{ansiByte, 0x20};
                KeySegment oemSegment{type, 0, 2, false};
                oemSegment.oemText = true;
                const KeySegment ansiSegment{type, 0, 2, false};
                Bytes fromOem(2), fromAnsi(2);
                encodeKeySegment(oemSegment, noCase, oemField, fromOem, tables);
                encodeKeySegment(ansiSegment, noCase, ansiField, fromAnsi, tables);
                EXPECT_EQ(fromOem, fromAnsi) << "type " << int{type} << " byte " << c;
            }
        }
    }
    // Small and capital u-umlaut (437: 0x81, 0x9A) meet in a case-blind key only.
    KeySegment segment{T::kFixedString, 0, 1, false};
    segment.oemText = true;
    Bytes small(1), capital(1);
    encodeKeySegment(segment, true, Bytes{0x81}, small, tables);
    encodeKeySegment(segment, true, Bytes{0x9A}, capital, tables);
    EXPECT_EQ(small, capital);
    encodeKeySegment(segment, false, Bytes{0x81}, small, tables);
    encodeKeySegment(segment, false, Bytes{0x9A}, capital, tables);
    EXPECT_NE(small, capital);
}

}  // namespace
}  // namespace quillery::storage::testing
