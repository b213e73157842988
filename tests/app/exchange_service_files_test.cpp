// Files shaped like the services' own exports, quirks included: LibraryThing's 49 columns in
// its three layouts, Goodreads' newer columns and odd author forms, Calibre's catalogue, and
// files in UTF-16; then round trips of notes with labelled parts through both services.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "app/build_keys.h"
#include "app/exchange/exchange_format.h"
#include "app/exchange/exported_book.h"
#include "app/testing/catalogue_generator.h"
#include "runtime/codepage.h"
#include "runtime/dates.h"
#include "tests/app/exchange_samples_support.h"

namespace quillery::exchange {
namespace {

ExchangeImport readSample(const std::string& name) {
    const std::string bytes = sample(name);
    const ExchangeImport imported = readExchange(detectExchangeFormat(bytes), bytes, kNow);
    EXPECT_TRUE(imported.ok()) << name << ": " << imported.problem->text();
    return imported;
}

std::string note(const QuilleryRecord& record) {
    return cp1252ToUtf8(record.CONTENTS.clipped());
}

// UTF-16 with its byte-order mark, as a spreadsheet saves it.
std::string asUtf16(std::string_view utf8, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    std::u32string points;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const int n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        char32_t c = n == 1 ? b : b & (0x7F >> n);
        for (int k = 1; k < n; ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        points += c;
        i += n;
    }
    for (const char32_t c : points) {
        const auto unit = static_cast<char16_t>(c);  // the samples stay in the first plane
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    }
    return out;
}

TEST(LibraryThingExports, TheTabSeparatedExportImportsWhole) {
    const ExchangeImport imported = readSample("librarything_export_49.tsv");
    ASSERT_EQ(imported.records.size(), 3u);

    const QuilleryRecord& tides = imported.records[0];
    EXPECT_EQ(tides.TITLE.str(), "Quiet Tides");  // the NUL dropped
    EXPECT_EQ(tides.LASTNAME.str(), "Varga");
    EXPECT_EQ(tides.ISBN.str(), "9780306406157");
    EXPECT_EQ(tides.OTHER.str(), "Penguin Group (USA)");
    EXPECT_EQ(tides.BUYDATE.str(), "2019-05-03");
    EXPECT_EQ(tides.CATEGORY.str(), "Your library");
    EXPECT_EQ(tides.CREATEDDATE, dayNumberOf(2021, 7, 30));
    EXPECT_EQ(note(tides),
              "Signed at the launch\r\nAdditional authors: Oskar Pell (Translator); Rue Danner "
              "(Illustrator)\r\nTags: sea, calm\r\nCollections: Favorites\r\nPublication: Penguin "
              "Group (USA) (2011), Edition: 1st, Paperback, 288 pages\r\nPages: 288\r\nFrom where: "
              "Harbour Books\r\nBCID: 221-7731\r\nDate started: 2020-02-01\r\nDate read: "
              "2020-03-04\r\nComments: Lent to Jo in May\r\nReview: Calm and exact.\r\nWorth the "
              "wait.");

    // ISBNs empty: the bracketed ISBN column; a partial entry date is the year's first day.
    const QuilleryRecord& film = imported.records[1];
    EXPECT_EQ(film.ISBN.str(), "2266062328");
    EXPECT_EQ(film.OTHER.str(), "MGM (Video & DVD)");
    EXPECT_EQ(film.PUBDATE.str(), "1997");
    EXPECT_EQ(film.CREATEDDATE, dayNumberOf(2007, 1, 1));
    EXPECT_EQ(note(film),
              "Bought at the café on the pier\r\nAuthor's role: Director\r\nPublication: MGM "
              "(Video & DVD) (1997)\r\nDate read: 2008-06");

    // A statement without a year is the publisher, cut to its field and kept whole in the note.
    const QuilleryRecord& ledger = imported.records[2];
    EXPECT_EQ(ledger.OTHER.str(), "Nordlys Forlag og Bo");
    EXPECT_EQ(note(ledger),
              "Publication: Nordlys Forlag og Bokhandel, Oslo\r\nReview: A hard read.\r\nThe last "
              "part repays it.");

    EXPECT_EQ(imported.report.lines(),
              (std::vector<std::string>{
                  "line 2: Quiet Tides: 1 control character dropped from Title",
                  "line 3: Lighthouse Film Notes: Private Comment is not UTF-8; read as "
                  "Windows-1252",
                  "line 4: The Salt Ledger: RATING 2.5 cut to 2",
                  "line 4: The Salt Ledger: OTHER cut from 33 to 20 characters",
              }));

    // A name with stray bytes in both its parts is read, and named once.
    const ExchangeImport stray = readExchange(
        ExchangeFormat::kLibraryThing, "Title\tPrimary Author\nA\t\xD8ssian, Br\xE5m\n", kNow);
    ASSERT_TRUE(stray.ok());
    EXPECT_EQ(stray.records[0].LASTNAME.str(), "\xD8ssian");
    EXPECT_EQ(stray.records[0].FIRSTNAME.str(), "Br\xE5m");
    EXPECT_EQ(stray.report.lines(), (std::vector<std::string>{"line 2: A: Primary Author is not "
                                                              "UTF-8; read as Windows-1252"}));
}

TEST(LibraryThingExports, EveryLayoutAndEncodingGivesTheSameBooks) {
    const ExchangeImport expected = readSample("librarything_export_49.tsv");
    for (const std::string& bytes :
         {sample("librarything_export.csv"), sample("librarything_export.json"),
          asUtf16(sample("librarything_export.csv"), false),
          asUtf16(sample("librarything_export.csv"), true)}) {
        ASSERT_EQ(detectExchangeFormat(bytes), ExchangeFormat::kLibraryThing);
        const ExchangeImport imported = readExchange(ExchangeFormat::kLibraryThing, bytes, kNow);
        ASSERT_TRUE(imported.ok()) << imported.problem->text();
        ASSERT_EQ(imported.records.size(), expected.records.size());
        for (std::size_t i = 0; i < expected.records.size(); ++i) {
            EXPECT_EQ(
                std::memcmp(&imported.records[i], &expected.records[i], kQuilleryRecordLength), 0)
                << i;
        }
    }
}

TEST(LibraryThingExports, BadFilesAreRefusedWithTheirLine) {
    const auto problem = [](std::string_view bytes) {
        const ExchangeImport read = readExchange(ExchangeFormat::kLibraryThing, bytes, kNow);
        EXPECT_TRUE(read.records.empty());
        return read.ok() ? std::string("(read)") : read.problem->text();
    };
    EXPECT_EQ(problem("Title\tPrimary Author\tEntry Date\nA\tB, C\t[2021-02-30]\n"),
              "line 2: Entry Date \"[2021-02-30]\" is not a date [YYYY-MM-DD], YYYY-MM-DD or "
              "[YYYY] from 1801 to 2099");
    EXPECT_EQ(problem("{\"1\": {\"title\": \"A\",\n \"primaryauthor\": \"B\"\n"),
              "line 3: expected ',' or '}' in an object");
    EXPECT_EQ(problem("{\"1\": \"A\"}"), "line 1: book \"1\" is not a JSON object");
    EXPECT_EQ(problem(std::string("\xFF\xFET\0i\0", 6) + std::string("\x00\xD8", 2)),
              "line 1: the file is UTF-16 (it starts with a byte-order mark) but holds a broken "
              "surrogate pair");
    EXPECT_EQ(problem(std::string("\xFE\xFF\x00T\x00", 5)),
              "line 1: the file is UTF-16 (it starts with a byte-order mark) but has an odd "
              "number of bytes");
}

TEST(GoodreadsExports, NewerColumnsAndOddAuthorFormsAreKept) {
    const ExchangeImport imported = readSample("goodreads_newer_columns.csv");
    ASSERT_EQ(imported.records.size(), 2u);
    const QuilleryRecord& harbour = imported.records[0];
    EXPECT_EQ(harbour.LASTNAME.str(), "Harrow Jr.");
    EXPECT_EQ(harbour.FIRSTNAME.str(), "Edmund");
    EXPECT_EQ(harbour.ISBN.str(), "0306406152");
    EXPECT_EQ(harbour.CONDITION.str(), "Very good");
    EXPECT_EQ(harbour.LOCATION.str(), "Quayside Books");
    EXPECT_EQ(harbour.BUYDATE.str(), "2022/06/30");
    EXPECT_EQ(note(harbour),
              "Shelves: favourites\r\nPages: 240\r\nOwned copies: 1\r\nCondition description: "
              "Dust jacket torn at the spine\r\nBCID: 118-4402\r\nRecommended for: Anyone who "
              "grew up by the sea\r\nRecommended by: My aunt Vera\r\nDate read: "
              "2022/08/14\r\nRead count: 3");
    EXPECT_EQ(imported.records[1].LASTNAME.str(), "Ovidia");
    EXPECT_TRUE(imported.records[1].FIRSTNAME.isBlank());
    EXPECT_TRUE(imported.records[1].CONTENTS.isBlank());  // Spoiler false, no copies: nothing
    EXPECT_EQ(imported.report.lines(),
              (std::vector<std::string>{
                  "line 2: Cat's Harbour: Author l-f \"Jr., Edmund Harrow\" is not the author's "
                  "name turned round; the name is taken from Author",
                  "line 2: Cat's Harbour: ISBN13 \"Contributor\" is not an ISBN; not stored",
                  "line 3: Hymns of the Long Shore: Author l-f \"Ovidia, Ovidia\" is not the "
                  "author's name turned round; the name is taken from Author",
              }));
}

TEST(CalibreCatalogue, ReadsColumnsByNameWithItsForms) {
    const std::string csv = sample("calibre_catalog.csv");
    EXPECT_EQ(detectExchangeFormat(csv), ExchangeFormat::kCalibre);
    const ExchangeImport imported = readSample("calibre_catalog.csv");
    ASSERT_EQ(imported.records.size(), 2u);
    const QuilleryRecord& tides = imported.records[0];
    EXPECT_EQ(tides.LASTNAME.str(), "Varga");
    EXPECT_EQ(tides.FIRSTNAME.str(), "Ilona");
    EXPECT_EQ(tides.ISBN.str(), "9780306406157");  // from the identifiers
    EXPECT_EQ(tides.RATING.str(), "4");
    EXPECT_EQ(tides.PUBDATE.str(), "2011-03-01");
    EXPECT_EQ(tides.CATEGORY.str(), "Fiction");
    EXPECT_EQ(tides.CREATEDDATE, dayNumberOf(2021, 7, 30));
    EXPECT_EQ(note(tides),
              "Additional authors: Oskar Pell\r\nTags: Sea, Hungary\r\nSeries: Shore Novels "
              "#2\r\nLanguages: eng\r\nComments: A tide-table of a novel.\r\nCalm & exact — "
              "“quiet”.");
    // Calibre's year 101 is no publication date.
    EXPECT_TRUE(imported.records[1].PUBDATE.isBlank());
    EXPECT_TRUE(imported.records[1].RATING.isBlank());
}

// Generated books whose notes carry the labelled parts imports write, and publishers with
// parentheses.
std::vector<QuilleryRecord> booksWithLabelledNotes() {
    std::vector<QuilleryRecord> entries;
    int n = 0;
    for (QuilleryRecord& record : generateCatalogue(200, 21)) {
        if (record.DELETED != 0) continue;
        record.RATING = std::string();
        std::string text = cp1252ToUtf8(record.CONTENTS.clipped()).substr(0, 300);
        const auto part = [&](std::string_view label, std::string_view value) {
            if (!text.empty()) text += "\r\n";
            text += std::string(label) + ": " + std::string(value);
        };
        if (n % 2 == 0) part("Additional authors", "Oskar Pell (Translator); Rue Danner");
        if (n % 3 == 0) part("Tags", "sea, calm");
        if (n % 4 == 0) part("Collections", "Favorites");
        if (n % 5 == 0) part("Publication", "Penguin Group (USA) (2005), Paperback");
        if (n % 2 == 1) part("First published", "1921");
        part("Date read", n % 2 == 0 ? "2020/03/04" : "Summer 1999");
        if (n % 3 == 1) part("Read count", "3");
        if (n % 4 == 1) part("Comments", "Lent to Jo");
        if (n % 3 == 2) part("Review", "Worth it.\r\nTwice.");
        record.CONTENTS = utf8ToCp1252(text);
        if (n % 5 == 0) record.OTHER = "Penguin Group (USA)";
        BUILDKEYS(record);
        entries.push_back(record);
        ++n;
    }
    return entries;
}

TEST(ExchangeRoundTrip, LabelledNotesComeBackThroughEitherService) {
    const std::vector<QuilleryRecord> entries = booksWithLabelledNotes();
    for (const ExchangeFormat format :
         {ExchangeFormat::kGoodreads, ExchangeFormat::kLibraryThing}) {
        const ExchangeImport back = readExchange(format, writeExchange(format, entries), kNow);
        ASSERT_TRUE(back.ok()) << back.problem->text();
        EXPECT_TRUE(back.report.lines().empty());
        ASSERT_EQ(back.records.size(), entries.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            for (std::string_view field : {"CONTENTS", "OTHER", "TITLE", "LASTNAME", "ISBN"}) {
                EXPECT_EQ(ExportedBook(entries[i]).field(field),
                          ExportedBook(back.records[i]).field(field))
                    << field << " of " << i << " through " << exchangeFormatTitle(format);
            }
        }
    }
}

TEST(ExchangeExports, WriteEachServicesOwnLayout) {
    const std::vector<QuilleryRecord> entries = booksWithLabelledNotes();
    const std::string tsv = writeExchange(ExchangeFormat::kLibraryThing, entries);
    EXPECT_TRUE(tsv.starts_with(
        "Book Id\tTitle\tSort Character\tPrimary Author\tPrimary Author Role\tSecondary "
        "Author\tSecondary Author Roles\tPublication\tDate\tReview\tRating\tComment\tPrivate "
        "Comment\tSummary\tMedia\tPhysical Description\tWeight\tHeight\tThickness\tLength\t"
        "Dimensions\tPage Count\tLCCN\tAcquired\tDate Started\tDate Read\tBarcode\tBCID\tTags\t"
        "Collections\tLanguages\tOriginal Languages\tLC Classification\tISBN\tISBNs\tSubjects\t"
        "Dewey Decimal\tDewey Wording\tOther Call Number\tCopies\tSource\tEntry Date\tFrom "
        "Where\tOCLC\tWork id\tLending Patron\tLending Status\tLending Start\tLending End\r\n"));
    EXPECT_NE(tsv.find("\tPell, Oskar|Danner, Rue\tTranslator|\t"), std::string::npos);
    EXPECT_NE(tsv.find("\t[" + std::string(entries[0].ISBN.clipped()) + "]\t" +
                       std::string(entries[0].ISBN.clipped()) + "\t"),
              std::string::npos);

    const std::string csv = writeExchange(ExchangeFormat::kGoodreads, entries);
    EXPECT_EQ(csv.find('\r'), std::string::npos);  // Goodreads ends its lines with LF alone
    EXPECT_NE(csv.find(",\"Oskar Pell (Translator), Rue Danner\","), std::string::npos);
    EXPECT_NE(csv.find(",2020/03/04,"), std::string::npos);
}

}  // namespace
}  // namespace quillery::exchange
