// The about window driven through scripts: its title, name line, credits and logo, its icon,
// and the ways it goes (OK, Return, Escape, Space and the close box).
#include <gtest/gtest.h>

#include <QDir>
#include <QWidget>

#include "runtime/window/testing/test_driver.h"
#include "runtime/window/window.h"
#include "support/about_quillery.h"

namespace quillery {
namespace {

using namespace script;
using namespace aboutquillery;

constexpr char kAbout[] = "ABOUTQUILLERY$ABOUT";

QString outputDirectory() {
    QString dir = qEnvironmentVariable("QUILLERY_TEST_OUTPUT");
    if (dir.isEmpty()) dir = QDir::tempPath() + "/quillery-test-output";
    QDir().mkpath(dir);
    return dir;
}

TEST(AboutQuillery, ShowsTitleNameCreditsAndLogo) {
    ScriptedSession s;
    s.then(inspect("contents", [](Window& w) {
         EXPECT_EQ(PROP(0, Prop::Text).text(), "About Quillery");
         EXPECT_EQ(PROP(STRING12, Prop::Text).text(), "Quillery");
         const QFont name = w.controlWidget(STRING12)->font();
         EXPECT_EQ(name.pointSize(), 12);
         EXPECT_TRUE(name.bold());
         EXPECT_FALSE(PROP(CREDIT1, Prop::Text).text().empty());
         EXPECT_GT(static_cast<long>(PROP(LOGO, Prop::ImageWidth)), 0);
         EXPECT_EQ(PROP(OK, Prop::Text).text(), "OK");
         EXPECT_EQ(static_cast<long>(PROP(OK, Prop::X)), 140);
         EXPECT_EQ(static_cast<long>(PROP(OK, Prop::Y)), 43);
         EXPECT_EQ(static_cast<long>(PROP(0, Prop::Width)), 219);
         EXPECT_EQ(static_cast<long>(PROP(0, Prop::Height)), 150);
         EXPECT_TRUE(w.widget()->grab().save(outputDirectory() + "/about.png"));
     })).then(click(OK).in(kAbout));
    ABOUTQUILLERY();
    EXPECT_TRUE(s.done()) << s.report();
    EXPECT_EQ(currentWindow(), nullptr);
}

TEST(AboutQuillery, SetsItsIconOnEveryPass) {
    ScriptedSession s;
    std::string icon;
    s.then(focus(OK))
        .then(inspect("icon", [&](Window&) { icon = PROP(0, Prop::Icon).text(); }))
        .then(click(OK));
    ABOUTQUILLERY();
    EXPECT_TRUE(s.done()) << s.report();
    EXPECT_EQ(icon, "book.bmp");
}

TEST(AboutQuillery, CloseBoxAlsoEndsIt) {
    ScriptedSession s;
    s.then(closeWindow().in(kAbout));
    ABOUTQUILLERY();
    EXPECT_TRUE(s.done()) << s.report();
    EXPECT_EQ(currentWindow(), nullptr);
}

TEST(AboutQuillery, IsADialogThatReturnEscapeAndSpaceClose) {
    for (int key : {KEY::Enter, KEY::Esc, KEY::Space}) {
        ScriptedSession s;
        s.then(inspect("a dialog", [](Window& w) {
             const Qt::WindowFlags flags = w.widget()->windowFlags();
             EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
             EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
         })).then(press(key).in(kAbout));
        ABOUTQUILLERY();
        EXPECT_TRUE(s.done()) << "key " << key << ": " << s.report();
        EXPECT_EQ(currentWindow(), nullptr) << "key " << key;
    }
}

TEST(AboutQuillery, OtherEventsLeaveItOpen) {
    ScriptedSession s;
    s.then(inspect("focus comes and goes",
                   [](Window& w) {
                       POST(w, EVENT::GainFocus);
                       POST(w, EVENT::LoseFocus);
                   }))
        .then(focus(OK))
        .then(inspect("still open", [](Window& w) { EXPECT_TRUE(w.isOpen()); }))
        .then(click(OK));
    ABOUTQUILLERY();
    EXPECT_TRUE(s.done()) << s.report();
}

}  // namespace
}  // namespace quillery
