// The book record `QLY:RECORD` of the catalogue file, laid out byte for byte as it is stored,
// and its byte image.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <type_traits>

#include "runtime/fixed_string.h"

namespace quillery {

inline constexpr std::size_t kQuilleryRecordLength = 1569;

// Keys of the catalogue file; the value is the key's number on disk (from 0).
enum class QuilleryKey : std::uint8_t {
    CREATEDKEY,
    DELETEKEY,
    TITLEKEYKEY,
    AUTHORKEY,
    DATEKEY,
    CATEGORYKEY,
    RATINGKEY,
    OTHERKEY,
    ISBNKEY,
    PUBDATEKEY,
    CONDITIONKEY,
    LOCATIONKEY,
    BUYDATEKEY,
    EDITIONKEY,
    PRINTDATEKEY,
    VALUEKEY,
};
inline constexpr std::size_t kQuilleryKeyCount = 16;

// The keys' names as the catalogue file declares them, by key number: the one list that the
// file's declaration, the command-line tool and its messages read.
inline constexpr std::array<std::string_view, kQuilleryKeyCount> kQuilleryKeyNames{
    "QLY:CREATEDKEY", "QLY:DELETEKEY",   "QLY:TITLEKEYKEY",  "QLY:AUTHORKEY",
    "QLY:DATEKEY",    "QLY:CATEGORYKEY", "QLY:RATINGKEY",    "QLY:OTHERKEY",
    "QLY:ISBNKEY",    "QLY:PUBDATEKEY",  "QLY:CONDITIONKEY", "QLY:LOCATIONKEY",
    "QLY:BUYDATEKEY", "QLY:EDITIONKEY",  "QLY:PRINTDATEKEY", "QLY:VALUEKEY",
};
inline constexpr std::string_view kQuilleryKeyPrefix = "QLY:";

// A key's name as people type and read it, without the file's prefix: "AUTHORKEY".
constexpr std::string_view shortKeyName(QuilleryKey key) {
    return kQuilleryKeyNames[static_cast<std::size_t>(key)].substr(kQuilleryKeyPrefix.size());
}
static_assert(shortKeyName(QuilleryKey::CREATEDKEY) == "CREATEDKEY");
static_assert(shortKeyName(QuilleryKey::AUTHORKEY) == "AUTHORKEY");
static_assert(shortKeyName(QuilleryKey::VALUEKEY) == "VALUEKEY");

// A creation or change stamp: day number and time of day.
struct QuilleryStamp {
    std::int32_t date = 0;
    std::int32_t time = 0;
    friend bool operator==(const QuilleryStamp&, const QuilleryStamp&) = default;
};

// Integers are stored little-endian, the machine's own order.
static_assert(std::endian::native == std::endian::little);

// A signed 32-bit field at any byte position of a record. It reads and assigns like an
// int32_t, but has alignment 1, so references to it (and to the record) are always sound,
// which references to a packed int32_t member are not.
class UnalignedInt32 {
  public:
    UnalignedInt32() = default;
    UnalignedInt32(std::int32_t value) { *this = value; }  // NOLINT: reads as a plain integer
    UnalignedInt32& operator=(std::int32_t value) {
        std::memcpy(bytes_, &value, sizeof value);
        return *this;
    }
    operator std::int32_t() const {  // NOLINT: reads as a plain integer
        std::int32_t value;
        std::memcpy(&value, bytes_, sizeof value);
        return value;
    }

  private:
    unsigned char bytes_[4] = {};
};
static_assert(sizeof(UnalignedInt32) == 4 && alignof(UnalignedInt32) == 1);

#pragma pack(push, 1)
struct QuilleryRecord {
    std::uint8_t DELETED = 0;  // 1: a superseded or deleted version kept for undo
    FixedString<13> ISBN;
    FixedString<15> CONDITION;
    FixedString<18> LOCATION;
    FixedString<15> BUYDATE;
    FixedString<15> EDITION;
    FixedString<15> PRINTDATE;
    FixedString<15> VALUE;
    FixedString<20> OTHER;
    FixedString<15> PUBDATE;
    FixedString<1> RATING;
    // Group CREATED.
    UnalignedInt32 CREATEDDATE;
    UnalignedInt32 CREATEDTIME;
    // Group CHANGED.
    UnalignedInt32 CHANGEDDATE;
    UnalignedInt32 CHANGEDTIME;
    FixedString<50> NAMEKEY;   // formed by BUILDKEYS
    FixedString<50> TITLEKEY;  // formed by BUILDKEYS
    FixedString<20> LASTNAME;
    FixedString<20> FIRSTNAME;
    FixedString<45> TITLE;
    std::uint8_t LISTBYTITLE = 0;
    FixedString<200> PHONES;  // carried as loaded, never shown
    FixedString<24> CATEGORY;
    FixedString<1000> CONTENTS;

    // The two stamp groups as wholes.
    QuilleryStamp CREATED() const { return {CREATEDDATE, CREATEDTIME}; }
    void setCREATED(QuilleryStamp stamp) {
        CREATEDDATE = stamp.date;
        CREATEDTIME = stamp.time;
    }
    QuilleryStamp CHANGED() const { return {CHANGEDDATE, CHANGEDTIME}; }
    void setCHANGED(QuilleryStamp stamp) {
        CHANGEDDATE = stamp.date;
        CHANGEDTIME = stamp.time;
    }

