// The made-up catalogue: the same seed gives the same bytes, and every record is one the
// program could have written.
#include "app/testing/catalogue_generator.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>

#include "app/build_keys.h"
#include "app/catalogue_csv.h"
#include "runtime/dates.h"

namespace quillery {
namespace {

constexpr std::size_t kBenchmarkSize = 32000;

bool sameBytes(const QuilleryRecord& a, const QuilleryRecord& b) {
    return std::memcmp(&a, &b, kQuilleryRecordLength) == 0;
}

bool stampBefore(QuilleryStamp a, QuilleryStamp b) {
    return a.date < b.date || (a.date == b.date && a.time < b.time);
}

bool validStamp(QuilleryStamp s) {
    return s.date >= kFirstDayNumber && s.date <= kLastDayNumber && s.time >= 1 &&
           s.time <= 8640000;
}

TEST(CatalogueGenerator, SameSeedSameRecords) {
    const auto a = generateCatalogue(3000, 7);
    const auto b = generateCatalogue(3000, 7);
    const auto c = generateCatalogue(3000, 8);
    ASSERT_EQ(a.size(), 3000u);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_TRUE(sameBytes(a[i], b[i])) << i;
        differing += sameBytes(a[i], c[i]) ? 0 : 1;
    }
    EXPECT_GT(differing, 2900u) << "another seed gives another catalogue";

    // One generator asked record by record gives the same as the whole batch.
    CatalogueGenerator one(7);
    for (std::size_t i = 0; i < 100; ++i)
        EXPECT_TRUE(sameBytes(one.next(), a[i])) << i;
}

TEST(CatalogueGenerator, RecordsAreOnesTheProgramWrites) {
    const auto records = generateCatalogue(kBenchmarkSize, 2026);
    ASSERT_EQ(records.size(), kBenchmarkSize);
    QuilleryStamp lastCreated{};
    std::size_t superseded = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const QuilleryRecord& r = records[i];
        ASSERT_TRUE(r.DELETED == 0 || r.DELETED == 1) << i;
        EXPECT_FALSE(r.LASTNAME.isBlank() && r.FIRSTNAME.isBlank()) << i;
        EXPECT_FALSE(r.TITLE.isBlank()) << i;
        EXPECT_EQ(r.LISTBYTITLE, 0) << i;
        EXPECT_TRUE(r.PHONES.isBlank()) << i;

        QuilleryRecord rebuilt = r;
        BUILDKEYS(rebuilt);
        EXPECT_TRUE(sameBytes(rebuilt, r)) << "derived keys of record " << i;

        EXPECT_TRUE(validStamp(r.CREATED())) << i;
        EXPECT_TRUE(validStamp(r.CHANGED())) << i;
        EXPECT_FALSE(stampBefore(r.CHANGED(), r.CREATED())) << i;
        EXPECT_FALSE(stampBefore(r.CREATED(), lastCreated)) << "creation stamps rise, " << i;
        lastCreated = r.CREATED();

        if (r.DELETED == 1) {
            // A superseded version is followed by its current version, created together.
            ++superseded;
            ASSERT_LT(i + 1, records.size());
            const QuilleryRecord& current = records[i + 1];
            EXPECT_EQ(current.DELETED, 0) << i;
            EXPECT_EQ(current.CREATED(), r.CREATED()) << i;
            EXPECT_TRUE(stampBefore(r.CHANGED(), current.CHANGED())) << i;
            EXPECT_EQ(current.NAMEKEY, r.NAMEKEY) << i;
        }
    }
    EXPECT_GT(superseded, kBenchmarkSize / 50);
    EXPECT_LT(superseded, kBenchmarkSize / 10);
}

TEST(CatalogueGenerator, ValuesVaryLikeARealCatalogue) {
    const auto records = generateCatalogue(5000, 99);
    std::set<std::string> categories, lastNames, titles;
    std::map<std::size_t, std::size_t> contentLengths;
    std::size_t fullContents = 0, emptyContents = 0, withQuotes = 0, withLineEnds = 0,
                withCommas = 0, accented = 0;
    for (const QuilleryRecord& r : records) {
        categories.insert(r.CATEGORY.str());
        lastNames.insert(r.LASTNAME.str());
        titles.insert(r.TITLE.str());
        const std::string_view contents = r.CONTENTS.clipped();
        ++contentLengths[contents.size() / 100];
        fullContents += contents.size() == 1000;
        emptyContents += contents.empty();
        withQuotes += contents.find('"') != std::string_view::npos;
        withLineEnds += contents.find("\r\n") != std::string_view::npos;
        withCommas += contents.find(',') != std::string_view::npos;
        const std::string names = r.LASTNAME.str() + r.FIRSTNAME.str();
        accented += names.find_first_of("\xE9\xEB\xF8\xE1\xED\xF1\x8A\xFC\xF6\xEE\xC9") !=
                    std::string::npos;
    }
    EXPECT_GE(categories.size(), 5u);
    EXPECT_LE(categories.size(), 12u);
    EXPECT_GE(lastNames.size(), 40u);
    EXPECT_GE(titles.size(), 1000u);
    EXPECT_GE(contentLengths.size(), 10u) << "note lengths spread over 0..1000";
    EXPECT_GT(fullContents, 100u);
    EXPECT_GT(emptyContents, 500u);
    EXPECT_GT(withQuotes, 100u);
    EXPECT_GT(withLineEnds, 100u);
    EXPECT_GT(withCommas, 100u);
    EXPECT_GT(accented, 100u);
}

TEST(CatalogueGenerator, CurrentEntriesImportAsTheyAre) {
    std::vector<QuilleryRecord> records = generateCatalogue(500, 5);
    const std::string csv = writeCatalogueCsv(records);
    const CatalogueCsvImport back = readCatalogueCsv(csv, QuilleryStamp{4, 1});
    ASSERT_TRUE(back.ok()) << back.problem->text();
    ASSERT_EQ(back.records.size(), records.size());
}

}  // namespace
}  // namespace quillery
