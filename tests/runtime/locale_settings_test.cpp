// The locale defaults and the system's date and time values read from the user's intl.ini.
#include <gtest/gtest.h>

#include "runtime/errors.h"
#include "runtime/locale_settings.h"
#include "tests/runtime/settings_test_support.h"

namespace quillery {
namespace {

using testing::ScopedEnvironment;
using testing::TempDirectory;

class LocaleSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override { testing::resetRuntimeState(); }
    void TearDown() override { testing::resetRuntimeState(); }
    TempDirectory dir;
};

TEST_F(LocaleSettingsTest, Defaults) {
    const LocaleSettings s = LocaleSettings::defaults();
    const char* months[] = {"January", "February", "March",     "April",   "May",      "June",
                            "July",    "August",   "September", "October", "November", "December"};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(s.monthNames[i], months[i]);
        EXPECT_EQ(s.monthAbbrevs[i], std::string(months[i]).substr(0, 3));
    }
    EXPECT_EQ(s.am, "AM");
    EXPECT_EQ(s.pm, "PM");
    EXPECT_EQ(s.timeFormat24, 0);
    EXPECT_EQ(s.timeLeadingZero, 1);
    EXPECT_EQ(s.timeSeparator, ":");
    EXPECT_EQ(s.systemAm, "AM");
    EXPECT_EQ(s.systemPm, "PM");
    EXPECT_EQ(s.shortDatePattern, "MM/dd/yy");
    EXPECT_EQ(s.longDatePattern, "ddd', 'MMMM' 'dd', 'yyyy");
    EXPECT_EQ(localeSettings().monthNames[8], "September");
}

TEST_F(LocaleSettingsTest, SettingAndResettingTheValuesInForce) {
    LocaleSettings s = LocaleSettings::defaults();
    s.am = "vm";
    s.monthNames[0] = "Januar";
    setLocaleSettings(s);
    EXPECT_EQ(localeSettings().am, "vm");
    EXPECT_EQ(localeSettings().monthNames[0], "Januar");
    resetLocaleSettings();
    EXPECT_EQ(localeSettings().am, "AM");
    EXPECT_EQ(localeSettings().monthNames[0], "January");
}

TEST_F(LocaleSettingsTest, AllSevenValuesFromTheIntlSection) {
    const LocaleSettings s = withIntlValues(LocaleSettings::defaults(),
                                            "[intl]\n"
                                            "iTime=1\n"
                                            "iTLzero=0\n"
                                            "sTime=.\n"
                                            "s1159=vm\n"
                                            "s2359=nm\n"
                                            "sShortDate=dd-MM-yyyy\n"
                                            "sLongDate=dddd d MMMM yyyy\n");
    EXPECT_EQ(s.timeFormat24, 1);
    EXPECT_EQ(s.timeLeadingZero, 0);
    EXPECT_EQ(s.timeSeparator, ".");
    EXPECT_EQ(s.systemAm, "vm");
    EXPECT_EQ(s.systemPm, "nm");
    EXPECT_EQ(s.shortDatePattern, "dd-MM-yyyy");
    EXPECT_EQ(s.longDatePattern, "dddd d MMMM yyyy");
    // The runtime's own AM/PM texts and month names are not system values.
    EXPECT_EQ(s.am, "AM");
    EXPECT_EQ(s.monthNames[0], "January");
}

