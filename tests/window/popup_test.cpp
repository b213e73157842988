// Pop-up menus: the text form and the item number returned.
#include <gtest/gtest.h>

#include "runtime/window/popup_menu.h"
#include "runtime/window/testing/test_driver.h"
#include "runtime/window/window.h"

namespace quillery {
namespace {

using namespace script;

constexpr ControlLayout kOne[] = {
    {.kind = ControlKind::Button, .field = 1, .text = "Zoom", .at = {5, 5, 40, 14}},
};
constexpr WindowLayout kPopupLayout{.module = "POPUPTEST",
                                    .structure = "WINDOW",
                                    .text = "Pop-up",
                                    .at = {0, 0, 60, 24},
                                    .controls = kOne};

constexpr const char* kZoomText = "-No Zoom|-|+Page Width|-50%|-75%|-100%|-200%|-300%";

TEST(Popup, ParsesItemsSeparatorsAndCheckMarks) {
    const auto items = parsePopupText(kZoomText);
    ASSERT_EQ(items.size(), 8u);
    EXPECT_EQ(items[0].text, "No Zoom");
    EXPECT_TRUE(items[0].checkable);
    EXPECT_FALSE(items[0].checked);
    EXPECT_TRUE(items[1].separator);
    EXPECT_EQ(items[2].text, "Page Width");
    EXPECT_TRUE(items[2].checked);
    EXPECT_EQ(items[7].text, "300%");
    const auto plain = parsePopupText("Open|Close");
    ASSERT_EQ(plain.size(), 2u);
    EXPECT_FALSE(plain[0].checkable);
    EXPECT_EQ(plain[1].text, "Close");
}

// The item number skips separators: the 7th item of the zoom menu is "300%".
TEST(Popup, ReturnsTheNumberOfTheItemChosen) {
    ScriptedSession s;
    s.then(click(1))
        .then(choosePopup(7))
        .then(click(1))
        .then(choosePopup(2))
        .then(click(1))
        .then(choosePopup(0))
        .then(closeWindow());
    Window window(kPopupLayout);
    OPEN(window);
    std::vector<int> chosen;
    while (ACCEPT(window)) {
        if (ACCEPTED() == 1) chosen.push_back(POPUP(kZoomText));
    }
    CLOSE(window);
    EXPECT_EQ(chosen, (std::vector<int>{7, 2, 0}));
    EXPECT_TRUE(s.done()) << s.report();
}

}  // namespace
}  // namespace quillery