    // The keys, reachable through the record as `QLY.AUTHORKEY`.
    static constexpr QuilleryKey CREATEDKEY = QuilleryKey::CREATEDKEY;
    static constexpr QuilleryKey DELETEKEY = QuilleryKey::DELETEKEY;
    static constexpr QuilleryKey TITLEKEYKEY = QuilleryKey::TITLEKEYKEY;
    static constexpr QuilleryKey AUTHORKEY = QuilleryKey::AUTHORKEY;
    static constexpr QuilleryKey DATEKEY = QuilleryKey::DATEKEY;
    static constexpr QuilleryKey CATEGORYKEY = QuilleryKey::CATEGORYKEY;
    static constexpr QuilleryKey RATINGKEY = QuilleryKey::RATINGKEY;
    static constexpr QuilleryKey OTHERKEY = QuilleryKey::OTHERKEY;
    static constexpr QuilleryKey ISBNKEY = QuilleryKey::ISBNKEY;
    static constexpr QuilleryKey PUBDATEKEY = QuilleryKey::PUBDATEKEY;
    static constexpr QuilleryKey CONDITIONKEY = QuilleryKey::CONDITIONKEY;
    static constexpr QuilleryKey LOCATIONKEY = QuilleryKey::LOCATIONKEY;
    static constexpr QuilleryKey BUYDATEKEY = QuilleryKey::BUYDATEKEY;
    static constexpr QuilleryKey EDITIONKEY = QuilleryKey::EDITIONKEY;
    static constexpr QuilleryKey PRINTDATEKEY = QuilleryKey::PRINTDATEKEY;
    static constexpr QuilleryKey VALUEKEY = QuilleryKey::VALUEKEY;
};
#pragma pack(pop)

// Record offsets as stored.
static_assert(offsetof(QuilleryRecord, DELETED) == 0);
static_assert(offsetof(QuilleryRecord, ISBN) == 1);
static_assert(offsetof(QuilleryRecord, CONDITION) == 14);
static_assert(offsetof(QuilleryRecord, LOCATION) == 29);
static_assert(offsetof(QuilleryRecord, BUYDATE) == 47);
static_assert(offsetof(QuilleryRecord, EDITION) == 62);
static_assert(offsetof(QuilleryRecord, PRINTDATE) == 77);
static_assert(offsetof(QuilleryRecord, VALUE) == 92);
static_assert(offsetof(QuilleryRecord, OTHER) == 107);
static_assert(offsetof(QuilleryRecord, PUBDATE) == 127);
static_assert(offsetof(QuilleryRecord, RATING) == 142);
static_assert(offsetof(QuilleryRecord, CREATEDDATE) == 143);
static_assert(offsetof(QuilleryRecord, CREATEDTIME) == 147);
static_assert(offsetof(QuilleryRecord, CHANGEDDATE) == 151);
static_assert(offsetof(QuilleryRecord, CHANGEDTIME) == 155);
static_assert(offsetof(QuilleryRecord, NAMEKEY) == 159);
static_assert(offsetof(QuilleryRecord, TITLEKEY) == 209);
static_assert(offsetof(QuilleryRecord, LASTNAME) == 259);
static_assert(offsetof(QuilleryRecord, FIRSTNAME) == 279);
static_assert(offsetof(QuilleryRecord, TITLE) == 299);
static_assert(offsetof(QuilleryRecord, LISTBYTITLE) == 344);
static_assert(offsetof(QuilleryRecord, PHONES) == 345);
static_assert(offsetof(QuilleryRecord, CATEGORY) == 545);
static_assert(offsetof(QuilleryRecord, CONTENTS) == 569);
static_assert(sizeof(QuilleryRecord) == kQuilleryRecordLength);
static_assert(alignof(QuilleryRecord) == 1);
static_assert(std::is_trivially_copyable_v<QuilleryRecord>);
static_assert(std::is_standard_layout_v<QuilleryRecord>);

// The record's byte image, as a string of the record's length (`CURRENTRECORD`).
using QuilleryRecordImage = FixedString<kQuilleryRecordLength>;
static_assert(sizeof(QuilleryRecordImage) == kQuilleryRecordLength);

inline std::span<std::uint8_t, kQuilleryRecordLength> bytesOf(QuilleryRecord& record) {
    return std::span<std::uint8_t, kQuilleryRecordLength>(reinterpret_cast<std::uint8_t*>(&record),
                                                          kQuilleryRecordLength);
}
inline std::span<const std::uint8_t, kQuilleryRecordLength> bytesOf(const QuilleryRecord& record) {
    return std::span<const std::uint8_t, kQuilleryRecordLength>(
        reinterpret_cast<const std::uint8_t*>(&record), kQuilleryRecordLength);
}

inline void copyRecordToImage(const QuilleryRecord& record, QuilleryRecordImage& image) {
    std::memcpy(image.data, &record, kQuilleryRecordLength);
}
inline void copyImageToRecord(const QuilleryRecordImage& image, QuilleryRecord& record) {
    std::memcpy(&record, image.data, kQuilleryRecordLength);
}
inline bool sameImage(const QuilleryRecord& record, const QuilleryRecordImage& image) {
    return std::memcmp(&record, image.data, kQuilleryRecordLength) == 0;
}

}  // namespace quillery
