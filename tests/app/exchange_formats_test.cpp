// Imports from and exports to the book-cataloguing services' formats: hand-written exports with
// their awkward cases, the report, and round trips through each format.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "app/exchange/exchange_format.h"
#include "app/exchange/exported_book.h"
#include "app/exchange/goodreads_format.h"
#include "app/exchange/librarything_format.h"
#include "app/exchange/text_to_cp1252.h"
#include "app/testing/catalogue_generator.h"
#include "runtime/codepage.h"
#include "runtime/dates.h"
#include "tests/app/exchange_samples_support.h"

namespace quillery::exchange {
namespace {

std::string utf8(std::string_view cp1252) {
    return cp1252ToUtf8(cp1252);
}

TEST(TextToCp1252, KeepsWhatThePageHasAndReplacesTheRest) {
    const Cp1252Text kept = textToCp1252("é ü ß “quoted” – — €");
    EXPECT_EQ(kept.replaced, 0u);
    EXPECT_EQ(utf8(kept.text), "é ü ß “quoted” – — €");

    const Cp1252Text replaced = textToCp1252("Łódź ﬁn 書 a\u200Bb");
    EXPECT_EQ(replaced.text, utf8ToCp1252("Lódz fin ? ab"));
    EXPECT_EQ(replaced.replaced, 5u);

    // A letter and its accent as two code points are the one character the page has.
    const Cp1252Text combined = textToCp1252("Cafe\u0301 x\u0301");
    EXPECT_EQ(utf8(combined.text), "Café x");
    EXPECT_EQ(combined.replaced, 1u);

    EXPECT_FALSE(textToCp1252("bad \xC3").validUtf8);
    EXPECT_FALSE(textToCp1252("bad \xED\xA0\x80").validUtf8);
}

TEST(GoodreadsImport, ReadsAnExportWithItsAwkwardCases) {
    const std::string csv = sample("goodreads_library_export.csv");
    EXPECT_EQ(detectExchangeFormat(csv), ExchangeFormat::kGoodreads);
    const ExchangeImport imported = readGoodreadsCsv(csv, kNow);
    ASSERT_TRUE(imported.ok()) << imported.problem->text();
    ASSERT_EQ(imported.records.size(), 4u);

    const QuilleryRecord& harbour = imported.records[0];
    EXPECT_EQ(harbour.TITLE.str(), "The Harbour, \"Revisited\"");
    EXPECT_EQ(harbour.LASTNAME.str(), "Quell");
    EXPECT_EQ(harbour.FIRSTNAME.str(), "Mara");
    EXPECT_EQ(harbour.ISBN.str(), "9780306406157");
    EXPECT_EQ(harbour.RATING.str(), "4");
    EXPECT_EQ(harbour.OTHER.str(), "Lanternfish Press");
    EXPECT_EQ(harbour.EDITION.str(), "Paperback");
    EXPECT_EQ(harbour.PUBDATE.str(), "2004");
    EXPECT_EQ(harbour.CATEGORY.str(), "read");
    EXPECT_EQ(harbour.CREATED(), (QuilleryStamp{dayNumberOf(2020, 11, 15), kNow.time}));
    EXPECT_EQ(harbour.CHANGED(), kNow);
    EXPECT_EQ(harbour.NAMEKEY.str(), "Quell, Mara (The Harbour, \"Revisited\")");
    EXPECT_EQ(harbour.CONTENTS.str(),
              "Signed copy.\r\nAdditional authors: Tomas Brix; Ines Olave\r\nShelves: favourites"
              "\r\nPages: 312\r\nFirst published: 1998\r\nOwned copies: 1\r\nDate read: "
              "2021/03/04\r\nRead count: 2"
              "\r\nReview: Slow to start.\r\n\r\nThen it would not let go.\r\nThe last chapter, "
              "twice.");

    const QuilleryRecord& orchard = imported.records[1];
    EXPECT_EQ(orchard.TITLE.str(), "The Glass Orchard (The Lantern Cycle, #2)");
    EXPECT_TRUE(orchard.ISBN.isBlank());
    EXPECT_TRUE(orchard.RATING.isBlank());
    EXPECT_EQ(orchard.CATEGORY.str(), "to-read");
    EXPECT_TRUE(orchard.CONTENTS.isBlank());

    EXPECT_EQ(utf8(imported.records[2].TITLE.clipped()), "Notes from Kraków — “Winter”");
    EXPECT_EQ(imported.records[2].LASTNAME.str(), "Wedrowski");
    EXPECT_EQ(imported.records[2].FIRSTNAME.str(), "Lukasz");
    EXPECT_EQ(imported.records[3].TITLE.str(), "A Very Long Account of the Lighthouse Keepers");
    EXPECT_EQ(imported.records[3].LASTNAME.str(), "Anonymous");

    EXPECT_EQ(imported.report.lines(),
              (std::vector<std::string>{
                  "line 5: Notes from Kraków — “Winter”: 2 characters not representable",
                  "line 6: A Very Long Account of the Lighthouse Keepers of the Northern Isles and "
                  "Their Lamps: TITLE cut from 83 to 45 characters",
              }));
    EXPECT_EQ(importSummary(ExchangeFormat::kGoodreads, imported),
              "4 entries of a Goodreads export, 2 of them named above");
}

TEST(GoodreadsImport, TakesAnExportWithColumnsMissing) {
    const ExchangeImport imported = readGoodreadsCsv(sample("goodreads_few_columns.csv"), kNow);
    ASSERT_TRUE(imported.ok()) << imported.problem->text();
    ASSERT_EQ(imported.records.size(), 2u);
    EXPECT_EQ(imported.records[0].ISBN.str(), "1400000007");
    EXPECT_EQ(imported.records[0].LASTNAME.str(), "Lindqvist");
    EXPECT_EQ(imported.records[0].FIRSTNAME.str(), "Bo");
    EXPECT_EQ(imported.records[1].CATEGORY.str(), "to-read");
    EXPECT_EQ(imported.records[1].CREATED(), kNow);
    EXPECT_TRUE(imported.report.lines().empty());
}

TEST(GoodreadsImport, AMalformedFileGivesNothingAndNamesTheLine) {
    const ExchangeImport unclosed = readGoodreadsCsv(sample("goodreads_malformed.csv"), kNow);
    ASSERT_FALSE(unclosed.ok());
    EXPECT_TRUE(unclosed.records.empty());
    EXPECT_EQ(unclosed.problem->line, 4);

    const ExchangeImport badRating =
        readGoodreadsCsv("Title,Author,My Rating\nA,B C,4\nD,E F,six\n", kNow);
    ASSERT_FALSE(badRating.ok());
    EXPECT_TRUE(badRating.records.empty());
    EXPECT_EQ(badRating.problem->text(), "line 3: My Rating \"six\" is not a rating from 0 to 5");

    const ExchangeImport badDate =
        readGoodreadsCsv("Title,Author,Date Added\nA,B C,2020-13-01\n", kNow);
    EXPECT_EQ(badDate.problem->text(),
              "line 2: Date Added \"2020-13-01\" is not a date YYYY/MM/DD from 1801 to 2099");
    EXPECT_EQ(readGoodreadsCsv("Name,Year\nA,1\n", kNow).problem->text(),
              "line 1: not a Goodreads export: the header row needs \"Title\" and \"Author\"");
}

TEST(LibraryThingImport, ReadsColumnsByName) {
    const std::string tsv = sample("librarything_export.tsv");
    EXPECT_EQ(detectExchangeFormat(tsv), ExchangeFormat::kLibraryThing);
    const ExchangeImport imported = readLibraryThing(tsv, kNow);
    ASSERT_TRUE(imported.ok()) << imported.problem->text();
    ASSERT_EQ(imported.records.size(), 3u);

    const QuilleryRecord& harbour = imported.records[0];
    EXPECT_EQ(harbour.TITLE.str(), "The Harbour, \"Revisited\"");
    EXPECT_EQ(harbour.LASTNAME.str(), "Quell");
    EXPECT_EQ(harbour.ISBN.str(), "9780306406157");
    EXPECT_EQ(harbour.RATING.str(), "3");
    EXPECT_EQ(harbour.OTHER.str(), "Lanternfish Press");
    EXPECT_EQ(harbour.EDITION.str(), "Paperback");
    EXPECT_EQ(harbour.PUBDATE.str(), "2004");
    EXPECT_EQ(harbour.BUYDATE.str(), "2019-05-03");
    EXPECT_EQ(harbour.VALUE.str(), "12.50 EUR");
    EXPECT_EQ(harbour.CATEGORY.str(), "Your library");
    EXPECT_EQ(harbour.CREATEDDATE, dayNumberOf(2020, 1, 2));
    EXPECT_EQ(harbour.CONTENTS.str(),
              "Bought at the harbour fair\r\nAdditional authors: Tomas Brix\r\nTags: sea, "
              "lighthouses\r\nCollections: Favorites\r\nPublication: Lanternfish Press (2004), "
              "Paperback, 312 pages\r\nPages: 312\r\nDate read: 2021-03-04\r\nComments: Lent to "
              "R. in May\r\nReview: Worth the wait.\r\n\r\nRead it in one sitting.");

    EXPECT_EQ(utf8(imported.records[1].TITLE.clipped()), "Ørsted’s Field Notes");
    EXPECT_EQ(imported.records[1].RATING.str(), "5");
    EXPECT_EQ(imported.records[2].ISBN.str(), "1400000007");
    EXPECT_EQ(imported.records[2].CREATED(), kNow);
    EXPECT_EQ(imported.report.lines(),
              (std::vector<std::string>{
                  "line 2: The Harbour, \"Revisited\": RATING 3.5 cut to 3",
                  "line 4: The Sluice-Gate Ledger: 1 character not representable",
              }));

    const ExchangeImport short_ = readLibraryThing("Title\tPrimary Author\nA\n", kNow);
    EXPECT_EQ(short_.problem->text(), "line 2: 1 value where the header row names 2 columns");
}

// Generated entries with a rating each format can carry.
std::vector<QuilleryRecord> currentEntries() {
    std::vector<QuilleryRecord> entries;
    for (QuilleryRecord& record : generateCatalogue(300, 15)) {
        if (record.DELETED != 0) continue;
        const char letter = record.RATING.isBlank() ? 0 : record.RATING.clipped()[0];
        record.RATING = letter == 0 ? std::string() : std::string(1, char('1' + letter - 'A'));
        entries.push_back(record);
    }
    return entries;
}

void expectSame(const QuilleryRecord& a, const QuilleryRecord& b, std::string_view field) {
    const ExportedBook left(a), right(b);
    EXPECT_EQ(left.field(field), right.field(field)) << field << " of " << left.title();
}

TEST(ExchangeRoundTrip, OursThroughGoodreadsKeepsWhatItCarries) {
    const std::vector<QuilleryRecord> entries = currentEntries();
    const std::string csv = writeGoodreadsCsv(entries);
    EXPECT_EQ(detectExchangeFormat(csv), ExchangeFormat::kGoodreads);
    const ExchangeImport back = readGoodreadsCsv(csv, kNow);
    ASSERT_TRUE(back.ok()) << back.problem->text();
    EXPECT_TRUE(back.report.lines().empty());
    ASSERT_EQ(back.records.size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        for (std::string_view field :
             {"LASTNAME", "FIRSTNAME", "TITLE", "CATEGORY", "RATING", "ISBN", "OTHER", "EDITION",
              "PUBDATE", "CONDITION", "LOCATION", "BUYDATE", "CONTENTS", "NAMEKEY", "TITLEKEY",
              "CREATEDDATE"}) {
            expectSame(entries[i], back.records[i], field);
        }
    }
}

TEST(ExchangeRoundTrip, OursThroughLibraryThingKeepsWhatItCarries) {
    const std::vector<QuilleryRecord> entries = currentEntries();
    const ExchangeImport back = readLibraryThing(writeLibraryThingTsv(entries), kNow);
    ASSERT_TRUE(back.ok()) << back.problem->text();
    EXPECT_TRUE(back.report.lines().empty());
    ASSERT_EQ(back.records.size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        for (std::string_view field :
             {"LASTNAME", "FIRSTNAME", "TITLE", "CATEGORY", "RATING", "ISBN", "OTHER", "EDITION",
              "PUBDATE", "BUYDATE", "CONTENTS", "CREATEDDATE"}) {
            expectSame(entries[i], back.records[i], field);
        }
    }
}

TEST(ExchangeRoundTrip, AGoodreadsExportComesBackAsItWent) {
    const ExchangeImport first = readGoodreadsCsv(sample("goodreads_library_export.csv"), kNow);
    ASSERT_TRUE(first.ok());
    const ExchangeImport second = readGoodreadsCsv(writeGoodreadsCsv(first.records), kNow);
    ASSERT_TRUE(second.ok()) << second.problem->text();
    ASSERT_EQ(second.records.size(), first.records.size());
    for (std::size_t i = 0; i < first.records.size(); ++i) {
        EXPECT_EQ(std::memcmp(&first.records[i], &second.records[i], kQuilleryRecordLength), 0)
            << i;
    }
}

// Every cut-short and byte-flipped version of the samples gives entries or a problem, in
// either format; the sanitizer build turns any stray read into a failure.
TEST(ExchangeImport, DamagedFilesGiveEntriesOrAProblem) {
    for (const char* name : {"goodreads_library_export.csv", "librarything_export.tsv",
                             "librarything_export.json", "calibre_catalog.csv"}) {
        const std::string bytes = sample(name);
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            std::string flipped = bytes;
            flipped[i] = static_cast<char>(flipped[i] ^ 0xA5);
            for (const std::string& damaged : {bytes.substr(0, i), flipped}) {
                for (ExchangeFormat format :
                     {ExchangeFormat::kGoodreads, ExchangeFormat::kLibraryThing,
                      ExchangeFormat::kCalibre}) {
                    const ExchangeImport result = readExchange(format, damaged, kNow);
                    if (!result.ok()) {
                        EXPECT_TRUE(result.records.empty());
                        EXPECT_GE(result.problem->line, 1);
                        EXPECT_FALSE(result.problem->message.empty());
                        continue;
                    }
                    // An entry the catalogue would keep: never without a name or its keys.
                    for (const QuilleryRecord& record : result.records) {
                        ASSERT_FALSE(record.LASTNAME.isBlank() && record.FIRSTNAME.isBlank());
                        ASSERT_FALSE(record.NAMEKEY.isBlank());
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace quillery::exchange
