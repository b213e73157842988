// Catalogue CSV export and import: every field of every record comes back byte for byte, the
// columns cover the whole record, and the example catalogue's CSV reads cleanly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "app/build_keys.h"
#include "app/catalogue_columns.h"
#include "app/catalogue_csv.h"
#include "app/testing/catalogue_generator.h"
#include "runtime/dates.h"

namespace quillery {
namespace {

const QuilleryStamp kNow{dayNumberOf(2026, 12, 8), 14 * 360000 + 1};

// A record with every field set as awkwardly as it can be.
QuilleryRecord awkwardRecord() {
    QuilleryRecord r;
    r.DELETED = 1;
    r.ISBN = "978-0-06-1120";         // full width
    r.CONDITION = "  Very \"Good\"";  // leading blanks and quotes
    r.LOCATION = "Study, shelf 1";
    r.BUYDATE = "03/23/1996";
    r.EDITION = "First";
    r.PRINTDATE = "1961";
    r.VALUE =
        "\x80"
        "12,50";  // euro sign
    r.OTHER = "Pulitzer 1961";
    r.PUBDATE = "July 1960";
    r.RATING = "A";
    r.CREATEDDATE = dayNumberOf(1999, 12, 31);
    r.CREATEDTIME = 1;   // midnight
    r.CHANGEDDATE = -7;  // not a date, carried as it is
    r.CHANGEDTIME = 8640001;
    r.LASTNAME = "Bront\xEB";
    r.FIRSTNAME = "Ch\xE2rlotte, \"C.\"";
    r.TITLE = "Jane Eyre: An Autobiography";
    r.LISTBYTITLE = 255;
    r.PHONES = std::string(199, '5') + "9";
    r.CATEGORY = "Classics";
    // 1000 characters with commas, quotes, both kinds of line end and a blank run inside.
    std::string contents;
    const char* pieces[] = {"Chapter 1, \"Gateshead\".\r\n",
                            "Line\nbreak; ",
                            "  blanks  ",
                            "\xAB"
                            "guillemets\xBB, ",
                            "\x81\x8D\x8F\x90\x9D",
                            "\r"};
    for (int i = 0; contents.size() < 1000; ++i)
        contents += pieces[i % 6];
    contents.resize(999);
    contents += '.';
    r.CONTENTS = contents;
    BUILDKEYS(r);
    return r;
}

std::vector<QuilleryRecord> readBack(const std::string& csv) {
    const CatalogueCsvImport result = readCatalogueCsv(csv, kNow);
    EXPECT_TRUE(result.ok()) << result.problem->text();
    return result.records;
}

void expectSameBytes(const QuilleryRecord& a, const QuilleryRecord& b, std::size_t index) {
    const auto x = bytesOf(a), y = bytesOf(b);
    for (std::size_t i = 0; i < kQuilleryRecordLength; ++i) {
        if (x[i] != y[i]) {
            ADD_FAILURE() << "record " << index << " differs first at byte " << i;
            return;
        }
    }
}

TEST(CsvCatalogueRoundTrip, ColumnsCoverEveryByteOfTheRecordOnce) {
    std::vector<int> covered(kQuilleryRecordLength, 0);
    std::set<std::string_view> names;
    for (const CatalogueColumn& column : catalogueColumns()) {
        for (std::size_t i = 0; i < column.width; ++i)
            ++covered.at(column.offset + i);
        EXPECT_TRUE(names.insert(column.name).second) << column.name;
        EXPECT_EQ(findCatalogueColumn(column.name), &column);
    }
    for (std::size_t i = 0; i < kQuilleryRecordLength; ++i)
        EXPECT_EQ(covered[i], 1) << i;
    EXPECT_EQ(catalogueColumns().size(), 24u);
    EXPECT_EQ(catalogueCsvHeader(),
              "LASTNAME,FIRSTNAME,TITLE,CATEGORY,RATING,ISBN,CONDITION,LOCATION,EDITION,PUBDATE,"
              "PRINTDATE,BUYDATE,VALUE,OTHER,CONTENTS,PHONES,LISTBYTITLE,DELETED,CREATEDDATE,"
              "CREATEDTIME,CHANGEDDATE,CHANGEDTIME,NAMEKEY,TITLEKEY\r\n");
}

TEST(CsvCatalogueRoundTrip, AwkwardRecordComesBackByteForByte) {
    const QuilleryRecord record = awkwardRecord();
    ASSERT_EQ(record.CONTENTS.clipped().size(), 1000u);
    const std::string csv = writeCatalogueCsv(std::span(&record, 1));
    const std::vector<QuilleryRecord> back = readBack(csv);
    ASSERT_EQ(back.size(), 1u);
    expectSameBytes(record, back[0], 0);
    EXPECT_EQ(writeCatalogueCsv(back), csv);
}

TEST(CsvCatalogueRoundTrip, WritesStampsAsDatesAndTimesOfDay) {
    QuilleryRecord r;
    r.LASTNAME = "Lee";
    r.setCREATED({dayNumberOf(1961, 7, 11), 1});
    r.setCHANGED({0, 8640000});
    BUILDKEYS(r);
    const std::string csv = writeCatalogueCsv(std::span(&r, 1));
    EXPECT_NE(csv.find(",0,0,1961-07-11,00:00:00.00,0,23:59:59.99,Lee (),"), std::string::npos)
        << csv;
}

TEST(CsvCatalogueRoundTrip, EveryByteValueSurvivesInAText) {
    QuilleryRecord r;
    r.LASTNAME = "Bytes";
    std::string all;
    for (int c = 0; c < 256; ++c)
        all.push_back(static_cast<char>(c));
    all += "end";
    r.PHONES = all.substr(0, 200);
    r.CONTENTS = all;
    BUILDKEYS(r);
    const std::vector<QuilleryRecord> back = readBack(writeCatalogueCsv(std::span(&r, 1)));
    ASSERT_EQ(back.size(), 1u);
    expectSameBytes(r, back[0], 0);
}

TEST(CsvCatalogueRoundTrip, GeneratedCatalogueComesBackByteForByte) {
    const std::vector<QuilleryRecord> records = generateCatalogue(2000, 42);
    const std::string csv = writeCatalogueCsv(records);
    const std::vector<QuilleryRecord> back = readBack(csv);
    ASSERT_EQ(back.size(), records.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        expectSameBytes(records[i], back[i], i);
    EXPECT_EQ(writeCatalogueCsv(back), csv);
}

std::string readAwards() {
    const auto path = std::filesystem::path(QUILLERY_DATA_DIR) / "awards.csv";
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file) << path;
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST(CsvCatalogueRoundTrip, ExampleCatalogueReadsCleanly) {
    const std::string csv = readAwards();
    const CatalogueCsvImport result = readCatalogueCsv(csv, kNow);
    ASSERT_TRUE(result.ok()) << result.problem->text();
    ASSERT_EQ(result.records.size(), 110u);

    const QuilleryRecord& first = result.records.front();
    EXPECT_EQ(first.NAMEKEY.str(), "Lee, Harper (To Kill a Mockingbird)");
    EXPECT_EQ(first.CATEGORY.str(), "Pulitzer Fiction");
    EXPECT_EQ(first.RATING.str(), "A");
    EXPECT_TRUE(first.ISBN.isBlank());
    EXPECT_EQ(first.VALUE.str(), "$5.00");
    EXPECT_EQ(first.CONTENTS.str(), "Pulitzer 1961. Part of the awards shelf; a fine copy.");
    for (const QuilleryRecord& r : result.records) {
        EXPECT_EQ(r.DELETED, 0);
        EXPECT_EQ(r.CREATED(), kNow);
        EXPECT_FALSE(r.LASTNAME.isBlank());
    }
    const auto quoted =
        std::find_if(result.records.begin(), result.records.end(),
                     [](const QuilleryRecord& r) { return r.LASTNAME == "Curtis"; });
    ASSERT_NE(quoted, result.records.end());
    EXPECT_EQ(quoted->TITLE.str(), "Bud, Not Buddy");

    // Export and import again: the same records.
    const std::vector<QuilleryRecord> back = readBack(writeCatalogueCsv(result.records));
    ASSERT_EQ(back.size(), result.records.size());
    for (std::size_t i = 0; i < back.size(); ++i)
        expectSameBytes(result.records[i], back[i], i);
}

}  // namespace
}  // namespace quillery
