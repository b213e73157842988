// Catalogue CSV import: every kind of bad row with its exact report and line number, and what
// a good row becomes (fields, derived keys, stamps, character set).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/catalogue_csv.h"
#include "runtime/dates.h"

namespace quillery {
namespace {

const QuilleryStamp kNow{dayNumberOf(2026, 12, 8), 14 * 360000 + 30 * 6000 + 1};

std::string reportOf(std::string_view csv) {
    const CatalogueCsvImport result = readCatalogueCsv(csv, kNow);
    EXPECT_TRUE(result.records.empty()) << "records are kept despite a bad row";
    return result.ok() ? "(no problem)" : result.problem->text();
}

QuilleryRecord onlyRecord(std::string_view csv) {
    const CatalogueCsvImport result = readCatalogueCsv(csv, kNow);
    EXPECT_TRUE(result.ok()) << result.problem->text();
    EXPECT_EQ(result.records.size(), 1u);
    return result.records.empty() ? QuilleryRecord{} : result.records[0];
}

struct BadCase {
    const char* what;
    std::string csv;
    std::string report;
};

TEST(CsvCatalogueRows, ReportsEachBadRowWithItsLine) {
    const std::string title46(46, 't');
    const std::vector<BadCase> cases = {
        {"empty file", "", "line 1: no header row; the first row must name the columns"},
        {"unknown column", "LASTNAME,AUTHOR\n", "line 1: unknown column \"AUTHOR\""},
        {"duplicate column", "LastName,TITLE, lastname\n", "line 1: column LASTNAME appears twice"},
        {"nameless column", "LASTNAME,,TITLE\n", "line 1: column 2 of the header row has no name"},
        {"too few values", "LASTNAME,TITLE\nLee,A\nLee\n",
         "line 3: 1 value where the header row names 2 columns"},
        {"too many values", "LASTNAME\nLee,Harper,x\n",
         "line 2: 3 values where the header row names 1 column"},
        {"line after a multi-line value", "LASTNAME,CONTENTS\nLee,\"a\r\nb\r\nc\"\nX\n",
         "line 5: 1 value where the header row names 2 columns"},
        {"inner blank line", "LASTNAME,TITLE\nLee,A\n\nLee,B\n",
         "line 3: 1 value where the header row names 2 columns"},
        {"malformed quote", "LASTNAME,TITLE\nLee,A\nLee,\"B\"x\n",
         "line 3: text after the closing quote of a value"},
        {"quote in unquoted value", "LASTNAME,TITLE\nLee,B\"x\n",
         "line 2: quote inside an unquoted value"},
        {"unclosed quote", "LASTNAME,TITLE\nLee,\"B\n",
         "line 2: quoted value not closed before the end of the file"},
        {"value too long", "LASTNAME,TITLE\nLee," + title46 + "\n",
         "line 2: TITLE is 46 characters long; it holds at most 45"},
        {"one-character rating", "LASTNAME,RATING\nLee,AB\n",
         "line 2: RATING is 2 characters long; it holds at most 1"},
        {"length counted in Windows-1252",
         "LASTNAME\n\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3"
         "\xA9"
         "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"
         "\n",
         "line 2: LASTNAME is 21 characters long; it holds at most 20"},
        {"character outside Windows-1252", "LASTNAME,FIRSTNAME\nLee,\xE4\xB8\xAD\n",
         "line 2: FIRSTNAME holds \"\xE4\xB8\xAD\" (U+4E2D), which Windows-1252 cannot hold"},
        {"Polish L",
         "LASTNAME\n\xC5\x81"
         "adowska\n",
         "line 2: LASTNAME holds \"\xC5\x81\" (U+0141), which Windows-1252 cannot hold"},
        {"emoji", "LASTNAME,CONTENTS\nLee,nice \xF0\x9F\x98\x80\n",
         "line 2: CONTENTS holds \"\xF0\x9F\x98\x80\" (U+1F600), which Windows-1252 cannot hold"},
        {"broken UTF-8", "LASTNAME\nL\xC3(e\n", "line 2: LASTNAME is not valid UTF-8"},
        {"Latin-1 byte", "LASTNAME\nBront\xEB\n", "line 2: LASTNAME is not valid UTF-8"},
        {"overlong UTF-8", "LASTNAME\n\xC0\xAF\n", "line 2: LASTNAME is not valid UTF-8"},
        {"surrogate in UTF-8", "LASTNAME\n\xED\xA0\x80\n", "line 2: LASTNAME is not valid UTF-8"},
        {"UTF-8 cut at the end", "LASTNAME\nLee\xE2\x82", "line 2: LASTNAME is not valid UTF-8"},
        {"byte not a number", "LASTNAME,DELETED\nLee,yes\n",
         "line 2: DELETED \"yes\" is not a whole number from 0 to 255"},
        {"byte too large", "LASTNAME,LISTBYTITLE\nLee,256\n",
         "line 2: LISTBYTITLE \"256\" is not a whole number from 0 to 255"},
        {"negative byte", "LASTNAME,DELETED\nLee,-1\n",
         "line 2: DELETED \"-1\" is not a whole number from 0 to 255"},
        {"no such date", "LASTNAME,CREATEDDATE\nLee,2001-02-29\n",
         "line 2: CREATEDDATE \"2001-02-29\" is neither a date YYYY-MM-DD from 1801 to 2099 nor "
         "a day number"},
        {"date before 1801", "LASTNAME,CHANGEDDATE\nLee,1800-12-31\n",
         "line 2: CHANGEDDATE \"1800-12-31\" is neither a date YYYY-MM-DD from 1801 to 2099 nor "
         "a day number"},
        {"date in another form", "LASTNAME,CREATEDDATE\nLee,12/08/2026\n",
         "line 2: CREATEDDATE \"12/08/2026\" is neither a date YYYY-MM-DD from 1801 to 2099 nor "
         "a day number"},
        {"hour 24", "LASTNAME,CREATEDTIME\nLee,24:00\n",
         "line 2: CREATEDTIME \"24:00\" is neither a time HH:MM:SS.hh nor a number"},
        {"number beyond 32 bits", "LASTNAME,CHANGEDTIME\nLee,2147483648\n",
         "line 2: CHANGEDTIME \"2147483648\" is neither a time HH:MM:SS.hh nor a number"},
        {"no names", "LASTNAME,FIRSTNAME,TITLE\nLee,,A\n  ,,Anonymous\n",
         "line 3: LASTNAME and FIRSTNAME are both blank; the catalogue drops such entries when it "
         "is opened"},
        {"stale name key", "LASTNAME,TITLE,NAMEKEY\nLee,Go Set a Watchman,Lee (Mockingbird)\n",
         "line 2: NAMEKEY differs from the key the names and title give: \"Lee (Go Set a "
         "Watchman)\""},
        {"key shown in UTF-8", "LASTNAME,TITLE,NAMEKEY\nBront\xC3\xAB,Villette,x\n",
         "line 2: NAMEKEY differs from the key the names and title give: \"Bront\xC3\xAB "
         "(Villette)\""},
        {"title key in other case", "LASTNAME,TITLE,TITLEKEY\nLee,Watchman,WATCHMAN (LEE)\n",
         "line 2: TITLEKEY differs from the key the names and title give: \"Watchman (Lee)\""},
        {"first bad row wins", "LASTNAME,TITLE\nLee,A\nLee,B,C\nLee\n",
         "line 3: 3 values where the header row names 2 columns"},
    };
    for (const BadCase& c : cases)
        EXPECT_EQ(reportOf(c.csv), c.report) << c.what;
}

TEST(CsvCatalogueRows, TakesHeaderNamesInAnyCaseWithOrWithoutPrefix) {
    const QuilleryRecord record = onlyRecord(
        "\xEF\xBB\xBF lastname ,QLY:FirstName,Title\r\nLee,Harper,To Kill a Mockingbird\r\n");
    EXPECT_EQ(record.LASTNAME.view(), std::string("Lee") + std::string(17, ' '));
    EXPECT_EQ(record.FIRSTNAME.str(), "Harper");
    EXPECT_EQ(record.TITLE.str(), "To Kill a Mockingbird");
}

TEST(CsvCatalogueRows, NewEntryGetsDerivedKeysAndStampsOfNow) {
    const QuilleryRecord record =
        onlyRecord("LASTNAME,FIRSTNAME,TITLE,CATEGORY\nLee,Harper,To Kill a Mockingbird,Fiction\n");
    EXPECT_EQ(record.NAMEKEY.str(), "Lee, Harper (To Kill a Mockingbird)");
    EXPECT_EQ(record.TITLEKEY.str(), "To Kill a Mockingbird (Harper Lee)");
    EXPECT_EQ(record.CREATED(), kNow);
    EXPECT_EQ(record.CHANGED(), kNow);
    EXPECT_EQ(record.DELETED, 0);
    EXPECT_EQ(record.LISTBYTITLE, 0);
    // Columns left out are blank.
    EXPECT_TRUE(record.CONTENTS.isBlank());
    EXPECT_TRUE(record.PHONES.isBlank());
    EXPECT_EQ(record.ISBN.view(), std::string(13, ' '));
}

TEST(CsvCatalogueRows, StampsGivenInTheRowAreKept) {
    const std::string header = "LASTNAME,CREATEDDATE,CREATEDTIME,CHANGEDDATE,CHANGEDTIME\n";
    const QuilleryStamp created{dayNumberOf(1999, 3, 1), 8 * 360000 + 15 * 6000 + 2 * 100 + 50 + 1};
    {
        const QuilleryRecord r = onlyRecord(header + "Lee,1999-03-01,08:15:02.50,,\n");
        EXPECT_EQ(r.CREATED(), created);
        EXPECT_EQ(r.CHANGED(), kNow) << "an edit-less import still stamps the change";
    }
    {
        const QuilleryRecord r = onlyRecord(header + "Lee,1999-03-01,,36000,8640000\n");
        EXPECT_EQ(r.CREATED(), (QuilleryStamp{created.date, 0})) << "a given group keeps its 0";
        EXPECT_EQ(r.CHANGED(), (QuilleryStamp{36000, 8640000}));
    }
    {
        const QuilleryRecord r = onlyRecord(header + "Lee,0,0,2099-12-31,00:00\n");
        EXPECT_EQ(r.CREATED(), (QuilleryStamp{0, 0}));
        EXPECT_EQ(r.CHANGED(), (QuilleryStamp{kLastDayNumber, 1})) << "midnight is time 1";
    }
    {
        const QuilleryRecord r = onlyRecord(header + "Lee,,,,23:59\n");
        EXPECT_EQ(r.CREATED(), kNow);
        EXPECT_EQ(r.CHANGED(), (QuilleryStamp{0, 23 * 360000 + 59 * 6000 + 1}));
    }
}

TEST(CsvCatalogueRows, DerivedKeysGivenAndAgreeingAreAccepted) {
    const QuilleryRecord record = onlyRecord(
        "LASTNAME,TITLE,NAMEKEY,TITLEKEY\nLee,Watchman,Lee (Watchman),\"Watchman (Lee)   \"\n");
    EXPECT_EQ(record.NAMEKEY.str(), "Lee (Watchman)");
    EXPECT_EQ(record.TITLEKEY.str(), "Watchman (Lee)");
}

TEST(CsvCatalogueRows, ConvertsUtf8ToWindows1252) {
    struct Case {
        std::string utf8;
        std::string cp1252;
    };
    const std::vector<Case> cases = {
        {"Bront\xC3\xAB", "Bront\xEB"},
        {"Garc\xC3\xAD"
         "a M\xC3\xA1rquez",
         "Garc\xED"
         "a M\xE1rquez"},
        {"S\xC3\xB8ren", "S\xF8ren"},
        {"\xC5\xA0imek", "\x8Aimek"},                          // S caron lives in 0x80-0x9F
        {"\xC5\x92uvre \xE2\x82\xAC 12", "\x8Cuvre \x80 12"},  // OE ligature, euro sign
        {"\xE2\x80\x98q\xE2\x80\x99 \xE2\x80\x94", "\x91q\x92 \x97"},
        {"\xC2\x81", "\x81"},  // an undefined byte travels as its C1 control
        {"what?", "what?"},
    };
    for (const Case& c : cases) {
        const QuilleryRecord record = onlyRecord("LASTNAME\n" + c.utf8 + "\n");
        EXPECT_EQ(record.LASTNAME.str(), c.cp1252) << c.utf8;
    }
}

TEST(CsvCatalogueRows, TrailingBlanksAreThePaddingAndDoNotCount) {
    const std::string title45(45, 'x');
    const QuilleryRecord record =
        onlyRecord("LASTNAME,TITLE\n\"  Lee  \",\"" + title45 + "   \"\n");
    EXPECT_EQ(record.LASTNAME.view(), "  Lee" + std::string(15, ' '));
    EXPECT_EQ(record.TITLE.view(), title45);
}

TEST(CsvCatalogueRows, ReadsEveryRowOrNone) {
    const CatalogueCsvImport ok =
        readCatalogueCsv("LASTNAME,TITLE\nLee,A\nSmith,\"B, C\"\n\n\n", kNow);
    ASSERT_TRUE(ok.ok()) << ok.problem->text();
    ASSERT_EQ(ok.records.size(), 2u);
    EXPECT_EQ(ok.records[1].TITLE.str(), "B, C");

    const CatalogueCsvImport headerOnly = readCatalogueCsv("LASTNAME,TITLE\r\n", kNow);
    EXPECT_TRUE(headerOnly.ok());
    EXPECT_TRUE(headerOnly.records.empty());
}

}  // namespace
}  // namespace quillery
