// Scripted sessions: play a user's actions into the program's real accept loops and widgets,
// for tests of every window of the program (run with QT_QPA_PLATFORM=offscreen).
//
//     using namespace quillery::script;
//     ScriptedSession s;
//     s.then(type(QLY_TITLE, "Tales")).then(click(SAVE)).then(answerMessageBox(BUTTON::Yes))
//      .then(closeWindow());
//     DISPLAYQUILLERY();
//     EXPECT_TRUE(s.done()) << s.report();
//
// Each time an accept loop is about to wait for an event, the session plays its next action
// into the waiting window (clicks a button, types into an entry, chooses a row...), and the
// program's loop receives whatever events the widgets raise. Message boxes and pop-up menus
// are answered when they show, by the action next in the script. While a session lives,
// window timers run only when the script fires them.
//
// A script that runs out while a loop waits, an action the waiting window cannot take (a
// disabled or missing control), or a box the script did not expect stop the program under test
// with a ScriptError at the next loop wait; a box that shows unexpectedly is dismissed first.
#pragma once

#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/window/accept_observer.h"
#include "runtime/window/window.h"
#include "runtime/window/window_options.h"

class QObject;
class QWidget;

namespace quillery {

struct ScriptError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

namespace script {

// One user action.
struct Action {
    enum class At { Loop, MessageBox, Popup, FileDialog };
    std::string description;
    At at = At::Loop;
    std::string windowName;  // when set, the waiting window must be this one
    std::function<void(Window& window)> onLoop;
    std::function<void(QWidget& modal)> onModal;
    int repeat = 1;  // played this many times
    // Kept at the front of the script while the window it first acted on keeps waiting.
    bool sticky = false;

    // Requires the action to reach the window of this layout ("GETFINDSTRING$FIND").
    Action in(std::string_view layoutName) && {
        windowName = std::string(layoutName);
        return std::move(*this);
    }
};

// Clicks a button, tool button, check box, radio button or menu item.
Action click(int field);
// Chooses a menu item (the same as click, named for readability).
Action menu(int itemField);
// Types `text` (Windows-1252) over the contents of an entry, combination box, spin box or text
// box and completes the entry (Enter in an entry or combination box; leaving a spin box or a
// text box, as Return there presses the window's default button).
Action type(int field, std::string_view text);
// Gives a control the focus, as a click into it would (EVENT:Selected for entries).
Action focus(int field);
// Chooses row `row` (from 1) of a list by clicking it, or row `row` of a combination box's
// drop list.
Action choose(int field, int row);
// Double-clicks row `row` of a list.
Action doubleClick(int field, int row);
// Clicks the tab of field `tabField`.
Action chooseTab(int tabField);
// Moves a spin box by `steps` arrow steps (negative: down).
Action spin(int field, int steps);
// Presses a key (KEY:: code, modifiers added) in a control, or in the focused control for 0;
// KEY::Alt alone presses and releases the Alt key by itself.
Action press(int key, int field = 0);
// Clicks a control with the mouse: KEY::MouseLeft, MouseRight, MouseLeft2 (double click).
Action mouse(int field, int button = KEY::MouseLeft);
// Asks to close the waiting window (its close box).
Action closeWindow();
// Resizes the waiting window to width × height dialog units (tool bars included, as
// Prop::Width and Prop::Height measure it).
Action resizeWindow(int width, int height);
// Fires the waiting window's timer `times` times, as that many periods running out.
Action timer(int times = 1);
// Fires the timer of the window that waits next every time that window waits, until another
// window's loop waits (or a box shows) and takes the script on: runs a progress window's batch
// work to its end without counting its timer events. Stops the program after `limit` firings.
Action runTimers(int limit = 100000);
// Answers the message box that shows next with the button of value `button` (BUTTON::).
Action answerMessageBox(int button);
// Answers the file dialog that shows next with `path`, as if typed and confirmed; an empty path
// cancels the dialog.
Action answerFileDialog(std::string path);
// Chooses item `item` (from 1, separators not counted) of the pop-up menu that shows next;
// 0 dismisses it.
Action choosePopup(int item);
// Runs `step` at the loop wait, to look at the window (or change what a test needs) mid-way.
Action inspect(std::string description, std::function<void(Window& window)> step);

}  // namespace script

// A message box the session answered.
struct SeenMessageBox {
    std::string caption;  // Windows-1252
    std::string text;     // the texts of the box, lines joined by '\n'
    int answer = 0;
};

class ScriptedSession final : public AcceptObserver {
  public:
    ScriptedSession();
    ~ScriptedSession() override;
    ScriptedSession(const ScriptedSession&) = delete;
    ScriptedSession& operator=(const ScriptedSession&) = delete;

    ScriptedSession& then(script::Action action);

    // True when every action was played and nothing went wrong.
    bool done() const;
    std::size_t remaining() const { return actions_.size(); }
    const std::vector<std::string>& failures() const { return failures_; }
    // What happened, one line per action played and per failure, for test messages.
    std::string report() const;
    // The message boxes answered, in order.
    const std::vector<SeenMessageBox>& messageBoxes() const { return boxes_; }
    // The layout names of the windows whose loops waited, in order of the actions played.
    const std::vector<std::string>& windowsSeen() const { return windowsSeen_; }

    void waiting(Window& window) override;

  private:
    class ModalWatcher;
    void modalShown(QWidget* modal, script::Action::At kind);
    [[noreturn]] void fail(const std::string& message);

    std::deque<script::Action> actions_;
    std::vector<std::string> log_;
    std::vector<std::string> failures_;
    std::vector<std::string> pendingFailures_;
    std::vector<SeenMessageBox> boxes_;
    std::vector<std::string> windowsSeen_;
    // The session observes every accept loop and fires the timers, until it ends.
    ScopedWindowOptions scripted_;
    ModalWatcher* watcher_ = nullptr;
};

}  // namespace quillery
