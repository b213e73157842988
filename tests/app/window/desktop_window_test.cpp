// The main window as a desktop program: the layout scaled at three sizes with nothing
// overlapping or clipped, the size kept between runs and restored, and the keyboard routes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>
#include <cstdlib>
#include <vector>

#include "app/window/display_quillery.h"
#include "app/window/main_window_layout.h"
#include "app/window/window_placement.h"
#include "app/window/window_state.h"
#include "runtime/window/testing/test_driver.h"
#include "runtime/window/window.h"
#include "runtime/window/window_impl.h"
#include "tests/app/window/main_window_support.h"

namespace quillery {
namespace {

using namespace script;
namespace W = displayquillery;
using testing::dismissSplash;

QString outputFile(const QString& name) {
    return testing::outputDirectory() + "/" + name;
}

QRect geometryOf(Window& w, int field) {
    return w.controlWidget(field)->geometry();
}

long unitsOf(int field, Prop prop) {
    return static_cast<long>(PROP(field, prop));
}
long rightOf(int field) {
    return unitsOf(field, Prop::X) + unitsOf(field, Prop::Width);
}
long bottomOf(int field) {
    return unitsOf(field, Prop::Y) + unitsOf(field, Prop::Height);
}

// The extra room goes to the sheet and the list; the panel keeps its design size with the
// sheet's margin at its right and below the Comments button; the letters spread evenly along
// the list, ending before the Comments button; the search box ends at the tool bar's right.
void expectListTakesTheRoom(Window& w) {
    const long width = unitsOf(0, Prop::Width);
    const long height = unitsOf(0, Prop::Height);
    EXPECT_EQ(rightOf(W::SHEET), width - 3);
    EXPECT_EQ(bottomOf(W::SHEET), height - (W::kDesignHeight - 248));
    EXPECT_EQ(unitsOf(W::PANELUSE, Prop::Width), 213);
    EXPECT_EQ(unitsOf(W::PANELUSE, Prop::Height), 140);
    EXPECT_EQ(rightOf(W::SHEET) - rightOf(W::PANELUSE), 426 - 412);
    EXPECT_EQ(bottomOf(W::SHEET) - bottomOf(W::COMMENT), 248 - 242);
    EXPECT_EQ(unitsOf(W::PANELUSE, Prop::X) - rightOf(W::BOOKLIST), 199 - 194);
    EXPECT_LE(bottomOf(W::BOOKLIST), unitsOf(W::A, Prop::Y));
    EXPECT_LT(rightOf(W::Z), unitsOf(W::COMMENT, Prop::X));
    const long step = (unitsOf(W::Z, Prop::X) - unitsOf(W::A, Prop::X)) / 25;
    for (int letter = W::A; letter < W::Z; ++letter) {
        const long gap = unitsOf(letter + 1, Prop::X) - unitsOf(letter, Prop::X);
        EXPECT_LE(std::abs(gap - step), 1) << "letter " << letter - W::A;
    }
    EXPECT_EQ(rightOf(W::FILTERBOX), width - 6);
    // The cover stands on the panel at its right and takes the height above it, unless it has
    // grown as wide as the panel.
    EXPECT_EQ(unitsOf(W::PANELUSE, Prop::Y) - bottomOf(W::COVERVIEW), 62 - 60);
    EXPECT_EQ(rightOf(W::COVERVIEW), rightOf(W::PANELUSE));
    EXPECT_TRUE(unitsOf(W::COVERVIEW, Prop::Y) == 21 || unitsOf(W::COVERVIEW, Prop::Width) == 213);
    EXPECT_LE(unitsOf(W::COVERVIEW, Prop::Width), 213);
    // Nothing on the sheet covers anything else, and the search box leaves the buttons alone.
    std::vector<int> apart = {W::BOOKLIST, W::PANELUSE, W::COVERVIEW, W::COMMENT, W::LISTBYTITLE};
    for (int letter = W::A; letter <= W::Z; ++letter)
        apart.push_back(letter);
    for (std::size_t i = 0; i < apart.size(); ++i) {
        for (std::size_t j = i + 1; j < apart.size(); ++j) {
            EXPECT_FALSE(geometryOf(w, apart[i]).intersects(geometryOf(w, apart[j])))
                << "fields " << apart[i] << " and " << apart[j] << " overlap";
        }
    }
    for (int button : {W::NEW, W::DUPLICATE, W::DELETE, W::SAVE, W::UNDO, W::FIND, W::LOOKUP})
        EXPECT_FALSE(geometryOf(w, button).intersects(geometryOf(w, W::FILTERBOX)));
}

// The panel's prompts and entries stay inside it and apart; every caption fits its control.
void expectNothingOverlapsOrClips(Window& w) {
    const QRect panel = geometryOf(w, W::PANELUSE);
    for (int a = W::BEGIN; a <= W::QLY_PRINTDATE; ++a) {
        EXPECT_TRUE(panel.contains(geometryOf(w, a))) << "field " << a << " leaves the panel";
        for (int b = a + 1; b <= W::QLY_PRINTDATE; ++b) {
            EXPECT_FALSE(geometryOf(w, a).intersects(geometryOf(w, b)))
                << "fields " << a << " and " << b << " overlap";
        }
    }
    const QRect client = w.impl().client()->rect();
    for (int field : {W::SHEET, W::COMMENT, W::LISTBYTITLE, W::Z})
        EXPECT_TRUE(client.contains(geometryOf(w, field))) << "field " << field << " clipped";
    for (int field = W::BEGIN; field <= W::PRD; field += 2) {
        const auto* label = qobject_cast<QLabel*>(w.controlWidget(field));
        const QString text = label->text().remove('&');
        EXPECT_LE(label->fontMetrics().horizontalAdvance(text), label->width())
            << text.toStdString();
        EXPECT_LE(label->fontMetrics().height(), label->height()) << text.toStdString();
    }
    for (int field : {W::NEW, W::DUPLICATE, W::DELETE, W::SAVE, W::UNDO, W::FIND, W::LISTBYTITLE}) {
        const QWidget* control = w.controlWidget(field);
        EXPECT_LE(control->sizeHint().width(), control->width()) << "field " << field;
        EXPECT_LE(control->sizeHint().height(), control->height()) << "field " << field;
    }
}

TEST(DesktopWindow, TheListTakesTheRoomAtEverySizeWithoutOverlapOrClipping) {
    struct Size {
        int width, height;
        const char* screenshot;
    };
    // The design size, a larger window of the design's proportions, a wide low one, a full
    // 1920 x 1080 screen (in units of the test font), and the design size again.
    const Size sizes[] = {{429, 281, "main_window_design.png"},
                          {667, 437, "main_window_large.png"},
                          {900, 400, "main_window_wide.png"},
                          {1280, 665, "main_window_full_screen.png"},
                          {429, 281, "main_window_design_again.png"}};
    testing::writeCatalogue("Layout.QLY", {testing::book("Austen", "Jane", "Emma", "Fiction")});
    ScriptedSession s;
    s.then(dismissSplash()).then(choose(W::BOOKLIST, 1));
    for (const Size& size : sizes) {
        s.then(resizeWindow(size.width, size.height))
            .then(inspect(size.screenshot, [size](Window& w) {
                EXPECT_EQ(static_cast<long>(PROP(0, Prop::Width)), size.width);
                expectListTakesTheRoom(w);
                expectNothingOverlapsOrClips(w);
                EXPECT_TRUE(w.widget()->grab().save(outputFile(size.screenshot)));
            }));
    }
    // The window goes no smaller than its design.
    s.then(resizeWindow(200, 100)).then(inspect("smallest", [](Window&) {
        EXPECT_EQ(static_cast<long>(PROP(0, Prop::Width)), W::kDesignWidth);
        EXPECT_GE(static_cast<long>(PROP(0, Prop::Height)), W::kDesignHeight - 1);
    }));
    s.then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Layout.QLY");
    EXPECT_TRUE(s.done()) << s.report();
}

TEST(DesktopWindow, SizeIsKeptBetweenRunsAndNonsenseIsIgnored) {
    const QString statePath = windowStatePath();
    ASSERT_FALSE(statePath.startsWith(QDir::homePath() + "/.config"))
        << "tests must not write home";
    QFile::remove(statePath);
    QSize first;
    {
        ScriptedSession s;
        s.then(dismissSplash())
            .then(resizeWindow(480, 300))  // within the test screen's 800 x 600 pixels
            .then(inspect("size", [&](Window& w) { first = w.widget()->size(); }))
            .then(menu(W::FILEEXIT));
        DISPLAYQUILLERY();
        EXPECT_TRUE(s.done()) << s.report();
    }
    const std::optional<WindowState> kept = readWindowState(statePath);
    ASSERT_TRUE(kept.has_value());
    EXPECT_EQ(kept->normal.size(), first);
    EXPECT_FALSE(kept->maximised);

    auto openedSize = [] {
        QSize size;
        ScriptedSession s;
        s.then(dismissSplash())
            .then(inspect("size",
                          [&](Window& w) {
                              size = w.widget()->size();
                              expectListTakesTheRoom(w);  // placed at open
                          }))
            .then(menu(W::FILEEXIT));
        DISPLAYQUILLERY();
        EXPECT_TRUE(s.done()) << s.report();
        return size;
    };
    EXPECT_EQ(openedSize(), first);

    for (const char* nonsense :
         {"x=12\ny=banana\nwidth=-5\n", "\x01\x02garbage", "width=99999999"}) {
        QFile file(statePath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(nonsense);
        file.close();
        EXPECT_FALSE(readWindowState(statePath).has_value()) << nonsense;
        EXPECT_GE(openedSize().width(), 1) << nonsense;  // opens at its default size
    }
}

TEST(WindowPlacement, KeptPlacesAreClampedToTheScreensPresent) {
    const QSize minimum(640, 420);
    const QList<QRect> screens = {QRect(0, 0, 1280, 900), QRect(1280, 0, 1920, 1080)};
    struct Case {
        std::optional<WindowState> kept;
        QRect expected;
        const char* what;
    };
    const Case cases[] = {
        {std::nullopt, QRect(213, 170, 853, 559), "two thirds of the primary, centred"},
        {WindowState{QRect(100, 50, 800, 600)}, QRect(100, 50, 800, 600), "kept as it was"},
        {WindowState{QRect(1500, 100, 900, 700)}, QRect(1500, 100, 900, 700), "second screen"},
        {WindowState{QRect(5000, 5000, 800, 600)}, QRect(240, 150, 800, 600), "screen gone"},
        {WindowState{QRect(-200, 700, 1400, 100)}, QRect(0, 480, 1280, 420), "too wide, too low"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(placeWindow(c.kept, screens, minimum).normal, c.expected) << c.what;
}

TEST(DesktopWindow, KeyboardRoutes) {
    testing::writeCatalogue("Keys.QLY", {testing::book("Austen", "Jane", "Emma", "Fiction")});
    ScriptedSession s;
    auto fileMenuOpen = [](Window& w) {
        auto* bar = w.widget()->findChild<QMenuBar*>();
        return bar != nullptr && bar->activeAction() != nullptr &&
               bar->activeAction()->text() == "&File" && bar->activeAction()->menu()->isVisible();
    };
    auto closeMenus = [](Window& w) {
        auto* bar = w.widget()->findChild<QMenuBar*>();
        for (QMenu* menu : bar->findChildren<QMenu*>())
            menu->close();
        bar->setActiveAction(nullptr);
    };
    auto focused = [](Window& w, int field) {
        const QWidget* focus = QApplication::focusWidget();
        const QWidget* control = w.controlWidget(field);
        return focus != nullptr && (focus == control || control->isAncestorOf(focus));
    };
    s.then(dismissSplash())
        .then(choose(W::BOOKLIST, 1))
        .then(press(KEY::F1 + 9))  // F10
        .then(inspect("F10 opens File",
                      [&](Window& w) {
                          EXPECT_TRUE(fileMenuOpen(w));
                          closeMenus(w);
                      }))
        .then(press(KEY::Alt, W::QLY_TITLE))
        .then(inspect("a lone Alt opens File",
                      [&](Window& w) {
                          EXPECT_TRUE(fileMenuOpen(w));
                          closeMenus(w);
                      }))
        // A menu's letter opens the menu; a prompt's leads to its entry.
        .then(press(KEY::Alt | 'F', W::QLY_TITLE))
        .then(inspect("Alt+F",
                      [&](Window& w) {
                          EXPECT_TRUE(fileMenuOpen(w));
                          closeMenus(w);
                      }))
        .then(press(KEY::Alt | 'I', W::QLY_TITLE))
        .then(inspect("Alt+I", [&](Window& w) { EXPECT_TRUE(focused(w, W::QLY_FIRSTNAME)); }))
        .then(press(KEY::Alt | 'P'))
        .then(inspect("Alt+P", [&](Window& w) { EXPECT_TRUE(focused(w, W::QLY_PUBDATE)); }))
        // A letter two controls share moves between them and presses neither.
        .then(press(KEY::Alt | 'L'))
        .then(inspect("Alt+L", [&](Window& w) { EXPECT_TRUE(focused(w, W::QLY_LASTNAME)); }))
        .then(press(KEY::Alt | 'L'))
        .then(inspect("Alt+L again", [&](Window& w) {
            EXPECT_TRUE(focused(w, W::LISTBYTITLE));
            EXPECT_EQ(PROP(W::LISTBYTITLE, Prop::Value).number(), 0);
        }));
    // Tab goes through the panel in reading order.
    const std::span<const int> order = panelReadingOrder();
    for (std::size_t i = 1; i < order.size(); ++i) {
        s.then(press(KEY::Tab, order[i - 1])).then(inspect("tab", [&, i](Window& w) {
            EXPECT_TRUE(focused(w, order[i])) << "after field " << order[i - 1];
        }));
    }
    s.then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Keys.QLY");
    EXPECT_TRUE(s.done()) << s.report();
}

}  // namespace
}  // namespace quillery
