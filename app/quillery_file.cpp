// The catalogue file's declaration as static data.
#include "app/quillery_file.h"

#include <array>

#include "app/catalogue_globals.h"
#include "app/quillery_record.h"

namespace quillery {

namespace {

using storage::FieldDeclaration;
using storage::KeyDeclaration;
namespace Type = storage::FieldType;
namespace F = QuilleryField;

constexpr std::array<FieldDeclaration, kQuilleryFieldCount> kFields{{
    {Type::kUnsignedByte, 1, "QLY:DELETED"},
    {Type::kFixedString, 13, "QLY:ISBN"},
    {Type::kFixedString, 15, "QLY:CONDITION"},
    {Type::kFixedString, 18, "QLY:LOCATION"},
    {Type::kFixedString, 15, "QLY:BUYDATE"},
    {Type::kFixedString, 15, "QLY:EDITION"},
    {Type::kFixedString, 15, "QLY:PRINTDATE"},
    {Type::kFixedString, 15, "QLY:VALUE"},
    {Type::kFixedString, 20, "QLY:OTHER"},
    {Type::kFixedString, 15, "QLY:PUBDATE"},
    {Type::kFixedString, 1, "QLY:RATING"},
    {Type::kGroup, 8, "QLY:CREATED"},
    {Type::kSigned32, 4, "QLY:CREATEDDATE"},
    {Type::kSigned32, 4, "QLY:CREATEDTIME"},
    {Type::kGroup, 8, "QLY:CHANGED"},
    {Type::kSigned32, 4, "QLY:CHANGEDDATE"},
    {Type::kSigned32, 4, "QLY:CHANGEDTIME"},
    {Type::kFixedString, 50, "QLY:NAMEKEY"},
    {Type::kFixedString, 50, "QLY:TITLEKEY"},
    {Type::kFixedString, 20, "QLY:LASTNAME"},
    {Type::kFixedString, 20, "QLY:FIRSTNAME"},
    {Type::kFixedString, 45, "QLY:TITLE"},
    {Type::kUnsignedByte, 1, "QLY:LISTBYTITLE"},
    {Type::kFixedString, 200, "QLY:PHONES"},
    {Type::kFixedString, 24, "QLY:CATEGORY"},
    {Type::kFixedString, 1000, "QLY:CONTENTS"},
}};

// The field list's widths must agree with the record buffer.
static_assert(kFields[F::ISBN - 1].width == sizeof(QuilleryRecord::ISBN));
static_assert(kFields[F::LOCATION - 1].width == sizeof(QuilleryRecord::LOCATION));
static_assert(kFields[F::RATING - 1].width == sizeof(QuilleryRecord::RATING));
static_assert(kFields[F::NAMEKEY - 1].width == sizeof(QuilleryRecord::NAMEKEY));
static_assert(kFields[F::TITLE - 1].width == sizeof(QuilleryRecord::TITLE));
static_assert(kFields[F::PHONES - 1].width == sizeof(QuilleryRecord::PHONES));
static_assert(kFields[F::CATEGORY - 1].width == sizeof(QuilleryRecord::CATEGORY));
static_assert(kFields[F::CONTENTS - 1].width == sizeof(QuilleryRecord::CONTENTS));
static_assert(kFields[F::CATEGORY - 1].name == "QLY:CATEGORY");

constexpr std::int16_t kCreatedKey[] = {F::CREATEDDATE, F::CREATEDTIME, F::DELETED};
constexpr std::int16_t kDeleteKey[] = {F::DELETED};
constexpr std::int16_t kTitleKeyKey[] = {F::TITLE};
constexpr std::int16_t kAuthorKey[] = {F::LASTNAME};
constexpr std::int16_t kDateKey[] = {F::PUBDATE};
constexpr std::int16_t kCategoryKey[] = {F::CATEGORY};
constexpr std::int16_t kRatingKey[] = {F::RATING};
constexpr std::int16_t kOtherKey[] = {F::OTHER};
constexpr std::int16_t kIsbnKey[] = {F::ISBN};
constexpr std::int16_t kPubDateKey[] = {F::PUBDATE};
constexpr std::int16_t kConditionKey[] = {F::CONDITION};
constexpr std::int16_t kLocationKey[] = {F::LOCATION};
constexpr std::int16_t kBuyDateKey[] = {F::BUYDATE};
constexpr std::int16_t kEditionKey[] = {F::EDITION};
constexpr std::int16_t kPrintDateKey[] = {F::PRINTDATE};
constexpr std::int16_t kValueKey[] = {F::VALUE};

constexpr std::uint16_t kDup = storage::KeyAttribute::kDuplicates;
constexpr std::uint16_t kDupOptNoCase = storage::KeyAttribute::kDuplicates |
                                        storage::KeyAttribute::kOptional |
                                        storage::KeyAttribute::kCaseInsensitive;

// A key declared under its name from the catalogue's list of key names.
constexpr KeyDeclaration keyOf(QuilleryKey key, std::uint16_t attributes,
                               std::span<const std::int16_t> components) {
    return {kQuilleryKeyNames[static_cast<std::size_t>(key)], attributes, components};
}

constexpr std::array<KeyDeclaration, kQuilleryKeyCount> kKeys{{
    keyOf(QuilleryKey::CREATEDKEY, kDup, kCreatedKey),
    keyOf(QuilleryKey::DELETEKEY, kDupOptNoCase, kDeleteKey),
    keyOf(QuilleryKey::TITLEKEYKEY, kDupOptNoCase, kTitleKeyKey),
    keyOf(QuilleryKey::AUTHORKEY, kDupOptNoCase, kAuthorKey),
    keyOf(QuilleryKey::DATEKEY, kDupOptNoCase, kDateKey),
    keyOf(QuilleryKey::CATEGORYKEY, kDupOptNoCase, kCategoryKey),
    keyOf(QuilleryKey::RATINGKEY, kDupOptNoCase, kRatingKey),
    keyOf(QuilleryKey::OTHERKEY, kDupOptNoCase, kOtherKey),
    keyOf(QuilleryKey::ISBNKEY, kDupOptNoCase, kIsbnKey),
    keyOf(QuilleryKey::PUBDATEKEY, kDupOptNoCase, kPubDateKey),
    keyOf(QuilleryKey::CONDITIONKEY, kDupOptNoCase, kConditionKey),
    keyOf(QuilleryKey::LOCATIONKEY, kDupOptNoCase, kLocationKey),
    keyOf(QuilleryKey::BUYDATEKEY, kDupOptNoCase, kBuyDateKey),
    keyOf(QuilleryKey::EDITIONKEY, kDupOptNoCase, kEditionKey),
    keyOf(QuilleryKey::PRINTDATEKEY, kDupOptNoCase, kPrintDateKey),
    keyOf(QuilleryKey::VALUEKEY, kDupOptNoCase, kValueKey),
}};

// Declared in key-number order.
constexpr bool keysInNumberOrder() {
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        if (kKeys[i].name != kQuilleryKeyNames[i]) return false;
    }
    return true;
}
static_assert(keysInNumberOrder());

// A catalogue file declaration over `name` and `buffer`: no owner, no password, no encryption;
// created when missing.
constexpr storage::TableDeclaration catalogueDeclaration(std::string_view label,
                                                         std::string_view prefix,
                                                         std::span<char> name, void* buffer) {
    return {.label = label,
            .prefix = prefix,
            .driver = "VELTRANE",
            .nameVariable = name,
            .recordBuffer = buffer,
            .recordLength = kQuilleryRecordLength,
            .fields = kFields,
            .memos = {},
            .keys = kKeys,
            .owner = {},
            .encrypted = false,
            .create = true};
}

}  // namespace

QuilleryRecord COPYRECORD;
FixedString<kQuilleryFileNameLength> COPYFILE;

constinit const storage::TableDeclaration QUILLERY =
    catalogueDeclaration("QUILLERY", "QLY", QUILLERYFILE.data, &QLY);

constinit const storage::TableDeclaration QUILLERYCOPY =
    catalogueDeclaration("QUILLERYCOPY", "CPY", COPYFILE.data, &COPYRECORD);

}  // namespace quillery
