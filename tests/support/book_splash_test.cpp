// The splash window driven through scripts: it goes at its first timer event or at a click,
// clears a right-button key code at entry, answers "cancelled", and shows its texts in their
// fonts and colours.
#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QPalette>
#include <QWidget>
#include <string>

#include "runtime/window/testing/test_driver.h"
#include "runtime/window/window.h"
#include "support/book_splash.h"
#include "support/request_globals.h"

namespace quillery {
namespace {

using namespace script;
using namespace booksplash;

constexpr char kSplash[] = "BOOKSPLASH$WINDOW";

QString outputDirectory() {
    QString dir = qEnvironmentVariable("QUILLERY_TEST_OUTPUT");
    if (dir.isEmpty()) dir = QDir::tempPath() + "/quillery-test-output";
    QDir().mkpath(dir);
    return dir;
}

TEST(BookSplash, ClosesAtItsFirstTimerEvent) {
    GLOBALREQUEST = 7;
    GLOBALRESPONSE = 0;
    ScriptedSession s;
    long period = 0;
    s.then(inspect("timer period", [&](Window&) {
         period = PROP(0, Prop::Timer);
     })).then(timer(1).in(kSplash));
    BOOKSPLASH();
    EXPECT_TRUE(s.done()) << s.report();
    EXPECT_EQ(period, 500);
    EXPECT_EQ(GLOBALREQUEST, 0);
    EXPECT_EQ(GLOBALRESPONSE, RequestCancelled);
    EXPECT_EQ(currentWindow(), nullptr);
}

TEST(BookSplash, StaysUntilItsTimerWhenNothingHappens) {
    // Events that are not clicks or timer ticks leave the splash up: the script's last
    // action must be the one that closes it.
    ScriptedSession s;
    s.then(inspect("focus comes and goes",
                   [](Window& w) {
                       POST(w, EVENT::GainFocus);
                       POST(w, EVENT::LoseFocus);
                   }))
        .then(inspect("still open", [](Window& w) { EXPECT_TRUE(w.isOpen()); }))
        .then(timer(1));
    BOOKSPLASH();
    EXPECT_TRUE(s.done()) << s.report();
}

TEST(BookSplash, AnyClickClosesIt) {
    struct Click {
        int field;
        int button;
    };
    const Click clicks[] = {
        {0, KEY::MouseLeft},       {0, KEY::MouseLeft2},      {0, KEY::MouseRight},
        {STRING2, KEY::MouseLeft}, {IMAGE1, KEY::MouseLeft2}, {STRING4, KEY::MouseRight},
    };
    for (const Click& c : clicks) {
        ScriptedSession s;
        s.then(mouse(c.field, c.button).in(kSplash));
        BOOKSPLASH();
        EXPECT_TRUE(s.done()) << "button " << c.button << " on " << c.field << "\n" << s.report();
        EXPECT_EQ(s.windowsSeen().size(), 1u);
    }
}

TEST(BookSplash, RightButtonKeyCodeIsClearedAtEntry) {
    struct Case {
        int before;
        int seen;
    };
    const Case cases[] = {
        {KEY::MouseRight, KEY::None}, {KEY::MouseLeft, KEY::MouseLeft}, {KEY::Enter, KEY::Enter}};
    for (const Case& c : cases) {
        SETKEYCODE(c.before);
        int seen = -1;
        ScriptedSession s;
        s.then(inspect("key code", [&](Window&) { seen = KEYCODE(); })).then(timer(1));
        BOOKSPLASH();
        EXPECT_TRUE(s.done()) << s.report();
        EXPECT_EQ(seen, c.seen) << "key code " << c.before;
    }
    SETKEYCODE(KEY::None);
}

TEST(BookSplash, TextsFontsAndColours) {
    ScriptedSession s;
    s.then(inspect("texts", [](Window& w) {
         EXPECT_EQ(PROP(0, Prop::Text).text(), "");
         EXPECT_EQ(PROP(STRING2, Prop::Text).text(), "Quillery");
         EXPECT_EQ(PROP(STRING4, Prop::Text).text(), kSplashEditionLine);
         EXPECT_EQ(PROP(IMAGE1, Prop::Text).text(), "BOOK3.BMP");
         EXPECT_GT(static_cast<long>(PROP(IMAGE1, Prop::ImageWidth)), 0);

         const QFont name = w.controlWidget(STRING2)->font();
         EXPECT_EQ(name.pointSize(), 20);
         EXPECT_TRUE(name.bold());
         EXPECT_TRUE(name.italic());
         EXPECT_EQ(w.controlWidget(STRING2)->palette().color(QPalette::WindowText),
                   QColor(0, 0, 128));

         const QFont edition = w.controlWidget(STRING4)->font();
         EXPECT_EQ(edition.pointSize(), 14);
         EXPECT_FALSE(edition.bold());
         EXPECT_TRUE(edition.italic());
         EXPECT_EQ(w.controlWidget(STRING4)->palette().color(QPalette::WindowText),
                   QColor(128, 0, 128));

         EXPECT_EQ(static_cast<long>(PROP(0, Prop::Width)), 204);
         EXPECT_EQ(static_cast<long>(PROP(0, Prop::Height)), 94);
         EXPECT_TRUE(w.widget()->grab().save(outputDirectory() + "/splash.png"));
     })).then(timer(1));
    BOOKSPLASH();
    EXPECT_TRUE(s.done()) << s.report();
}

}  // namespace
}  // namespace quillery
