// The window engine's options: a scripted session observes the loops and fires the timers only
// while it lives, keeps the rest of the options as it found them, and sessions nest.
#include "runtime/window/window_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/window/help.h"
#include "runtime/window/testing/test_driver.h"

namespace quillery {
namespace {

TEST(WindowOptions, AScriptedSessionTakesTheLoopsAndTimersOnlyWhileItLives) {
    ASSERT_EQ(windowOptions().acceptObserver, nullptr);
    ASSERT_FALSE(windowOptions().manualTimers);
    std::vector<std::string> shown;
    {
        WindowOptions withViewer = windowOptions();
        withViewer.helpViewer = [&](const std::string& file, HelpRequest request) {
            shown.push_back(file + (request == HelpRequest::Search ? " search" : " contents"));
        };
        const ScopedWindowOptions viewer(withViewer);
        HELP("Book.hlp");
        {
            ScriptedSession outer;
            EXPECT_EQ(windowOptions().acceptObserver, &outer);
            EXPECT_TRUE(windowOptions().manualTimers);
            {
                ScriptedSession inner;
                EXPECT_EQ(windowOptions().acceptObserver, &inner);
            }
            EXPECT_EQ(windowOptions().acceptObserver, &outer);
            EXPECT_TRUE(windowOptions().manualTimers);
            openHelp(HelpRequest::Search);  // the viewer stays while sessions come and go
        }
        EXPECT_EQ(windowOptions().acceptObserver, nullptr);
        EXPECT_FALSE(windowOptions().manualTimers);
        openHelp(HelpRequest::Contents);
    }
    openHelp(HelpRequest::Contents);  // no viewer any more: nothing is shown
    EXPECT_EQ(shown, (std::vector<std::string>{"Book.hlp search", "Book.hlp contents"}));
    HELP("");
}

}  // namespace
}  // namespace quillery
