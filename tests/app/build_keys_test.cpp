// BUILDKEYS: the name and title sort keys formed from the names and the title.
#include "app/build_keys.h"
#include <ostream>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/catalogue_globals.h"

namespace quillery {
namespace {

struct BuildKeysCase {
    const char* lastName;
    const char* firstName;
    const char* title;
    std::string nameKey;
    std::string titleKey;
};

void PrintTo(const BuildKeysCase& c, std::ostream* os) {
    *os << '"' << c.lastName << ", " << c.firstName << ", " << c.title << '"';
}

class BuildKeysCases : public ::testing::TestWithParam<BuildKeysCase> {};

TEST_P(BuildKeysCases, FormsBothKeys) {
    const BuildKeysCase& c = GetParam();
    QuilleryRecord record;
    record.LASTNAME = c.lastName;
    record.FIRSTNAME = c.firstName;
    record.TITLE = c.title;
    record.NAMEKEY = "stale name key";
    record.TITLEKEY = "stale title key";
    BUILDKEYS(record);
    EXPECT_EQ(record.NAMEKEY.str(), c.nameKey);
    EXPECT_EQ(record.TITLEKEY.str(), c.titleKey);
    // The rest of the key fields is blank padding.
    EXPECT_EQ(record.NAMEKEY.view().substr(c.nameKey.size()),
              std::string(50 - c.nameKey.size(), ' '));
}

INSTANTIATE_TEST_SUITE_P(
    Names, BuildKeysCases,
    ::testing::Values(
        BuildKeysCase{"Smith", "John", "Tales", "Smith, John (Tales)", "Tales (John Smith)"},
        BuildKeysCase{"Smith", "", "Tales", "Smith (Tales)", "Tales (Smith)"},
        BuildKeysCase{"", "John", "Tales", ", John (Tales)", "Tales (John)"},
        BuildKeysCase{"", "", "Tales", "", "Tales"}, BuildKeysCase{"", "", "", "", ""},
        BuildKeysCase{"Smith", "John", "", "Smith, John ()", " (John Smith)"},
        // Inner blanks stay; left justification only takes the leading blanks of the names.
        BuildKeysCase{"van Dyke", "Mary Ann", "A  Tale", "van Dyke, Mary Ann (A  Tale)",
                      "A  Tale (Mary Ann van Dyke)"},
        BuildKeysCase{"Smith", "  John", "Tales", "Smith,   John (Tales)", "Tales (John Smith)"},
        // Cut at 50 characters.
        BuildKeysCase{"LLLLLLLLLLLLLLLLLLLL", "FFFFFFFFFFFFFFFFFFFF",
                      "TTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTT",
                      "LLLLLLLLLLLLLLLLLLLL, FFFFFFFFFFFFFFFFFFFF (TTTTTT",
                      "TTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTTT (FFF"}));

// Long names leave room for only the start of the title in the name key.
TEST(BuildKeys, EntriesAlikeInTheirFirstFiftyCharactersGetEqualNameKeys) {
    QuilleryRecord a, b;
    a.LASTNAME = b.LASTNAME = "Longname-Longname-Lo";
    a.FIRSTNAME = b.FIRSTNAME = "Firstname-Firstname-";
    a.TITLE = "An exceedingly long title that ends one way...";
    b.TITLE = "An exceedingly long title that ends another way.";
    BUILDKEYS(a);
    BUILDKEYS(b);
    EXPECT_EQ(a.NAMEKEY.str(), "Longname-Longname-Lo, Firstname-Firstname- (An exc");
    EXPECT_EQ(a.NAMEKEY, b.NAMEKEY);
    EXPECT_FALSE(a.TITLEKEY == b.TITLEKEY);
}

TEST(BuildKeys, ChangesOnlyTheTwoKeys) {
    QuilleryRecord record;
    record.LASTNAME = "Smith";
    record.TITLE = "Tales";
    record.CONTENTS = std::string(1000, 'c');
    record.CREATEDDATE = 80000;
    record.DELETED = 1;
    QuilleryRecord expected = record;
    BUILDKEYS(record);
    expected.NAMEKEY = "Smith (Tales)";
    expected.TITLEKEY = "Tales (Smith)";
    EXPECT_EQ(std::memcmp(&record, &expected, sizeof record), 0);
}

TEST(BuildKeys, WithoutArgumentWorksOnTheRecordBuffer) {
    const QuilleryRecord saved = QLY;
    QLY = QuilleryRecord();
    QLY.LASTNAME = "Austen";
    QLY.FIRSTNAME = "Jane";
    QLY.TITLE = "Emma";
    BUILDKEYS();
    EXPECT_EQ(QLY.NAMEKEY.str(), "Austen, Jane (Emma)");
    EXPECT_EQ(QLY.TITLEKEY.str(), "Emma (Jane Austen)");
    QLY = saved;
}

}  // namespace
}  // namespace quillery
