// The book record's bytes: every field at its stored offset, the blank record, and the
// whole-record copies through CURRENTRECORD and CHG:RECORD.
#include "app/quillery_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "app/catalogue_globals.h"

namespace quillery {
namespace {

struct FieldPlace {
    const char* name;
    std::size_t offset;
    std::size_t width;
    std::function<void(QuilleryRecord&)> fill;  // fills the field with 'x' bytes (0x78)
};

template <std::size_t N>
void fillX(FixedString<N>& field) {
    field = std::string(N, 'x');
}

// The record's table of fields with their stored offsets and widths.
std::vector<FieldPlace> fieldPlaces() {
    return {
        {"DELETED", 0, 1, [](QuilleryRecord& r) { r.DELETED = 'x'; }},
        {"ISBN", 1, 13, [](QuilleryRecord& r) { fillX(r.ISBN); }},
        {"CONDITION", 14, 15, [](QuilleryRecord& r) { fillX(r.CONDITION); }},
        {"LOCATION", 29, 18, [](QuilleryRecord& r) { fillX(r.LOCATION); }},
        {"BUYDATE", 47, 15, [](QuilleryRecord& r) { fillX(r.BUYDATE); }},
        {"EDITION", 62, 15, [](QuilleryRecord& r) { fillX(r.EDITION); }},
        {"PRINTDATE", 77, 15, [](QuilleryRecord& r) { fillX(r.PRINTDATE); }},
        {"VALUE", 92, 15, [](QuilleryRecord& r) { fillX(r.VALUE); }},
        {"OTHER", 107, 20, [](QuilleryRecord& r) { fillX(r.OTHER); }},
        {"PUBDATE", 127, 15, [](QuilleryRecord& r) { fillX(r.PUBDATE); }},
        {"RATING", 142, 1, [](QuilleryRecord& r) { fillX(r.RATING); }},
        {"CREATEDDATE", 143, 4, [](QuilleryRecord& r) { r.CREATEDDATE = 0x78787878; }},
        {"CREATEDTIME", 147, 4, [](QuilleryRecord& r) { r.CREATEDTIME = 0x78787878; }},
        {"CHANGEDDATE", 151, 4, [](QuilleryRecord& r) { r.CHANGEDDATE = 0x78787878; }},
        {"CHANGEDTIME", 155, 4, [](QuilleryRecord& r) { r.CHANGEDTIME = 0x78787878; }},
        {"NAMEKEY", 159, 50, [](QuilleryRecord& r) { fillX(r.NAMEKEY); }},
        {"TITLEKEY", 209, 50, [](QuilleryRecord& r) { fillX(r.TITLEKEY); }},
        {"LASTNAME", 259, 20, [](QuilleryRecord& r) { fillX(r.LASTNAME); }},
        {"FIRSTNAME", 279, 20, [](QuilleryRecord& r) { fillX(r.FIRSTNAME); }},
        {"TITLE", 299, 45, [](QuilleryRecord& r) { fillX(r.TITLE); }},
        {"LISTBYTITLE", 344, 1, [](QuilleryRecord& r) { r.LISTBYTITLE = 'x'; }},
        {"PHONES", 345, 200, [](QuilleryRecord& r) { fillX(r.PHONES); }},
        {"CATEGORY", 545, 24, [](QuilleryRecord& r) { fillX(r.CATEGORY); }},
        {"CONTENTS", 569, 1000, [](QuilleryRecord& r) { fillX(r.CONTENTS); }},
    };
}

// A cleared record: strings blank, numbers zero.
std::string blankImage() {
    std::string image(kQuilleryRecordLength, ' ');
    image[0] = 0;
    std::memset(image.data() + 143, 0, 16);
    image[344] = 0;
    return image;
}

std::string imageOf(const QuilleryRecord& r) {
    const auto bytes = bytesOf(r);
    return std::string(bytes.begin(), bytes.end());
}

TEST(QuilleryRecordLayout, ANewRecordIsBlankWithZeroNumbers) {
    EXPECT_EQ(imageOf(QuilleryRecord()), blankImage());
}

TEST(QuilleryRecordLayout, EveryFieldWritesExactlyItsOwnBytes) {
    std::size_t covered = 0;
    for (const auto& place : fieldPlaces()) {
        QuilleryRecord record;
        place.fill(record);
        std::string expected = blankImage();
        expected.replace(place.offset, place.width, std::string(place.width, 'x'));
        EXPECT_EQ(imageOf(record), expected) << place.name;
        covered += place.width;
    }
    EXPECT_EQ(covered, kQuilleryRecordLength);
}

TEST(QuilleryRecordLayout, IntegersAreLittleEndianAndGroupsReadWhole) {
    QuilleryRecord record;
    record.setCREATED({0x01020304, 0x05060708});
    record.CHANGEDDATE = -2;
    record.CHANGEDTIME = 1;
    const auto bytes = bytesOf(record);
    EXPECT_EQ(std::string(bytes.begin() + 143, bytes.begin() + 159),
              std::string("\x04\x03\x02\x01\x08\x07\x06\x05\xFE\xFF\xFF\xFF\x01\x00\x00\x00", 16));
    EXPECT_EQ(record.CREATEDDATE, 0x01020304);
    EXPECT_EQ(record.CREATED(), (QuilleryStamp{0x01020304, 0x05060708}));
    EXPECT_EQ(record.CHANGED(), (QuilleryStamp{-2, 1}));
    record.setCHANGED({7, 8});
    EXPECT_EQ(record.CHANGEDDATE, 7);
    EXPECT_EQ(record.CHANGEDTIME, 8);
}

TEST(QuilleryRecordLayout, KeysAreReachableThroughTheRecord) {
    EXPECT_EQ(QLY.CREATEDKEY, QuilleryKey::CREATEDKEY);
    EXPECT_EQ(static_cast<int>(QLY.CREATEDKEY), 0);
    EXPECT_EQ(static_cast<int>(QLY.AUTHORKEY), 3);
    EXPECT_EQ(static_cast<int>(QLY.VALUEKEY), 15);
}

QuilleryRecord fullRecord() {
    QuilleryRecord r;
    r.DELETED = 0;
    r.ISBN = "0-14-143951-3";
    r.LASTNAME = "Austen";
    r.FIRSTNAME = "Jane";
    r.TITLE = "Emma";
    r.CREATEDDATE = 80123;
    r.CREATEDTIME = 4500001;
    r.PHONES = "carried along";
    std::string contents(1000, ' ');
    for (std::size_t i = 0; i < contents.size(); ++i)
        contents[i] = static_cast<char>('a' + i % 26);
    r.CONTENTS = contents;
    return r;
}

TEST(QuilleryRecordCopies, ChangeRecordRoundTripKeepsTheWholeContents) {
    const QuilleryRecord savedQly = QLY;
    const QuilleryRecord savedChg = CHG;
    QLY = fullRecord();
    CHG = QLY;               // the edited version set aside
    QLY = QuilleryRecord();  // the buffer used for something else meanwhile
    QLY = CHG;               // and brought back
    EXPECT_EQ(imageOf(QLY), imageOf(fullRecord()));
    EXPECT_EQ(QLY.CONTENTS.view(), fullRecord().CONTENTS.view());
    EXPECT_EQ(QLY.CONTENTS.view()[999], 'a' + 999 % 26);
    QLY = savedQly;
    CHG = savedChg;
}

TEST(QuilleryRecordCopies, CurrentRecordImageComparesAndRestores) {
    const QuilleryRecordImage saved = CURRENTRECORD;
    QuilleryRecord record = fullRecord();
    copyRecordToImage(record, CURRENTRECORD);
    EXPECT_TRUE(sameImage(record, CURRENTRECORD));
    record.CONTENTS.data[999] = '!';  // an edit at the very last byte is seen
    EXPECT_FALSE(sameImage(record, CURRENTRECORD));
    copyImageToRecord(CURRENTRECORD, record);
    EXPECT_EQ(imageOf(record), imageOf(fullRecord()));
    CURRENTRECORD = saved;
}

TEST(QuilleryRecordCopies, CurrentRecordStartsBlankLikeAnyString) {
    const QuilleryRecordImage fresh;
    EXPECT_TRUE(fresh.isBlank());
    EXPECT_EQ(sizeof(CURRENTRECORD), kQuilleryRecordLength);
    EXPECT_EQ(sizeof(CHG), kQuilleryRecordLength);
}

}  // namespace
}  // namespace quillery
