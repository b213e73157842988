// The scripted session: it plays the script's next action each time a window waits, and
// answers message boxes, file dialogs and pop-up menus as they show.
#include "runtime/window/testing/test_driver.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QTimer>

#include "runtime/window/popup_menu.h"
#include "runtime/window/screen_text.h"

namespace quillery {

namespace {

const char* const kMessageBoxName = "MessageBox";
const char* const kFileDialogName = "FileDialog";

std::string modalKindName(script::Action::At kind) {
    using Action = script::Action;
    switch (kind) {
        case Action::At::Popup:
            return "pop-up menu";
        case Action::At::FileDialog:
            return "file dialog";
        default:
            return "message box";
    }
}

QString joinedTexts(QWidget& box) {
    QStringList lines;
    for (const QLabel* label : box.findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) lines << label->text();
    }
    return lines.join('\n');
}

void dismiss(QWidget* modal) {
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->reject();
    } else if (modal != nullptr) {
        modal->close();
    }
}

}  // namespace

// Notices message boxes and pop-up menus as they show, and hands them to the session once
// their own event loop runs.
class ScriptedSession::ModalWatcher final : public QObject {
  public:
    explicit ModalWatcher(ScriptedSession& session) : session_(session) {
        qApp->installEventFilter(this);
    }
    ~ModalWatcher() override { qApp->removeEventFilter(this); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr || !widget->isWindow()) return false;
        Action::At kind;
        if (widget->objectName() == kMessageBoxName) {
            kind = Action::At::MessageBox;
        } else if (widget->objectName() == kPopupMenuName) {
            kind = Action::At::Popup;
        } else if (widget->objectName() == kFileDialogName) {
            kind = Action::At::FileDialog;
        } else {
            return false;
        }
        QPointer<QWidget> modal(widget);
        QTimer::singleShot(0, this, [this, modal, kind] {
            if (modal && modal->isVisible()) session_.modalShown(modal, kind);
        });
        return false;
    }

  private:
    using Action = script::Action;
    ScriptedSession& session_;
};

namespace {

// The options in force, with `session` observing the loops and timers fired by hand.
WindowOptions playedBy(AcceptObserver* session) {
    WindowOptions options = windowOptions();
    options.acceptObserver = session;
    options.manualTimers = true;
    return options;
}

}  // namespace

ScriptedSession::ScriptedSession() : scripted_(playedBy(this)) {
    watcher_ = new ModalWatcher(*this);
}

ScriptedSession::~ScriptedSession() {
    delete watcher_;
}

ScriptedSession& ScriptedSession::then(script::Action action) {
    const int times = action.repeat;
    action.repeat = 1;
    for (int i = 0; i < times; ++i)
        actions_.push_back(action);
    return *this;
}

bool ScriptedSession::done() const {
    if (!failures_.empty() || !pendingFailures_.empty()) return false;
    // A timer run that has started counts as played.
    return actions_.empty() || (actions_.size() == 1 && actions_.front().sticky &&
                                !actions_.front().windowName.empty());
}

std::string ScriptedSession::report() const {
    std::string text;
    for (const auto& line : log_)
        text += "  played: " + line + "\n";
    for (const auto& line : failures_)
        text += "  FAILED: " + line + "\n";
    for (const auto& line : pendingFailures_)
        text += "  FAILED: " + line + "\n";
    for (const auto& action : actions_)
        text += "  not played: " + action.description + "\n";
    return text;
}

void ScriptedSession::fail(const std::string& message) {
    failures_.push_back(message);
    throw ScriptError(message + "\n" + report());
}

void ScriptedSession::waiting(Window& window) {
    if (!pendingFailures_.empty()) {
        std::string message;
        for (const auto& f : pendingFailures_)
            message += f + "; ";
        failures_.insert(failures_.end(), pendingFailures_.begin(), pendingFailures_.end());
        pendingFailures_.clear();
        throw ScriptError(message + "\n" + report());
    }
    // A timer run ends once a window other than its own waits.
    while (!actions_.empty() && actions_.front().sticky && !actions_.front().windowName.empty() &&
           actions_.front().windowName != window.name()) {
        actions_.pop_front();
    }
    windowsSeen_.push_back(window.name());
    if (actions_.empty()) fail("the script ended while " + window.name() + " waits for an event");
    const script::Action& next = actions_.front();
    if (next.at != script::Action::At::Loop) {
        fail("expected a " + modalKindName(next.at) + " for \"" + next.description + "\", but " +
             window.name() + " waits for an event");
    }
    if (!next.windowName.empty() && next.windowName != window.name()) {
        fail("\"" + next.description + "\" was meant for " + next.windowName + ", but " +
             window.name() + " waits");
    }
    script::Action& front = actions_.front();
    if (front.sticky) {
        if (front.windowName.empty()) {
            front.windowName = window.name();
            log_.push_back(front.description + " (" + window.name() + ")");
        }
        try {
            front.onLoop(window);
        } catch (const ScriptError& error) {
            fail(error.what());
        }
        return;
    }
    script::Action action = std::move(front);
    actions_.pop_front();
    log_.push_back(action.description + " (" + window.name() + ")");
    try {
        action.onLoop(window);
    } catch (const ScriptError& error) {
        fail(error.what());
    }
}

void ScriptedSession::modalShown(QWidget* modal, script::Action::At kind) {
    const bool isBox = kind == script::Action::At::MessageBox;
    SeenMessageBox seen;
    if (isBox) {
        seen.caption = fromScreen(modal->windowTitle());
        seen.text = fromScreen(joinedTexts(*modal));
    }
    if (!actions_.empty() && actions_.front().sticky && !actions_.front().windowName.empty()) {
        actions_.pop_front();  // a box ends the timer run; the script goes on with the box
    }
    if (actions_.empty() || actions_.front().at != kind) {
        std::string what =
            isBox ? "message box \"" + seen.caption + "\": " + seen.text : modalKindName(kind);
        pendingFailures_.push_back("unexpected " + what);
        if (isBox) boxes_.push_back(seen);
        dismiss(modal);
        return;
    }
    script::Action action = std::move(actions_.front());
    actions_.pop_front();
    log_.push_back(action.description);
    try {
        action.onModal(*modal);
        if (isBox) {
            if (auto* dialog = qobject_cast<QDialog*>(modal)) seen.answer = dialog->result();
            boxes_.push_back(seen);
        }
    } catch (const ScriptError& error) {
        pendingFailures_.push_back(error.what());
        if (isBox) boxes_.push_back(seen);
        dismiss(modal);
    }
}

}  // namespace quillery
