// Key value encodings byte for byte, their sort order against the values they encode, and the
// key entries built from record images.
#include "storage/key_encoding.h"
#include <ostream>

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "runtime/char_tables.h"

namespace quillery::storage {
namespace {

using Bytes = std::vector<std::uint8_t>;

template <typename T>
Bytes bytesOfValue(T value) {
    Bytes b(sizeof(T));
    std::memcpy(b.data(), &value, sizeof(T));
    return b;
}

Bytes encode(std::uint8_t type, const Bytes& field, bool descending = false,
             bool caseInsensitive = false, const CharTables& tables = CharTables::defaults()) {
    KeySegment segment{type, 0, static_cast<std::uint16_t>(field.size()), descending};
    Bytes out(field.size());
    encodeKeySegment(segment, caseInsensitive, field, out, tables);
    return out;
}

Bytes text(std::string_view s) {
    return Bytes(s.begin(), s.end());
}

int sign(int v) {
    return (v > 0) - (v < 0);
}

int memcmpOrder(const Bytes& a, const Bytes& b) {
    return sign(compareKeys(a, b));
}

// --- Exact bytes ---------------------------------------------------------------------------

struct ExactCase {
    const char* name;
    std::uint8_t type;
    Bytes field;
    bool descending;
    Bytes expected;
};

void PrintTo(const ExactCase& c, std::ostream* os) {
    *os << c.name;
}

class ExactEncoding : public ::testing::TestWithParam<ExactCase> {};

TEST_P(ExactEncoding, EncodesTheFieldBytes) {
    const ExactCase& c = GetParam();
    EXPECT_EQ(encode(c.type, c.field, c.descending), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    EveryType, ExactEncoding,
    ::testing::Values(
        ExactCase{"signed32 -1",
                  FieldType::kSigned32,
                  bytesOfValue<std::int32_t>(-1),
                  false,
                  {0x7F, 0xFF, 0xFF, 0xFF}},
        ExactCase{"signed32 0",
                  FieldType::kSigned32,
                  bytesOfValue<std::int32_t>(0),
                  false,
                  {0x80, 0x00, 0x00, 0x00}},
        ExactCase{"signed32 1",
                  FieldType::kSigned32,
                  bytesOfValue<std::int32_t>(1),
                  false,
                  {0x80, 0x00, 0x00, 0x01}},
        ExactCase{"signed32 0x12345678",
                  FieldType::kSigned32,
                  bytesOfValue<std::int32_t>(0x12345678),
                  false,
                  {0x92, 0x34, 0x56, 0x78}},
        ExactCase{"signed32 min",
                  FieldType::kSigned32,
                  bytesOfValue(std::numeric_limits<std::int32_t>::min()),
                  false,
                  {0x00, 0x00, 0x00, 0x00}},
        ExactCase{"signed32 -1 descending",
                  FieldType::kSigned32,
                  bytesOfValue<std::int32_t>(-1),
                  true,
                  {0x80, 0x00, 0x00, 0x00}},
        ExactCase{"signed16 -2",
                  FieldType::kSigned16,
                  bytesOfValue<std::int16_t>(-2),
                  false,
                  {0x7F, 0xFE}},
        ExactCase{"signed16 0x0102",
                  FieldType::kSigned16,
                  bytesOfValue<std::int16_t>(0x0102),
                  false,
                  {0x81, 0x02}},
        ExactCase{"unsigned16 1 descending",
                  FieldType::kUnsigned16,
                  bytesOfValue<std::uint16_t>(1),
                  true,
                  {0xFF, 0xFE}},
        ExactCase{"unsigned16 0xABCD",
                  FieldType::kUnsigned16,
                  bytesOfValue<std::uint16_t>(0xABCD),
                  false,
                  {0xAB, 0xCD}},
        ExactCase{"unsigned32 0x01020304",
                  FieldType::kUnsigned32,
                  bytesOfValue<std::uint32_t>(0x01020304),
                  false,
                  {0x01, 0x02, 0x03, 0x04}},
        ExactCase{
            "float 1.0", FieldType::kFloat32, bytesOfValue(1.0f), false, {0xBF, 0x80, 0x00, 0x00}},
        ExactCase{
            "float 0.0", FieldType::kFloat32, bytesOfValue(0.0f), false, {0x80, 0x00, 0x00, 0x00}},
        ExactCase{"float -1.0",
                  FieldType::kFloat32,
                  bytesOfValue(-1.0f),
                  false,
                  {0x40, 0x7F, 0xFF, 0xFF}},
        ExactCase{"float -1.0 descending stays uncomplemented",
                  FieldType::kFloat32,
                  bytesOfValue(-1.0f),
                  true,
                  {0xBF, 0x80, 0x00, 0x00}},
        ExactCase{"float 1.0 descending",
                  FieldType::kFloat32,
                  bytesOfValue(1.0f),
                  true,
                  {0x40, 0x7F, 0xFF, 0xFF}},
        ExactCase{"double 1.0",
                  FieldType::kFloat64,
                  bytesOfValue(1.0),
                  false,
                  {0xBF, 0xF0, 0, 0, 0, 0, 0, 0}},
        ExactCase{"double -2.0",
                  FieldType::kFloat64,
                  bytesOfValue(-2.0),
                  false,
                  {0x3F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        ExactCase{"decimal +123", FieldType::kPackedDecimal, {0x01, 0x23}, false, {0x81, 0x23}},
        ExactCase{"decimal -123", FieldType::kPackedDecimal, {0xF1, 0x23}, false, {0x7E, 0xDC}},
        ExactCase{
            "decimal -123 descending", FieldType::kPackedDecimal, {0xF1, 0x23}, true, {0x81, 0x23}},
        ExactCase{
            "decimal +123 descending", FieldType::kPackedDecimal, {0x01, 0x23}, true, {0x7E, 0xDC}},
        ExactCase{"string copied", FieldType::kFixedString, text("aB c"), false, text("aB c")},
        ExactCase{"string descending", FieldType::kFixedString, text("A "), true, {0xBE, 0xDF}},
        ExactCase{"cstring zero-filled after terminator",
                  FieldType::kZeroTerminatedString,
                  {'a', 'b', 0, 'z', 'z'},
                  false,
                  {'a', 'b', 0, 0, 0}},
        ExactCase{"cstring without terminator", FieldType::kZeroTerminatedString, text("abc"),
                  false, text("abc")},
        ExactCase{"pstring length dropped",
                  FieldType::kLengthPrefixedString,
                  {2, 'a', 'b', 'x', 'y'},
                  false,
                  {'a', 'b', 0, 0, 0}},
        ExactCase{"pstring length over the width is capped",
                  FieldType::kLengthPrefixedString,
                  {200, 'a', 'b', 'c'},
                  false,
                  {'a', 'b', 'c', 0}},
        ExactCase{
            "pstring empty", FieldType::kLengthPrefixedString, {0, 'q', 'q'}, false, {0, 0, 0}},
        ExactCase{"unsigned byte copied", FieldType::kUnsignedByte, {0x7A}, false, {0x7A}},
        ExactCase{"unsigned byte descending", FieldType::kUnsignedByte, {0x01}, true, {0xFE}},
        ExactCase{"group copied unchanged",
                  FieldType::kGroup,
                  {0x01, 0x02, 0x03},
                  false,
                  {0x01, 0x02, 0x03}},
        ExactCase{"decimal 0x0B copied unchanged",
                  FieldType::kDecimal,
                  {0xF1, 0x23},
                  false,
                  {0xF1, 0x23}}));

TEST(KeyEncodingStrings, CaseInsensitiveKeysUpperCaseThroughTheTable) {
    EXPECT_EQ(encode(FieldType::kFixedString, text("abc"), false, true), text("ABC"));
    EXPECT_EQ(encode(FieldType::kFixedString, text("ABC"), false, true), text("ABC"));
    EXPECT_NE(encode(FieldType::kFixedString, text("abc")),
              encode(FieldType::kFixedString, text("ABC")));
    // Zero-terminated and length-prefixed strings are upper-cased too.
    EXPECT_EQ(encode(FieldType::kZeroTerminatedString, {'a', 0, 'b'}, false, true),
              Bytes({'A', 0, 0}));
    EXPECT_EQ(encode(FieldType::kLengthPrefixedString, {1, 'q', 'r'}, false, true),
              Bytes({'Q', 0, 0}));
}

TEST(KeyEncodingStrings, MapsThroughTheCollatingSequenceAfterUpperCasing) {
    CharTables tables = CharTables::defaults();
    tables.upper[0xE9] = 0xC9;      // e acute -> E acute
    tables.collation[0xC9] = 0x45;  // E acute ranks as E
    tables.collation['x'] = 0x01;
    EXPECT_EQ(encode(FieldType::kFixedString, {0xE9, 'x'}, false, true, tables),
              Bytes({0x45, 'X'}));
    EXPECT_EQ(encode(FieldType::kFixedString, {0xE9, 'x'}, false, false, tables),
              Bytes({0xE9, 0x01}));
    // Non-string types never go through the tables.
    EXPECT_EQ(encode(FieldType::kUnsignedByte, {'x'}, false, true, tables), Bytes({'x'}));
}

// --- Sort order of random values -----------------------------------------------------------

template <typename T>
std::vector<T> randomValues(std::mt19937& rng, std::vector<T> fixed) {
    std::uniform_int_distribution<std::uint64_t> bits;
    for (int i = 0; i < 400; ++i) {
        std::uint64_t raw = bits(rng);
        T v;
        std::memcpy(&v, &raw, sizeof(T));
        if constexpr (std::is_floating_point_v<T>) {
            if (std::isnan(v)) continue;
            if (i % 2 == 0) v = static_cast<T>(static_cast<int>(raw % 2001) - 1000) / 8;
        }
        fixed.push_back(v);
    }
    return fixed;
}

template <typename T>
void expectOrderMatches(std::uint8_t type, const std::vector<T>& values) {
    for (bool descending : {false, true}) {
        std::vector<Bytes> encoded;
        for (T v : values)
            encoded.push_back(encode(type, bytesOfValue(v), descending));
        for (std::size_t i = 0; i < values.size(); ++i) {
            for (std::size_t j = 0; j < values.size(); j += 7) {
                const int valueOrder = values[i] < values[j] ? -1 : (values[j] < values[i] ? 1 : 0);
                if constexpr (std::is_floating_point_v<T>) {
                    if (valueOrder == 0) continue;  // +0 and -0 compare equal but differ in bytes
                }
                ASSERT_EQ(memcmpOrder(encoded[i], encoded[j]),
                          descending ? -valueOrder : valueOrder)
                    << +values[i] << " vs " << +values[j] << (descending ? " descending" : "");
            }
        }
    }
}

TEST(KeyEncodingOrder, IntegersSortByValue) {
    std::mt19937 rng(1234);
    expectOrderMatches<std::int16_t>(FieldType::kSigned16,
                                     randomValues<std::int16_t>(rng, {-32768, -1, 0, 1, 32767}));
    expectOrderMatches<std::uint16_t>(FieldType::kUnsigned16,
                                      randomValues<std::uint16_t>(rng, {0, 1, 255, 256, 65535}));
    expectOrderMatches<std::int32_t>(
        FieldType::kSigned32,
        randomValues<std::int32_t>(rng, {std::numeric_limits<std::int32_t>::min(), -1, 0, 1,
                                         std::numeric_limits<std::int32_t>::max()}));
    expectOrderMatches<std::uint32_t>(FieldType::kUnsigned32,
                                      randomValues<std::uint32_t>(rng, {0, 1, 0x100, 0xFFFFFFFF}));
}

TEST(KeyEncodingOrder, FloatsSortByValue) {
    std::mt19937 rng(99);
    expectOrderMatches<float>(FieldType::kFloat32,
                              randomValues<float>(rng, {-2.0f, -1.0f, 0.0f, 1.0f, -1e30f, 1e-30f}));
    expectOrderMatches<double>(FieldType::kFloat64,
                               randomValues<double>(rng, {-2.0, -1.0, 0.0, 1.0, -1e300, 1e-300}));
}

TEST(KeyEncodingOrder, NegativeFloatsSortBelowZeroAndPositives) {
    const Bytes a = encode(FieldType::kFloat64, bytesOfValue(-2.0));
    const Bytes b = encode(FieldType::kFloat64, bytesOfValue(-1.0));
    const Bytes c = encode(FieldType::kFloat64, bytesOfValue(0.0));
    const Bytes d = encode(FieldType::kFloat64, bytesOfValue(1.0));
    EXPECT_LT(compareKeys(a, b), 0);
    EXPECT_LT(compareKeys(b, c), 0);
    EXPECT_LT(compareKeys(c, d), 0);
}

// Packed decimal of three digits in two bytes: sign nibble (0 or 0xF), then the digits.
Bytes packedDecimal(int value) {
    const int magnitude = std::abs(value);
    const int d0 = magnitude / 100, d1 = magnitude / 10 % 10, d2 = magnitude % 10;
    return {static_cast<std::uint8_t>((value < 0 ? 0xF0 : 0x00) | d0),
            static_cast<std::uint8_t>(d1 << 4 | d2)};
}

TEST(KeyEncodingOrder, PackedDecimalsSortByValue) {
    std::vector<int> values;
    for (int v = -999; v <= 999; v += 37)
        values.push_back(v);
    values.push_back(-1);
    values.push_back(1);
    for (bool descending : {false, true}) {
        for (int a : values) {
            for (int b : values) {
                if (a == 0 && b == 0) continue;
                const int expected = sign(a - b) * (descending ? -1 : 1);
                ASSERT_EQ(
                    memcmpOrder(encode(FieldType::kPackedDecimal, packedDecimal(a), descending),
                                encode(FieldType::kPackedDecimal, packedDecimal(b), descending)),
                    expected)
                    << a << " vs " << b;
            }
        }
    }
}

// Installs scrambled character tables for one test and puts the defaults back afterwards.
class ScrambledTables : public ::testing::Test {
  protected:
    void SetUp() override {
        tables_ = CharTables::defaults();
        // Letters rank in reverse; lower-case e-acute pairs with upper-case E-acute.
        for (int c = 'A'; c <= 'Z'; ++c)
            tables_.collation[c] = static_cast<std::uint8_t>('Z' - c + 'A');
        tables_.upper[0xE9] = 0xC9;
        tables_.collation[0xC9] = 0xF0;
        setCharTables(tables_);
    }
    void TearDown() override { setCharTables(CharTables::defaults()); }

    std::string randomText(std::mt19937& rng) {
        static const std::string alphabet = "aAbBzZ e\xE9\xC9!~";
        std::uniform_int_distribution<std::size_t> len(0, 8);
        std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
        std::string s(len(rng), ' ');
        for (auto& ch : s)
            ch = alphabet[pick(rng)];
        return s;
    }

    CharTables tables_;
};

TEST_F(ScrambledTables, CaseInsensitiveStringsSortAsTheCollatingCompare) {
    std::mt19937 rng(7);
    constexpr std::size_t kWidth = 10;
    auto field = [&](const std::string& s) {
        Bytes b(kWidth, ' ');
        std::copy(s.begin(), s.end(), b.begin());
        return b;
    };
    auto upper = [&](std::string s) {
        for (auto& ch : s)
            ch = static_cast<char>(toUpperChar(static_cast<unsigned char>(ch)));
        return s;
    };
    for (int i = 0; i < 3000; ++i) {
        const std::string a = randomText(rng);
        const std::string b = randomText(rng) + (i % 3 == 0 ? "  " : "");  // trailing blanks
        const int expected = sign(collateCompare(upper(a), upper(b)));
        for (bool descending : {false, true}) {
            const Bytes ea = encode(FieldType::kFixedString, field(a), descending, true, tables_);
            const Bytes eb = encode(FieldType::kFixedString, field(b), descending, true, tables_);
            ASSERT_EQ(memcmpOrder(ea, eb), descending ? -expected : expected)
                << "'" << a << "' vs '" << b << "'";
        }
    }
}

TEST_F(ScrambledTables, CaseSensitiveStringsKeepCaseApart) {
    std::mt19937 rng(8);
    for (int i = 0; i < 2000; ++i) {
        std::string a = randomText(rng), b = randomText(rng);
        a.resize(8, ' ');
        b.resize(8, ' ');
        const int expected = sign(collateCompare(a, b));
        ASSERT_EQ(memcmpOrder(encode(FieldType::kFixedString, text(a), false, false, tables_),
                              encode(FieldType::kFixedString, text(b), false, false, tables_)),
                  expected)
            << "'" << a << "' vs '" << b << "'";
    }
}

// --- Emptiness and key entries -------------------------------------------------------------

TEST(KeyEncodingEmpty, EachTypeHasItsOwnEmptyValue) {
    EXPECT_TRUE(isEmptyKeyField(FieldType::kFixedString, text("    ")));
    EXPECT_FALSE(isEmptyKeyField(FieldType::kFixedString, text("   x")));
    EXPECT_FALSE(isEmptyKeyField(FieldType::kFixedString, Bytes(4, 0)));
    EXPECT_TRUE(isEmptyKeyField(FieldType::kGroup, text("  ")));
    EXPECT_FALSE(isEmptyKeyField(FieldType::kGroup, Bytes(2, 0)));
    EXPECT_TRUE(isEmptyKeyField(FieldType::kZeroTerminatedString, Bytes{0, 'x'}));
    EXPECT_FALSE(isEmptyKeyField(FieldType::kZeroTerminatedString, Bytes{' ', 0}));
    EXPECT_TRUE(isEmptyKeyField(FieldType::kLengthPrefixedString, Bytes{0, 'x'}));
    EXPECT_FALSE(isEmptyKeyField(FieldType::kLengthPrefixedString, Bytes{1, 'x'}));
    EXPECT_TRUE(isEmptyKeyField(FieldType::kSigned32, Bytes(4, 0)));
    EXPECT_FALSE(isEmptyKeyField(FieldType::kSigned32, Bytes{0, 0, 0, 1}));
    EXPECT_FALSE(isEmptyKeyField(FieldType::kUnsignedByte, text(" ")));
}

// A record: a 4-byte signed number at 0, a 6-character string at 4, a byte at 10.
KeyLayout twoComponentLayout(std::uint8_t flags) {
    return {flags, {{FieldType::kSigned32, 0, 4, false}, {FieldType::kFixedString, 4, 6, true}}};
}

Bytes record(std::int32_t number, std::string_view name, std::uint8_t byte = 0) {
    Bytes r = bytesOfValue(number);
    Bytes t(6, ' ');
    std::copy(name.begin(), name.end(), t.begin());
    r.insert(r.end(), t.begin(), t.end());
    r.push_back(byte);
    return r;
}

TEST(KeyEntries, DuplicatesKeyCarriesTheRecordNumberInKeyAndData) {
    const KeyLayout layout = twoComponentLayout(KeyFlag::kDuplicates);
    KeyEntry entry;
    ASSERT_EQ(buildKeyEntry(0x00000102, 3, layout, record(1, "ab"), 0x0A0B0C0D, entry),
              KeyEntryResult::kBuilt);
    const Bytes expected = {0x00, 0x00, 0x01, 0x02, 0x03,        // table, key number
                            0x80, 0x00, 0x00, 0x01,              // 1
                            0x9E, 0x9D, 0xDF, 0xDF, 0xDF, 0xDF,  // "ab    " descending
                            0x0A, 0x0B, 0x0C, 0x0D};
    EXPECT_EQ(entry.key, expected);
    EXPECT_EQ(entry.data, (std::array<std::uint8_t, 4>{0x0A, 0x0B, 0x0C, 0x0D}));
    EXPECT_EQ(entry.key.size(), layout.entryKeyLength());
}

TEST(KeyEntries, UniqueKeyHasNoRecordNumberInItsKey) {
    const KeyLayout layout = twoComponentLayout(0);
    KeyEntry entry;
    ASSERT_EQ(buildKeyEntry(7, 0, layout, record(-1, "ab"), 9, entry), KeyEntryResult::kBuilt);
    EXPECT_EQ(entry.key.size(), 5u + 10u);
    EXPECT_EQ(Bytes(entry.key.begin(), entry.key.begin() + 9),
              Bytes({0, 0, 0, 7, 0, 0x7F, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(entry.data, (std::array<std::uint8_t, 4>{0, 0, 0, 9}));
}

TEST(KeyEntries, EqualValuesSortByRecordNumber) {
    const KeyLayout layout = twoComponentLayout(KeyFlag::kDuplicates);
    KeyEntry low, high;
    ASSERT_EQ(buildKeyEntry(1, 1, layout, record(5, "x"), 0x00000100, low), KeyEntryResult::kBuilt);
    ASSERT_EQ(buildKeyEntry(1, 1, layout, record(5, "x"), 0x000000FF + 0x200, high),
              KeyEntryResult::kBuilt);
    EXPECT_LT(compareKeys(low.key, high.key), 0);
}

TEST(KeyEntries, OptionalKeyWithEveryComponentEmptyHasNoEntry) {
    const KeyLayout layout = twoComponentLayout(KeyFlag::kOptional | KeyFlag::kDuplicates);
    KeyEntry entry;
    EXPECT_EQ(buildKeyEntry(1, 0, layout, record(0, ""), 1, entry), KeyEntryResult::kNoEntry);
    EXPECT_EQ(buildKeyEntry(1, 0, layout, record(0, "a"), 1, entry), KeyEntryResult::kBuilt);
    EXPECT_EQ(buildKeyEntry(1, 0, layout, record(2, ""), 1, entry), KeyEntryResult::kBuilt);
    // Not optional: an empty record still gets its entry.
    EXPECT_EQ(buildKeyEntry(1, 0, twoComponentLayout(0), record(0, ""), 1, entry),
              KeyEntryResult::kBuilt);
}

TEST(KeyEntries, ComponentOutsideTheRecordIsRefused) {
    const KeyLayout layout = twoComponentLayout(KeyFlag::kOptional);
    Bytes shortRecord = record(0, "abc");
    shortRecord.resize(9);
    KeyEntry entry;
    EXPECT_EQ(buildKeyEntry(1, 0, layout, shortRecord, 1, entry), KeyEntryResult::kRecordTooShort);
    Bytes out = {0x42};
    EXPECT_FALSE(encodeKeyValue(layout, shortRecord, out));
    EXPECT_EQ(out, Bytes({0x42}));
    EXPECT_TRUE(layout.fitsRecord(10));
    EXPECT_FALSE(layout.fitsRecord(9));
}

TEST(KeyEntries, SearchKeysBracketEqualValues) {
    const KeyLayout layout = twoComponentLayout(KeyFlag::kDuplicates | KeyFlag::kOptional);
    Bytes from, to;
    ASSERT_TRUE(buildKeySearchKey(1, 2, layout, record(0, ""), EqualValues::kFromStart, from));
    ASSERT_TRUE(buildKeySearchKey(1, 2, layout, record(0, ""), EqualValues::kFromEnd, to));
    EXPECT_EQ(Bytes(from.end() - 4, from.end()), Bytes({0, 0, 0, 0}));
    EXPECT_EQ(Bytes(to.end() - 4, to.end()), Bytes({0xFF, 0xFF, 0xFF, 0xFF}));
    KeyEntry entry;
    ASSERT_EQ(
        buildKeyEntry(1, 2, twoComponentLayout(KeyFlag::kDuplicates), record(0, ""), 77, entry),
        KeyEntryResult::kBuilt);
    EXPECT_LT(compareKeys(from, entry.key), 0);
    EXPECT_GT(compareKeys(to, entry.key), 0);
    // A unique key's search key is just prefix and value.
    Bytes unique;
    ASSERT_TRUE(buildKeySearchKey(1, 2, twoComponentLayout(0), record(0, ""), EqualValues::kFromEnd,
                                  unique));
    EXPECT_EQ(unique.size(), 15u);
}

TEST(KeyComparison, UnsignedBytesThenShorterFirst) {
    EXPECT_LT(compareKeys(Bytes{0x01, 0xFF}, Bytes{0x80}), 0);
    EXPECT_GT(compareKeys(Bytes{0xFF}, Bytes{0x7F, 0xFF}), 0);
    EXPECT_LT(compareKeys(Bytes{0x01}, Bytes{0x01, 0x00}), 0);
    EXPECT_EQ(compareKeys(Bytes{0x01, 0x02}, Bytes{0x01, 0x02}), 0);
    EXPECT_EQ(compareKeys(Bytes{}, Bytes{}), 0);
    EXPECT_LT(compareKeys(Bytes{}, Bytes{0x00}), 0);
}

}  // namespace
}  // namespace quillery::storage
