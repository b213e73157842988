// EVENT:Selected: raised when a control gets the focus from the user or the program, not when
// the focus merely comes back with the window (after a message box, say).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/window/message_box.h"
#include "runtime/window/testing/test_driver.h"
#include "runtime/window/window.h"

namespace quillery {
namespace {

using namespace script;

enum Field { FIRSTNAME = 1, LASTNAME, ASK };

constexpr ControlLayout kFocusControls[] = {
    {.kind = ControlKind::Entry,
     .field = FIRSTNAME,
     .at = {5, 5, 80, 12},
     .picture = "s20",
     .use = 1},
    {.kind = ControlKind::Entry,
     .field = LASTNAME,
     .at = {5, 20, 80, 12},
     .picture = "s20",
     .use = 2},
    {.kind = ControlKind::Button, .field = ASK, .text = "Ask", .at = {5, 36, 40, 14}},
};
constexpr WindowLayout kFocusLayout{.module = "FOCUSTEST",
                                    .structure = "WINDOW",
                                    .text = "Focus",
                                    .at = {0, 0, 90, 55},
                                    .controls = kFocusControls};

TEST(Focus, SelectedFollowsTheFocusButNotItsReturnWithTheWindow) {
    FixedString<20> first;
    FixedString<20> last;
    ScriptedSession s;
    s.then(focus(LASTNAME))
        .then(focus(FIRSTNAME))
        .then(click(ASK))
        .then(answerMessageBox(BUTTON::OK))
        .then(closeWindow());
    Window window(kFocusLayout, {use(first), use(last)});
    OPEN(window);
    std::vector<int> selected;
    while (ACCEPT(window)) {
        if (EVENT() == EVENT::Selected) selected.push_back(FIELD());
        if (ACCEPTED() == ASK) {
            SELECT(LASTNAME);  // the program moves the focus: a selection too
            MESSAGE("Carry on");
        }
    }
    CLOSE(window);
    // Opening gives the first entry the focus; the box's return gives it back to LASTNAME
    // without a second Selected.
    EXPECT_EQ(selected, (std::vector<int>{FIRSTNAME, LASTNAME, FIRSTNAME, LASTNAME}));
    EXPECT_TRUE(s.done()) << s.report();
}

}  // namespace
}  // namespace quillery
