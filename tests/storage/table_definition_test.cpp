// Table definitions: the stream's exact bytes, the round trip, damaged stored bytes, the
// definition blocks, the declaration's layout and limits, and the stored-against-declared check.
#include "storage/table_definition.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "runtime/errors.h"
#include "storage/table_definition_check.h"
#include "storage/table_definition_declaration.h"

namespace quillery::storage {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A small table touching every kind of item: a byte, a group of two longs, a string with a
// carried picture, a packed decimal, a blob memo, a descending two-component key and a
// run-time index.
constexpr FieldDeclaration kFields[] = {
    {FieldType::kUnsignedByte, 1, "T:FLAG"},
    {FieldType::kGroup, 8, "T:STAMP"},
    {FieldType::kSigned32, 4, "T:DATE"},
    {FieldType::kSigned32, 4, "T:TIME"},
    {FieldType::kFixedString, 5, "T:NAME", 1, 0, 0, {7, 0x0102}, 3, "@s5"},
    {FieldType::kPackedDecimal, 3, "T:SUM", 1, 5, 2},
};
constexpr std::int16_t kByNameAndDate[] = {5, -3};
constexpr std::int16_t kNoComponents[] = {0};
constexpr MemoDeclaration kMemos[] = {{"T:NOTES", std::nullopt, 300, MemoFlag::kBlob}};
constexpr KeyDeclaration kKeys[] = {
    {"T:NAMEKEY", KeyAttribute::kDuplicates | KeyAttribute::kCaseInsensitive, kByNameAndDate},
    {"T:RUNTIME", KeyAttribute::kIndex, std::span<const std::int16_t>(kNoComponents, 0), "EXT"},
};

TableDeclaration smallDeclaration() {
    TableDeclaration d;
    d.label = "T";
    d.prefix = "T";
    d.driver = "VELTRANE";
    d.recordLength = 17;
    d.fields = kFields;
    d.memos = kMemos;
    d.keys = kKeys;
    return d;
}

TableDefinition smallDefinition() {
    TableDefinition d;
    const auto status = definitionOf(smallDeclaration(), d);
    EXPECT_TRUE(status.ok()) << status.message();
    return d;
}

Bytes text(std::string_view s) {
    return Bytes(s.begin(), s.end());
}

Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST(DefinitionStream, ExactBytesOfASmallTable) {
    const Bytes expected = cat({
        {0x02, 0x00, 0x11, 0x00, 0x06, 0x00, 0x01, 0x00, 0x02, 0x00},  // v2 (blob), 17, 6, 1, 2
        // T:FLAG: byte at 0
        {0x01, 0x00, 0x00},
        text("T:FLAG"),
        {0x00, 0x01, 0x00, 0x01, 0x00, 0, 0, 0, 0},
        // T:STAMP: group at 1, 8 bytes
        {0x16, 0x01, 0x00},
        text("T:STAMP"),
        {0x00, 0x01, 0x00, 0x08, 0x00, 0, 0, 0, 0},
        // T:DATE at 1, T:TIME at 5
        {0x06, 0x01, 0x00},
        text("T:DATE"),
        {0x00, 0x01, 0x00, 0x04, 0x00, 0, 0, 0, 0},
        {0x06, 0x05, 0x00},
        text("T:TIME"),
        {0x00, 0x01, 0x00, 0x04, 0x00, 0, 0, 0, 0},
        // T:NAME at 9: carried 7 and 0x0102, then 3 and "@s5"
        {0x12, 0x09, 0x00},
        text("T:NAME"),
        {0x00, 0x01, 0x00, 0x05, 0x00, 0x07, 0x00, 0x02, 0x01},
        {0x03, 0x00},
        text("@s5"),
        {0x00},
        // T:SUM at 14: 5 digits, 2 places
        {0x0A, 0x0E, 0x00},
        text("T:SUM"),
        {0x00, 0x01, 0x00, 0x03, 0x00, 0, 0, 0, 0, 0x05, 0x02},
        // memo: name, null second name, 300, blob
        text("T:NOTES"),
        {0x00, 0x00, 0x01, 0x2C, 0x01, 0x04, 0x00},
        // key 0: duplicates + case-insensitive; T:NAME (index 4), T:DATE (index 2) descending
        text("T:NAMEKEY"),
        {0x00, 0x00, 0x01, 0x05, 0x02, 0x00, 0x04, 0x00, 0x00, 0x00, 0x02, 0x00, 0x01, 0x00},
        // key 1: run-time index, no components
        text("T:RUNTIME"),
        {0x00},
        text("EXT"),
        {0x00, 0x60, 0x00, 0x00},
    });
    EXPECT_EQ(encodeDefinition(smallDefinition()), expected);
}

TEST(DefinitionStream, StringsEmptyNullAndCutAtZero) {
    TableDefinition d;
    d.recordLength = 1;
    d.fields.push_back({FieldType::kUnsignedByte, 0, std::string(), 1, 1});
    d.fields.push_back({FieldType::kUnsignedByte, 0, std::nullopt, 1, 1});
    d.fields.push_back({FieldType::kUnsignedByte, 0, std::string("ab\0cd", 5), 1, 1});
    const Bytes stream = encodeDefinition(d);
    const Bytes fields(stream.begin() + 10, stream.end());
    EXPECT_EQ(fields, cat({{0x01, 0, 0, 0x00, 0x00, 1, 0, 1, 0, 0, 0, 0, 0},
                           {0x01, 0, 0, 0x00, 0x01, 1, 0, 1, 0, 0, 0, 0, 0},
                           {0x01, 0, 0, 'a', 'b', 0x00, 1, 0, 1, 0, 0, 0, 0, 0}}));
}

TEST(DefinitionStream, RoundTripKeepsEveryItem) {
    TableDefinition d = smallDefinition();
    d.fields[0].name = std::nullopt;
    d.fields[4].text = std::string();
    d.keys[0].components[0].flags = 0x0300;
    d.keys[1].flags = 0xFF;
    d.memos[0].secondName = "second";
    TableDefinition back;
    ASSERT_TRUE(parseDefinition(encodeDefinition(d), back).ok());
    EXPECT_EQ(back, d);
}

TEST(DefinitionStream, VersionFollowsBlobMemos) {
    std::vector<MemoDescription> memos;
    EXPECT_EQ(definitionVersion(memos), 1);
    memos.push_back({"M", std::nullopt, 10, MemoFlag::kBinary});
    EXPECT_EQ(definitionVersion(memos), 1);
    memos.push_back({"B", std::nullopt, 10, MemoFlag::kBlob | MemoFlag::kBinary});
    EXPECT_EQ(definitionVersion(memos), 2);

    TableDeclaration noBlob = smallDeclaration();
    const MemoDeclaration plain[] = {{"T:NOTES", std::nullopt, 300, 0}};
    noBlob.memos = plain;
    TableDefinition d;
    ASSERT_TRUE(definitionOf(noBlob, d).ok());
    EXPECT_EQ(d.version, 1);
    EXPECT_EQ(encodeDefinition(d)[0], 0x01);
}

// --- Damaged stored bytes --------------------------------------------------------------------

void expectDamaged(const Bytes& stream, const std::string& why) {
    TableDefinition out;
    const Status status = parseDefinition(stream, out);
    EXPECT_EQ(status.code(), ErrorCode::kInvalidDataFile) << why;
    EXPECT_FALSE(status.message().empty()) << why;
}

TEST(DefinitionDamage, EveryTruncationIsAnError) {
    const Bytes stream = encodeDefinition(smallDefinition());
    for (std::size_t n = 0; n < stream.size(); ++n) {
        expectDamaged(Bytes(stream.begin(), stream.begin() + n), "cut at " + std::to_string(n));
    }
}

TEST(DefinitionDamage, TrailingBytesAreAnError) {
    Bytes stream = encodeDefinition(smallDefinition());
    stream.push_back(0);
    expectDamaged(stream, "one byte too many");
}

TEST(DefinitionDamage, MalformedStringsAreErrors) {
    // One byte field whose name is "00 02": neither empty nor null.
    expectDamaged({1, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0x01, 0, 0, 0x00, 0x02, 1, 0, 1, 0, 0, 0, 0, 0},
                  "bad string marker");
    // A name that never ends.
    expectDamaged({1,   0,   1,   0,   1,   0,   0,   0,   0,   0,   0x01, 0,   0,  'a',
                   'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l',  'm', 'n'},
                  "unterminated name");
}

TEST(DefinitionDamage, HugeCountsFailWithoutAllocating) {
    expectDamaged({1, 0, 1, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, "huge counts");
    // A key claiming 65535 components with four bytes left.
    expectDamaged({1, 0, 1, 0, 0, 0, 0, 0, 1, 0, 'K', 0, 0, 1, 0x07, 0xFF, 0xFF, 1, 0, 0, 0},
                  "huge component count");
}

TEST(DefinitionDamage, FlippedBytesNeverCrash) {
    const Bytes stream = encodeDefinition(smallDefinition());
    int errors = 0;
    for (std::size_t i = 0; i < stream.size(); ++i) {
        for (std::uint8_t flip : {0x01, 0x80, 0xFF}) {
            Bytes damaged = stream;
            damaged[i] ^= flip;
            TableDefinition out;
            const Status status = parseDefinition(damaged, out);
            if (!status.ok()) {
                EXPECT_EQ(status.code(), ErrorCode::kInvalidDataFile);
                ++errors;
            }
        }
    }
    EXPECT_GT(errors, 0);
}

// --- Blocks ----------------------------------------------------------------------------------

TEST(DefinitionBlocks, JoinBringsBackTheCutStream) {
    Bytes stream(1200);
    for (std::size_t i = 0; i < stream.size(); ++i)
        stream[i] = static_cast<std::uint8_t>(i * 7);
    const std::vector<Bytes> blocks = splitDefinition(stream);
    ASSERT_EQ(blocks.size(), 3u);
    Bytes joined;
    ASSERT_TRUE(joinDefinitionBlocks(blocks, joined).ok());
    EXPECT_EQ(joined, stream);
    // A stream of whole blocks ends in a full block.
    const Bytes exact(1024, 0x55);
    ASSERT_TRUE(joinDefinitionBlocks(splitDefinition(exact), joined).ok());
    EXPECT_EQ(joined, exact);
}

TEST(DefinitionBlocks, DamagedBlockSizesAreErrors) {
    Bytes stream;
    const std::vector<std::vector<Bytes>> bad = {
        {Bytes(511), Bytes(10)},  // short block before the last
        {Bytes(512), Bytes()},    // empty block
        {Bytes(513)},             // oversize
    };
    for (const auto& blocks : bad) {
        const auto status = joinDefinitionBlocks(blocks, stream);
        EXPECT_EQ(status.code(), ErrorCode::kInvalidDataFile);
    }
}

// --- From declaration to definition ----------------------------------------------------------

TEST(DefinitionOfDeclaration, LaysOutOffsetsAcrossGroups) {
    const TableDefinition d = smallDefinition();
    ASSERT_EQ(d.fields.size(), 6u);
    const std::uint16_t offsets[] = {0, 1, 1, 5, 9, 14};
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(d.fields[i].offset, offsets[i]) << i;
    EXPECT_EQ(d.recordLength, 17);
    EXPECT_EQ(d.keys[0].components, (std::vector<KeyComponent>{{4, 0}, {2, kDescendingComponent}}));
    EXPECT_TRUE(d.keys[0].components[1].descending());
    EXPECT_EQ(d.keys[0].flags, KeyFlag::kDuplicates | KeyFlag::kCaseInsensitive);
    EXPECT_EQ(d.keys[0].secondName, std::nullopt);
    EXPECT_EQ(d.keys[1].secondName, std::optional<std::string>("EXT"));
}

TEST(DefinitionOfDeclaration, AttributeBitsMapToKeyFlags) {
    EXPECT_EQ(keyFlagsOf(0x0001, 1), 0x01);
    EXPECT_EQ(keyFlagsOf(0x0002, 1), 0x02);
    EXPECT_EQ(keyFlagsOf(0x0004, 1), 0x04);
    EXPECT_EQ(keyFlagsOf(0x0008, 1), 0x08);
    EXPECT_EQ(keyFlagsOf(0x0010, 1), 0x10);
    EXPECT_EQ(keyFlagsOf(0x4000, 1), 0x20);
    EXPECT_EQ(keyFlagsOf(0x4000, 0), 0x60);
    EXPECT_EQ(keyFlagsOf(0x0007, 2), 0x07);
    EXPECT_EQ(keyFlagsOf(0x8000 | 0x0100, 1), 0x00);
}

struct BadDeclaration {
    const char* name;
    std::function<void(TableDeclaration&)> change;
    int code;
};

TEST(DefinitionOfDeclaration, RefusesDeclarationsThatDoNotFit) {
    static const std::int16_t kFieldZero[] = {0};
    static const std::int16_t kFieldSeven[] = {7};
    static const std::int16_t kOnArray[] = {1};
    static const KeyDeclaration kBadZero[] = {{"K", 1, kFieldZero}};
    static const KeyDeclaration kBadSeven[] = {{"K", 1, kFieldSeven}};
    static const KeyDeclaration kArrayKey[] = {{"K", 1, kOnArray}};
    static const FieldDeclaration kArrayFields[] = {{FieldType::kSigned32, 12, "A", 3}};
    static const FieldDeclaration kCrossing[] = {{FieldType::kGroup, 4, "G"},
                                                 {FieldType::kSigned16, 2, "A"},
                                                 {FieldType::kSigned32, 4, "B"}};
    static const FieldDeclaration kUnfilled[] = {{FieldType::kGroup, 4, "G"},
                                                 {FieldType::kSigned16, 2, "A"}};
    static std::vector<KeyDeclaration> manyKeys(241, KeyDeclaration{"K", 1, kFieldSeven});
    static std::vector<MemoDeclaration> manyMemos(256, MemoDeclaration{"M"});

    const std::vector<BadDeclaration> cases = {
        {"record too long", [](TableDeclaration& d) { d.recordLength = 0x3B01; }, 47},
        {"fields past the record", [](TableDeclaration& d) { d.recordLength = 16; }, 47},
        {"too many keys",
         [](TableDeclaration& d) { d.keys = std::span<const KeyDeclaration>(manyKeys); }, 47},
        {"too many memos",
         [](TableDeclaration& d) { d.memos = std::span<const MemoDeclaration>(manyMemos); }, 47},
        {"component on field 0", [](TableDeclaration& d) { d.keys = kBadZero; }, 47},
        {"component past the list", [](TableDeclaration& d) { d.keys = kBadSeven; }, 47},
        {"member crosses its group",
         [](TableDeclaration& d) {
             d.fields = kCrossing;
             d.keys = {};
         },
         47},
        {"group not filled",
         [](TableDeclaration& d) {
             d.fields = kUnfilled;
             d.keys = {};
         },
         47},
        {"key on an array",
         [](TableDeclaration& d) {
             d.fields = kArrayFields;
             d.keys = kArrayKey;
         },
         75},
    };
    for (const auto& c : cases) {
        TableDeclaration d = smallDeclaration();
        c.change(d);
        TableDefinition out;
        EXPECT_EQ(definitionOf(d, out).code(), c.code) << c.name;
    }
}

TEST(DefinitionOfDeclaration, LimitsThemselvesAreAllowed) {
    static std::vector<KeyDeclaration> keys(240, KeyDeclaration{"K", 1, std::span(kByNameAndDate)});
    static std::vector<MemoDeclaration> memos(255, MemoDeclaration{"M"});
    TableDeclaration d = smallDeclaration();
    d.recordLength = 0x3B00;
    d.keys = keys;
    d.memos = memos;
    TableDefinition out;
    const auto status = definitionOf(d, out);
    EXPECT_TRUE(status.ok()) << status.message();
    EXPECT_EQ(out.keys.size(), 240u);
}

// --- Stored against declared -----------------------------------------------------------------

struct Mutation {
    const char* name;
    std::function<void(TableDefinition&)> change;
    bool error;          // 47 expected
    bool stringsDiffer;  // reported as differing strings
};

TEST(DefinitionCheck, NumbersMustMatchStringsMayDiffer) {
    const std::vector<Mutation> mutations = {
        {"nothing", [](TableDefinition&) {}, false, false},
        {"version", [](TableDefinition& d) { d.version = 1; }, true, false},
        {"record length", [](TableDefinition& d) { d.recordLength++; }, true, false},
        {"field count", [](TableDefinition& d) { d.fields.pop_back(); }, true, false},
        {"memo count", [](TableDefinition& d) { d.memos.clear(); }, true, false},
        {"key count", [](TableDefinition& d) { d.keys.pop_back(); }, true, false},
        {"field type", [](TableDefinition& d) { d.fields[0].type = FieldType::kSigned16; }, true,
         false},
        {"field offset", [](TableDefinition& d) { d.fields[3].offset++; }, true, false},
        {"field elements", [](TableDefinition& d) { d.fields[3].elements = 2; }, true, false},
        {"field size", [](TableDefinition& d) { d.fields[4].size = 6; }, true, false},
        {"carried item", [](TableDefinition& d) { d.fields[4].carried[1] = 0; }, true, false},
        {"digits", [](TableDefinition& d) { d.fields[5].digits = 9; }, true, false},
        {"places", [](TableDefinition& d) { d.fields[5].places = 0; }, true, false},
        {"text number", [](TableDefinition& d) { d.fields[4].textNumber = 4; }, true, false},
        {"memo size", [](TableDefinition& d) { d.memos[0].size = 1; }, true, false},
        {"key flags", [](TableDefinition& d) { d.keys[0].flags ^= KeyFlag::kOptional; }, true,
         false},
        {"component count", [](TableDefinition& d) { d.keys[0].components.pop_back(); }, true,
         false},
        {"component field", [](TableDefinition& d) { d.keys[0].components[0].field = 0; }, true,
         false},
        {"component flags", [](TableDefinition& d) { d.keys[0].components[1].flags = 0; }, true,
         false},
        {"key flag 0x10 only", [](TableDefinition& d) { d.keys[0].flags ^= KeyFlag::kDeclared10; },
         false, false},
        {"memo flags", [](TableDefinition& d) { d.memos[0].flags = MemoFlag::kBinary; }, false,
         false},
        {"field name", [](TableDefinition& d) { d.fields[1].name = "OTHER"; }, false, true},
        {"field text", [](TableDefinition& d) { d.fields[4].text = std::nullopt; }, false, true},
        {"memo name", [](TableDefinition& d) { d.memos[0].secondName = ""; }, false, true},
        {"key name", [](TableDefinition& d) { d.keys[1].name = std::nullopt; }, false, true},
        {"name and number",
         [](TableDefinition& d) {
             d.keys[1].secondName = "X";
             d.fields[2].size = 3;
         },
         true, true},
    };
    const TableDefinition declared = smallDefinition();
    for (const auto& m : mutations) {
        TableDefinition stored = declared;
        m.change(stored);
        const DefinitionMatch match = compareDefinitions(stored, declared);
        EXPECT_EQ(match.status.code(), m.error ? ErrorCode::kInvalidRecordDeclaration : 0)
            << m.name;
        EXPECT_EQ(match.stringsDiffer, m.stringsDiffer) << m.name;
        // Through the stored bytes the answer is the same.
        const DefinitionMatch viaBytes =
            checkStoredDefinition(encodeDefinition(stored), smallDeclaration());
        EXPECT_EQ(viaBytes.status.code(), match.status.code()) << m.name;
    }
}

TEST(DefinitionCheck, DamagedStoredBytesAndBadDeclarations) {
    Bytes stream = encodeDefinition(smallDefinition());
    stream.resize(stream.size() - 1);
    EXPECT_EQ(checkStoredDefinition(stream, smallDeclaration()).status.code(),
              ErrorCode::kInvalidDataFile);
    TableDeclaration tooLong = smallDeclaration();
    tooLong.recordLength = 0x4000;
    EXPECT_EQ(checkStoredDefinition(encodeDefinition(smallDefinition()), tooLong).status.code(),
              ErrorCode::kInvalidRecordDeclaration);
}

// --- Key layouts -----------------------------------------------------------------------------

TEST(KeyLayouts, ResolveComponentsToFields) {
    const TableDefinition d = smallDefinition();
    KeyLayout layout;
    ASSERT_TRUE(keyLayoutOf(d, 0, layout));
    EXPECT_EQ(layout.flags, d.keys[0].flags);
    ASSERT_EQ(layout.segments.size(), 2u);
    EXPECT_EQ(layout.segments[0].type, FieldType::kFixedString);
    EXPECT_EQ(layout.segments[0].offset, 9);
    EXPECT_EQ(layout.segments[0].size, 5);
    EXPECT_FALSE(layout.segments[0].descending);
    EXPECT_EQ(layout.segments[1].type, FieldType::kSigned32);
    EXPECT_EQ(layout.segments[1].offset, 1);
    EXPECT_TRUE(layout.segments[1].descending);
    EXPECT_EQ(layout.valueLength(), 9u);
    EXPECT_EQ(layout.entryKeyLength(), 18u);
}

TEST(KeyLayouts, RefuseComponentsOutsideTheTable) {
    TableDefinition d = smallDefinition();
    KeyLayout layout;
    EXPECT_FALSE(keyLayoutOf(d, 2, layout));
    d.keys[0].components[0].field = 6;
    EXPECT_FALSE(keyLayoutOf(d, 0, layout));
    d.keys[0].components[0].field = 4;
    d.fields[4].offset = 13;  // 13 + 5 > 17
    EXPECT_FALSE(keyLayoutOf(d, 0, layout));
}

}  // namespace
}  // namespace quillery::storage