TEST_F(LocaleSettingsTest, HowLinesOfTheIniFileAreRead) {
    struct Case {
        const char* name;
        const char* ini;
        std::string separator;  // sTime
        std::string am;         // s1159
        std::string shortDate;  // sShortDate
        int time24;             // iTime
    };
    const Case cases[] = {
        {"keys outside the section", "sTime=.\n[intl]\n", ":", "AM", "MM/dd/yy", 0},
        {"another section ends it", "[intl]\nsTime=.\n[other]\ns1159=x\n", ".", "AM", "MM/dd/yy",
         0},
        {"section and keys ignore case", "[ INTL ]\nSTIME=-\nITIME=1\n", "-", "AM", "MM/dd/yy", 1},
        {"comments and blank lines", "; note\n[intl]\n\n# sTime=.\n  s1159 = am  \n", ":", "am",
         "MM/dd/yy", 0},
        {"quotes keep blanks", "[intl]\nsTime=\" \"\ns1159=\" a \"\n", " ", " a ", "MM/dd/yy", 0},
        {"CR LF line ends", "[intl]\r\nsTime=.\r\niTime=1\r\n", ".", "AM", "MM/dd/yy", 1},
        {"switches take only 0 or 1", "[intl]\niTime=2\n", ":", "AM", "MM/dd/yy", 0},
        {"switch with junk", "[intl]\niTime=1x\n", ":", "AM", "MM/dd/yy", 0},
        {"empty patterns and separator keep defaults", "[intl]\nsShortDate=\nsTime=\n", ":", "AM",
         "MM/dd/yy", 0},
        {"empty AM text is a value", "[intl]\ns1159=\n", ":", "", "MM/dd/yy", 0},
        {"later line wins", "[intl]\nsTime=.\nsTime=-\n", "-", "AM", "MM/dd/yy", 0},
        {"value keeps its equals signs", "[intl]\nsShortDate=a=b\n", ":", "AM", "a=b", 0},
        {"UTF-8 becomes Windows-1252", "[intl]\ns1159=v\xC3\xB6rm\n", ":", "v\xF6rm", "MM/dd/yy",
         0},
        {"unclosed section header", "[intl\nsTime=.\n", ":", "AM", "MM/dd/yy", 0},
        {"line without equals", "[intl]\nsTime\n", ":", "AM", "MM/dd/yy", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LocaleSettings s = withIntlValues(LocaleSettings::defaults(), c.ini);
        EXPECT_EQ(s.timeSeparator, c.separator);
        EXPECT_EQ(s.systemAm, c.am);
        EXPECT_EQ(s.shortDatePattern, c.shortDate);
        EXPECT_EQ(s.timeFormat24, c.time24);
    }
}

TEST_F(LocaleSettingsTest, WhereTheIntlFileIsLookedFor) {
    {
        ScopedEnvironment xdg("XDG_CONFIG_HOME", "/cfg");
        ScopedEnvironment home("HOME", "/home/reader");
        EXPECT_EQ(systemIntlFilePath(), "/cfg/quillery/intl.ini");
    }
    {
        ScopedEnvironment xdg("XDG_CONFIG_HOME", "relative/cfg");  // not usable: fall back
        ScopedEnvironment home("HOME", "/home/reader");
        EXPECT_EQ(systemIntlFilePath(), "/home/reader/.config/quillery/intl.ini");
    }
    {
        ScopedEnvironment xdg("XDG_CONFIG_HOME", "");
        ScopedEnvironment home("HOME", "/home/reader");
        EXPECT_EQ(systemIntlFilePath(), "/home/reader/.config/quillery/intl.ini");
    }
    {
        ScopedEnvironment xdg("XDG_CONFIG_HOME", std::nullopt);
        ScopedEnvironment home("HOME", std::nullopt);
        EXPECT_EQ(systemIntlFilePath(), "");
    }
}

TEST_F(LocaleSettingsTest, LoadingFromTheUsersConfiguration) {
    dir.write("quillery/intl.ini", "[intl]\niTime=1\ns2359=nm\n");
    ScopedEnvironment xdg("XDG_CONFIG_HOME", dir.path());
    loadSystemLocale();
    EXPECT_EQ(localeSettings().timeFormat24, 1);
    EXPECT_EQ(localeSettings().systemPm, "nm");
    EXPECT_EQ(localeSettings().systemAm, "AM");
    EXPECT_EQ(errorCode(), 0);
}

TEST_F(LocaleSettingsTest, MissingFileGivesDefaultsWithoutAnError) {
    LocaleSettings changed = LocaleSettings::defaults();
    changed.timeSeparator = ".";
    setLocaleSettings(changed);
    loadSystemLocale(dir.file("nowhere/intl.ini"));
    EXPECT_EQ(localeSettings().timeSeparator, ":");
    EXPECT_EQ(errorCode(), 0);
    loadSystemLocale(dir.path());  // a directory reads as no file
    EXPECT_EQ(localeSettings().timeSeparator, ":");
    EXPECT_EQ(errorCode(), 0);
}

TEST_F(LocaleSettingsTest, ArbitraryBytesNeverBreakTheReader) {
    std::string junk = "[intl]\n";
    for (int i = 0; i < 4096; ++i)
        junk += static_cast<char>((i * 7919 + 13) % 256);
    const LocaleSettings s = withIntlValues(LocaleSettings::defaults(), junk);
    EXPECT_FALSE(s.timeSeparator.empty());
    EXPECT_TRUE(s.timeFormat24 == 0 || s.timeFormat24 == 1);
}

}  // namespace
}  // namespace quillery
