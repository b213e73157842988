// The catalogue file's declaration: its field list, keys and stored definition, and the keys
// its records get.
#include "app/quillery_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/catalogue_globals.h"
#include "app/quillery_record.h"
#include "runtime/char_tables.h"
#include "storage/key_encoding.h"
#include "storage/table_definition.h"
#include "storage/table_definition_check.h"

namespace quillery {
namespace {

using storage::Bytes;

struct FieldRow {
    const char* name;
    std::uint8_t type;
    std::uint16_t offset;
    std::uint16_t width;
};

// The record's fields as the catalogue's layout table gives them, groups in their place.
const std::vector<FieldRow> kFieldTable = {
    {"QLY:DELETED", 1, 0, 1},       {"QLY:ISBN", 18, 1, 13},         {"QLY:CONDITION", 18, 14, 15},
    {"QLY:LOCATION", 18, 29, 18},   {"QLY:BUYDATE", 18, 47, 15},     {"QLY:EDITION", 18, 62, 15},
    {"QLY:PRINTDATE", 18, 77, 15},  {"QLY:VALUE", 18, 92, 15},       {"QLY:OTHER", 18, 107, 20},
    {"QLY:PUBDATE", 18, 127, 15},   {"QLY:RATING", 18, 142, 1},      {"QLY:CREATED", 22, 143, 8},
    {"QLY:CREATEDDATE", 6, 143, 4}, {"QLY:CREATEDTIME", 6, 147, 4},  {"QLY:CHANGED", 22, 151, 8},
    {"QLY:CHANGEDDATE", 6, 151, 4}, {"QLY:CHANGEDTIME", 6, 155, 4},  {"QLY:NAMEKEY", 18, 159, 50},
    {"QLY:TITLEKEY", 18, 209, 50},  {"QLY:LASTNAME", 18, 259, 20},   {"QLY:FIRSTNAME", 18, 279, 20},
    {"QLY:TITLE", 18, 299, 45},     {"QLY:LISTBYTITLE", 1, 344, 1},  {"QLY:PHONES", 18, 345, 200},
    {"QLY:CATEGORY", 18, 545, 24},  {"QLY:CONTENTS", 18, 569, 1000},
};

struct KeyRow {
    const char* name;
    std::uint8_t flags;
    std::vector<std::uint16_t> fieldNumbers;  // from 1
};

const std::vector<KeyRow> kKeyTable = {
    {"QLY:CREATEDKEY", 1, {13, 14, 1}}, {"QLY:DELETEKEY", 7, {1}},    {"QLY:TITLEKEYKEY", 7, {22}},
    {"QLY:AUTHORKEY", 7, {20}},         {"QLY:DATEKEY", 7, {10}},     {"QLY:CATEGORYKEY", 7, {25}},
    {"QLY:RATINGKEY", 7, {11}},         {"QLY:OTHERKEY", 7, {9}},     {"QLY:ISBNKEY", 7, {2}},
    {"QLY:PUBDATEKEY", 7, {10}},        {"QLY:CONDITIONKEY", 7, {3}}, {"QLY:LOCATIONKEY", 7, {4}},
    {"QLY:BUYDATEKEY", 7, {5}},         {"QLY:EDITIONKEY", 7, {6}},   {"QLY:PRINTDATEKEY", 7, {7}},
    {"QLY:VALUEKEY", 7, {8}},
};

storage::TableDefinition quilleryDefinition() {
    storage::TableDefinition d;
    const storage::Status status = storage::definitionOf(QUILLERY, d);
    EXPECT_TRUE(status.ok()) << status.message();
    return d;
}

TEST(QuilleryDeclaration, NamesTheFileItsBufferAndDriver) {
    EXPECT_EQ(QUILLERY.label, "QUILLERY");
    EXPECT_EQ(QUILLERY.prefix, "QLY");
    EXPECT_EQ(QUILLERY.driver, "VELTRANE");
    EXPECT_EQ(QUILLERY.nameVariable.data(), QUILLERYFILE.data);
    EXPECT_EQ(QUILLERY.nameVariable.size(), 100u);
    EXPECT_EQ(QUILLERY.recordBuffer, static_cast<void*>(&QLY));
    EXPECT_EQ(QUILLERY.recordLength, 1569u);
    EXPECT_TRUE(QUILLERY.owner.empty());
    EXPECT_FALSE(QUILLERY.encrypted);
    EXPECT_TRUE(QUILLERY.create);
    EXPECT_TRUE(QUILLERY.memos.empty());
    EXPECT_EQ(kDefaultCatalogueName, "Quillery.QLY");
    EXPECT_EQ(kExampleCatalogueName, "Awards.QLY");
}

TEST(QuilleryDeclaration, FieldListMatchesTheRecordLayout) {
    const storage::TableDefinition d = quilleryDefinition();
    ASSERT_EQ(d.fields.size(), kFieldTable.size());
    for (std::size_t i = 0; i < kFieldTable.size(); ++i) {
        const FieldRow& row = kFieldTable[i];
        EXPECT_EQ(d.fields[i].name, std::optional<std::string>(row.name)) << i;
        EXPECT_EQ(d.fields[i].type, row.type) << row.name;
        EXPECT_EQ(d.fields[i].offset, row.offset) << row.name;
        EXPECT_EQ(d.fields[i].size, row.width) << row.name;
        EXPECT_EQ(d.fields[i].elements, 1) << row.name;
    }
    EXPECT_EQ(QuilleryField::DELETED, 1);
    EXPECT_EQ(QuilleryField::CREATED, 12);
    EXPECT_EQ(QuilleryField::CREATEDDATE, 13);
    EXPECT_EQ(QuilleryField::CREATEDTIME, 14);
    EXPECT_EQ(QuilleryField::CATEGORY, 25);
    EXPECT_EQ(std::string(d.fields[QuilleryField::TITLE - 1].name.value()), "QLY:TITLE");
}

TEST(QuilleryDeclaration, SixteenKeysWithTheirAttributesAndComponents) {
    const storage::TableDefinition d = quilleryDefinition();
    ASSERT_EQ(d.keys.size(), 16u);
    for (std::size_t k = 0; k < kKeyTable.size(); ++k) {
        const KeyRow& row = kKeyTable[k];
        EXPECT_EQ(d.keys[k].name, std::optional<std::string>(row.name));
        EXPECT_EQ(d.keys[k].flags, row.flags) << row.name;
        ASSERT_EQ(d.keys[k].components.size(), row.fieldNumbers.size()) << row.name;
        for (std::size_t c = 0; c < row.fieldNumbers.size(); ++c) {
            EXPECT_EQ(d.keys[k].components[c].field, row.fieldNumbers[c] - 1) << row.name;
            EXPECT_EQ(d.keys[k].components[c].flags, 0) << row.name;
        }
    }
}

// The stored definition written out from the tables above, one item at a time.
class StreamModel {
  public:
    void u8(std::uint8_t v) { bytes.push_back(v); }
    void u16(std::uint16_t v) {
        bytes.push_back(static_cast<std::uint8_t>(v));
        bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void text(std::string_view s) {
        bytes.insert(bytes.end(), s.begin(), s.end());
        bytes.push_back(0);
    }
    void null() {
        u8(0);
        u8(1);
    }
    Bytes bytes;
};

TEST(QuilleryDeclaration, StoredDefinitionBytes) {
    StreamModel m;
    m.u16(1);
    m.u16(1569);
    m.u16(26);
    m.u16(0);
    m.u16(16);
    for (const auto& f : kFieldTable) {
        m.u8(f.type);
        m.u16(f.offset);
        m.text(f.name);
        m.u16(1);
        m.u16(f.width);
        m.u16(0);
        m.u16(0);
        if (f.type == 18) {
            m.u16(0);
            m.null();
        }
    }
    for (const auto& k : kKeyTable) {
        m.text(k.name);
        m.null();
        m.u8(k.flags);
        m.u16(static_cast<std::uint16_t>(k.fieldNumbers.size()));
        for (auto n : k.fieldNumbers) {
            m.u16(static_cast<std::uint16_t>(n - 1));
            m.u16(0);
        }
    }
    const Bytes stream = storage::encodeDefinition(quilleryDefinition());
    EXPECT_EQ(stream, m.bytes);

    // The opening bytes, written out by hand.
    const std::string head =
        std::string("\x01\x00\x21\x06\x1A\x00\x00\x00\x10\x00", 10) +
        std::string("\x01\x00\x00QLY:DELETED\x00\x01\x00\x01\x00\x00\x00\x00\x00", 23) +
        std::string("\x12\x01\x00QLY:ISBN\x00\x01\x00\x0D\x00\x00\x00\x00\x00\x00\x00\x00\x01", 24);
    ASSERT_GE(stream.size(), head.size());
    EXPECT_EQ(std::string(stream.begin(), stream.begin() + head.size()), head);
    // The last key: VALUEKEY on field 8 (index 7).
    const std::string tail =
        std::string("QLY:VALUEKEY\x00\x00\x01\x07\x01\x00\x07\x00\x00\x00", 22);
    EXPECT_EQ(std::string(stream.end() - tail.size(), stream.end()), tail);

    // It fits in a few definition blocks and reads back as declared.
    EXPECT_EQ(storage::splitDefinition(stream).size(), (stream.size() + 511) / 512);
    storage::TableDefinition parsed;
    ASSERT_TRUE(storage::parseDefinition(stream, parsed).ok());
    EXPECT_EQ(parsed, quilleryDefinition());
    const storage::DefinitionMatch match = storage::checkStoredDefinition(stream, QUILLERY);
    EXPECT_TRUE(match.status.ok()) << match.status.message();
    EXPECT_FALSE(match.stringsDiffer);
}

TEST(QuilleryDeclaration, AnOlderRecordLayoutIsRefused) {
    storage::TableDefinition stored = quilleryDefinition();
    stored.fields[QuilleryField::CONTENTS - 1].size = 500;  // a shorter contents note
    stored.recordLength = 1069;
    const auto match = storage::checkStoredDefinition(storage::encodeDefinition(stored), QUILLERY);
    EXPECT_EQ(match.status.code(), 47);
}

// --- Keys of catalogue records -----------------------------------------------------------

constexpr std::uint32_t kTable = 1;

// The entry key of `record` in every key; an empty vector where the record has no entry.
std::vector<Bytes> keysOf(const QuilleryRecord& record, std::uint32_t recordNumber) {
    const storage::TableDefinition d = quilleryDefinition();
    std::vector<Bytes> keys;
    for (std::size_t k = 0; k < d.keys.size(); ++k) {
        storage::KeyLayout layout;
        EXPECT_TRUE(storage::keyLayoutOf(d, k, layout));
        storage::KeyEntry entry;
        const auto result = storage::buildKeyEntry(kTable, static_cast<std::uint8_t>(k), layout,
                                                   bytesOf(record), recordNumber, entry);
        EXPECT_NE(result, storage::KeyEntryResult::kRecordTooShort);
        keys.push_back(result == storage::KeyEntryResult::kBuilt ? entry.key : Bytes());
    }
    return keys;
}

// The value part of an entry key: without prefix and record number (every key has duplicates).
Bytes valueOf(const Bytes& key) {
    return Bytes(key.begin() + 5, key.end() - 4);
}

QuilleryRecord book(const char* last, const char* title) {
    QuilleryRecord r;
    r.LASTNAME = last;
    r.FIRSTNAME = "John";
    r.TITLE = title;
    r.CREATEDDATE = 80000;
    r.CREATEDTIME = 100;
    return r;
}

TEST(QuilleryRecordKeys, TheBlankHeaderRecordIsOnlyInTheCreatedKey) {
    const auto keys = keysOf(QuilleryRecord(), 1);
    EXPECT_EQ(keys[0].size(), 5u + 9u + 4u);
    for (std::size_t k = 1; k < keys.size(); ++k)
        EXPECT_TRUE(keys[k].empty()) << k;
}

TEST(QuilleryRecordKeys, BlankLastNameOrTitleLeavesOutJustThatKey) {
    const auto noLastName = keysOf(book("", "Tales"), 2);
    const auto au = static_cast<std::size_t>(QuilleryKey::AUTHORKEY);
    const auto ti = static_cast<std::size_t>(QuilleryKey::TITLEKEYKEY);
    EXPECT_TRUE(noLastName[au].empty());
    EXPECT_FALSE(noLastName[ti].empty());
    EXPECT_FALSE(noLastName[0].empty());
    const auto noTitle = keysOf(book("Smith", ""), 3);
    EXPECT_TRUE(noTitle[ti].empty());
    EXPECT_FALSE(noTitle[au].empty());
    EXPECT_EQ(valueOf(noTitle[au]).size(), 20u);
}

TEST(QuilleryRecordKeys, DeleteKeyHoldsExactlyTheMarkedVersions) {
    QuilleryRecord r = book("Smith", "Tales");
    const auto del = static_cast<std::size_t>(QuilleryKey::DELETEKEY);
    EXPECT_TRUE(keysOf(r, 4)[del].empty());
    r.DELETED = 1;
    EXPECT_EQ(keysOf(r, 4)[del], Bytes({0, 0, 0, 1, 1, 0x01, 0, 0, 0, 4}));
}

TEST(QuilleryRecordKeys, CaseDoesNotMatterInAnyKeyButTheCreatedKey) {
    QuilleryRecord lower = book("smith", "tales of the city");
    lower.CATEGORY = "fiction";
    lower.ISBN = "x-12";
    lower.OTHER = "signed";
    lower.LOCATION = "shelf b";
    QuilleryRecord upper = book("SMITH", "TALES OF THE CITY");
    upper.CATEGORY = "FICTION";
    upper.ISBN = "X-12";
    upper.OTHER = "SIGNED";
    upper.LOCATION = "SHELF B";
    upper.CREATEDTIME = 200;  // entered a second later
    const auto a = keysOf(lower, 10);
    const auto b = keysOf(upper, 11);
    EXPECT_LT(storage::compareKeys(a[0], b[0]), 0);
    EXPECT_NE(valueOf(a[0]), valueOf(b[0]));
    for (std::size_t k = 1; k < a.size(); ++k) {
        EXPECT_EQ(a[k].empty(), b[k].empty()) << k;
        if (a[k].empty()) continue;
        EXPECT_EQ(valueOf(a[k]), valueOf(b[k])) << k;
        // Equal values fall back on the record number.
        EXPECT_LT(storage::compareKeys(a[k], b[k]), 0) << k;
    }
}

TEST(QuilleryRecordKeys, CreatedKeySortsByDateThenTime) {
    QuilleryRecord earlier = book("B", "B");
    QuilleryRecord later = book("A", "A");
    earlier.CREATEDDATE = 79999;
    earlier.CREATEDTIME = 8000000;
    later.CREATEDDATE = 80000;
    later.CREATEDTIME = 1;
    EXPECT_LT(storage::compareKeys(keysOf(earlier, 9)[0], keysOf(later, 2)[0]), 0);
    EXPECT_EQ(valueOf(keysOf(later, 2)[0]),
              Bytes({0x80, 0x01, 0x38, 0x80, 0x80, 0x00, 0x00, 0x01, 0x00}));
}

}  // namespace
}  // namespace quillery
