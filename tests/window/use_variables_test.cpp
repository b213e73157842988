// Use variables through pictures: typed text deformatted into the variable before
// EVENT:Accepted, and the variable formatted into its control on display.
#include <gtest/gtest.h>
#include <ostream>

#include <QLineEdit>
#include <cstdint>
#include <string>

#include "runtime/picture.h"
#include "runtime/window/testing/test_driver.h"
#include "runtime/window/window.h"

namespace quillery {
namespace {

using namespace script;

enum Field { TEXT = 1, SMALL = 2, DECIMAL = 3, DAY = 4, BYTE = 5, LONG = 6 };

constexpr ControlLayout kEntries[] = {
    {.kind = ControlKind::Entry, .field = TEXT, .at = {5, 5, 90, 12}, .picture = "s20", .use = 1},
    {.kind = ControlKind::Entry, .field = SMALL, .at = {5, 20, 40, 12}, .picture = "n4", .use = 2},
    {.kind = ControlKind::Entry,
     .field = DECIMAL,
     .at = {5, 35, 60, 12},
     .picture = "n-9.2",
     .use = 3},
    {.kind = ControlKind::Entry, .field = DAY, .at = {5, 50, 60, 12}, .picture = "d1", .use = 4},
    {.kind = ControlKind::Entry, .field = BYTE, .at = {5, 65, 30, 12}, .picture = "n3", .use = 5},
    {.kind = ControlKind::Entry, .field = LONG, .at = {5, 80, 60, 12}, .picture = "n-11", .use = 6},
};
constexpr WindowLayout kEntriesLayout{.module = "USEVARS",
                                      .structure = "WINDOW",
                                      .text = "Use variables",
                                      .at = {0, 0, 100, 100},
                                      .controls = kEntries};

struct Variables {
    FixedString<20> text;
    std::int16_t small = 0;
    double decimal = 0;
    std::int32_t day = 0;
    std::uint8_t byte = 0;
    std::int32_t number = 0;
};

// Types `typed` into `field` and returns what the variable reads as a number (or text) when
// the loop sees EVENT:Accepted for that field.
struct TypedCase {
    const char* name;
    int field;
    const char* typed;
    double expectedNumber;     // for numeric fields
    const char* expectedText;  // for the text field
};

void PrintTo(const TypedCase& c, std::ostream* os) {
    *os << c.name;
}

class TypedIntoVariable : public ::testing::TestWithParam<TypedCase> {};

TEST_P(TypedIntoVariable, ArrivesDeformattedBeforeAccepted) {
    const TypedCase& c = GetParam();
    Variables v;
    ScriptedSession s;
    s.then(type(c.field, c.typed));
    Window window(kEntriesLayout, {use(v.text), use(v.small), use(v.decimal), use(v.day),
                                   use(v.byte), use(v.number)});
    OPEN(window);
    double seen = -999;
    std::string seenText;
    while (ACCEPT(window)) {
        if (ACCEPTED() == c.field) {
            switch (c.field) {
                case TEXT:
                    seenText = std::string(v.text.view());
                    break;
                case SMALL:
                    seen = v.small;
                    break;
                case DECIMAL:
                    seen = v.decimal;
                    break;
                case DAY:
                    seen = v.day;
                    break;
                case BYTE:
                    seen = v.byte;
                    break;
                case LONG:
                    seen = v.number;
                    break;
            }
            break;
        }
    }
    CLOSE(window);
    EXPECT_TRUE(s.done()) << s.report();
    if (c.field == TEXT) {
        EXPECT_EQ(seenText, c.expectedText);
    } else {
        EXPECT_DOUBLE_EQ(seen, c.expectedNumber);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, TypedIntoVariable,
    ::testing::Values(TypedCase{"Text", TEXT, "Tales", 0, "Tales               "},
                      TypedCase{"TextCutAtPictureWidth", TEXT, "A title of more than twenty", 0,
                                "A title of more than"},
                      TypedCase{"TextWin1252", TEXT, "Caf\xE9 \x80", 0,
                                "Caf\xE9 \x80              "},
                      TypedCase{"Short", SMALL, "42", 42, nullptr},
                      TypedCase{"ShortNegative", SMALL, "-7", -7, nullptr},
                      TypedCase{"Decimal", DECIMAL, "-12.5", -12.5, nullptr},
                      TypedCase{"DecimalGrouped", DECIMAL, "1,234.25", 1234.25, nullptr},
                      TypedCase{"Date", DAY, "07/04/99", 72506, nullptr},
                      TypedCase{"ByteInRange", BYTE, "255", 255, nullptr},
                      // A byte cannot hold 300: the variable keeps the nearest value it can hold.
                      TypedCase{"ByteAboveItsRange", BYTE, "300", 255, nullptr},
                      TypedCase{"Long", LONG, "-2000000", -2000000, nullptr}),
    [](const ::testing::TestParamInfo<TypedCase>& info) { return info.param.name; });

TEST(UseVariables, DisplayFormatsEachVariableThroughItsPicture) {
    Variables v;
    Window window(kEntriesLayout, {use(v.text), use(v.small), use(v.decimal), use(v.day),
                                   use(v.byte), use(v.number)});
    OPEN(window);
    v.text = "Smith";
    v.small = 7;
    v.decimal = 1234.5;
    v.day = 72506;
    v.byte = 200;
    v.number = -15;
    DISPLAY();
    auto shown = [&](int field) {
        return qobject_cast<QLineEdit*>(window.controlWidget(field))->text().toStdString();
    };
    EXPECT_EQ(shown(TEXT), "Smith");  // a text shows without its trailing blanks
    EXPECT_EQ(shown(SMALL), FORMAT(7, "n4"));
    EXPECT_EQ(shown(SMALL), "   7");
    EXPECT_EQ(shown(DECIMAL), FORMAT(1234.5, "n-9.2"));
    EXPECT_EQ(shown(DAY), " 7/04/99");
    EXPECT_EQ(shown(BYTE), "200");
    EXPECT_EQ(shown(LONG), FORMAT(-15, "n-11"));
    CLOSE(window);
}

// What is typed, deformatted and shown again reads the same as the variable formatted anew.
TEST(UseVariables, RoundTripKeepsTheValue) {
    Variables v;
    ScriptedSession s;
    s.then(type(DECIMAL, "98.76")).then(type(DAY, "12/31/00")).then(closeWindow());
    Window window(kEntriesLayout, {use(v.text), use(v.small), use(v.decimal), use(v.day),
                                   use(v.byte), use(v.number)});
    OPEN(window);
    while (ACCEPT(window)) {
    }
    EXPECT_DOUBLE_EQ(v.decimal, 98.76);
    EXPECT_EQ(v.day, 73052);  // 31 December 2000
    const double decimal = v.decimal;
    const std::int32_t day = v.day;
    DISPLAY();
    auto shown = [&](int field) {
        return qobject_cast<QLineEdit*>(window.controlWidget(field))->text().toStdString();
    };
    EXPECT_EQ(shown(DAY), "12/31/00");
    EXPECT_EQ(deformatNumber(shown(DECIMAL), "n-9.2"), decimal);
    EXPECT_EQ(deformatNumber(shown(DAY), "d1"), day);
    CLOSE(window);
    EXPECT_TRUE(s.done()) << s.report();
}

TEST(UseVariables, UseVariableConversions) {
    std::int16_t small = 0;
    const UseVariable u = use(small);
    u.setNumber(40000);
    EXPECT_EQ(small, 32767);
    u.setNumber(-40000);
    EXPECT_EQ(small, -32768);
    u.setText("123");
    EXPECT_EQ(small, 123);
    EXPECT_EQ(u.text(), "123");
    FixedString<5> text;
    const UseVariable t = use(text);
    t.setText("abcdefg");
    EXPECT_EQ(std::string(text.view()), "abcde");
    t.setNumber(12);
    EXPECT_EQ(std::string(text.view()), "12   ");
    double d = 0;
    use(d).setText("2.5");
    EXPECT_EQ(d, 2.5);
    bool flag = false;
    use(flag).setNumber(3);
    EXPECT_TRUE(flag);
}

}  // namespace
}  // namespace quillery
