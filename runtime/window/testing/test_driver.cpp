// The scripted session: actions played into the real widgets of waiting windows, boxes and
// pop-up menus.
#include "runtime/window/testing/test_driver.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTimer>
#include <QTreeView>
#include <memory>

#include "runtime/window/popup_menu.h"
#include "runtime/window/screen_text.h"
#include "runtime/window/window_impl.h"

namespace quillery {

QAction* menuActionOf(Control* control);  // controls_menu.cpp

}  // namespace quillery

// Qt's own entry for a key press to meet the shortcut map first, as a real one does.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods,
                                               const QString& text = QString(),
                                               bool autorep = false, ushort count = 1);

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

int qtKeyOf(int code) {
    if (code == KEY::Alt) return Qt::Key_Alt;  // Alt pressed and released alone
    switch (code & 0xFF) {
        case KEY::Tab:
            return Qt::Key_Tab;
        case KEY::Enter:
            return Qt::Key_Return;
        case KEY::Esc:
            return Qt::Key_Escape;
        case KEY::Space:
            return Qt::Key_Space;
        case KEY::PgUp:
            return Qt::Key_PageUp;
        case KEY::PgDn:
            return Qt::Key_PageDown;
        case KEY::End:
            return Qt::Key_End;
        case KEY::Home:
            return Qt::Key_Home;
        case KEY::Left:
            return Qt::Key_Left;
        case KEY::Up:
            return Qt::Key_Up;
        case KEY::Right:
            return Qt::Key_Right;
        case KEY::Down:
            return Qt::Key_Down;
        case KEY::Insert:
            return Qt::Key_Insert;
        case KEY::Delete:
            return Qt::Key_Delete;
        default:
            break;
    }
    const int plain = code & 0xFF;
    if (plain >= KEY::F1 && plain < KEY::F1 + 12) return Qt::Key_F1 + (plain - KEY::F1);
    if ((plain >= 'A' && plain <= 'Z') || (plain >= '0' && plain <= '9')) return plain;
    return 0;
}

Qt::KeyboardModifiers modifiersOf(int code) {
    Qt::KeyboardModifiers m;
    if (code & KEY::Shift) m |= Qt::ShiftModifier;
    if (code & KEY::Ctrl) m |= Qt::ControlModifier;
    if (code & KEY::Alt) m |= Qt::AltModifier;
    return m;
}

void sendKey(QWidget* target, int qtKey, Qt::KeyboardModifiers modifiers = {},
             const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, qtKey, modifiers, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, modifiers, text);
    QCoreApplication::sendEvent(target, &release);
}

void sendText(QWidget* target, const QString& text) {
    for (QChar ch : text) {
        if (ch == '\r') continue;
        if (ch == '\n') {
            sendKey(target, Qt::Key_Return);
            continue;
        }
        sendKey(target, 0, {}, QString(ch));
    }
}

void sendClick(QWidget* target, QPoint at, Qt::MouseButton button, bool twice) {
    const QPointF local(at);
    const QPointF global(target->mapToGlobal(at));
    auto send = [&](QEvent::Type type, Qt::MouseButtons buttons) {
        QMouseEvent event(type, local, global, button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
    };
    send(QEvent::MouseButtonPress, button);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    if (twice) {
        send(QEvent::MouseButtonDblClick, button);
        send(QEvent::MouseButtonRelease, Qt::NoButton);
    }
}

[[noreturn]] void refuse(const std::string& message) {
    throw ScriptError(message);
}

std::string where(Window& window, int field) {
    return "control " + std::to_string(field) + " of " + window.name();
}

Control& usable(Window& window, int field) {
    Control* control = window.impl().control(field);
    if (control == nullptr) refuse(window.name() + " has no control " + std::to_string(field));
    if (control->disabled()) refuse(where(window, field) + " is disabled");
    if (!control->visibleOnScreen()) refuse(where(window, field) + " is hidden");
    return *control;
}

void activate(Window& window) {
    QWidget* frame = window.widget();
    if (frame->isActiveWindow()) return;
    frame->activateWindow();
    QCoreApplication::processEvents();
}

void giveFocus(Window& window, QWidget* widget) {
    activate(window);
    widget->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
}

QWidget* textTarget(QWidget* widget) {
    if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->lineEdit();
    return widget;
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

namespace script {

Action click(int field) {
    Action a;
    a.description = "click " + std::to_string(field);
    a.onLoop = [field](Window& window) {
        Control* control = window.impl().control(field);
        if (QAction* action = menuActionOf(control)) {
            if (control->disabled()) refuse(where(window, field) + " is disabled");
            action->trigger();
            return;
        }
        Control& c = usable(window, field);
        auto* button = qobject_cast<QAbstractButton*>(c.widget());
        if (button == nullptr) refuse(where(window, field) + " is not a button");
        activate(window);
        button->click();
    };
    return a;
}

Action menu(int itemField) {
    Action a = click(itemField);
    a.description = "menu " + std::to_string(itemField);
    return a;
}

Action type(int field, std::string_view text) {
    Action a;
    a.description = "type " + std::to_string(field) + " \"" + std::string(text) + "\"";
    a.onLoop = [field, screen = toScreen(text)](Window& window) {
        Control& c = usable(window, field);
        QWidget* target = textTarget(c.widget());
        if (target == nullptr) refuse(where(window, field) + " takes no typing");
        giveFocus(window, target);
        if (auto* edit = qobject_cast<QLineEdit*>(target)) {
            edit->selectAll();
            sendText(edit, screen);
            sendKey(edit, Qt::Key_Return);
        } else if (auto* spinBox = qobject_cast<QAbstractSpinBox*>(target)) {
            spinBox->selectAll();
            sendText(spinBox, screen);
            sendKey(spinBox, Qt::Key_Return);
        } else if (auto* box = qobject_cast<QPlainTextEdit*>(target)) {
            box->selectAll();
            sendText(box, screen);
            box->clearFocus();
        } else {
            refuse(where(window, field) + " takes no typing");
        }
    };
    return a;
}

Action focus(int field) {
    Action a;
    a.description = "focus " + std::to_string(field);
    a.onLoop = [field](Window& window) {
        Control& c = usable(window, field);
        giveFocus(window, textTarget(c.widget()));
    };
    return a;
}

Action choose(int field, int row) {
    Action a;
    a.description = "choose " + std::to_string(field) + " row " + std::to_string(row);
    a.onLoop = [field, row](Window& window) {
        Control& c = usable(window, field);
        if (auto* view = qobject_cast<QTreeView*>(c.widget())) {
            const QModelIndex index = view->model()->index(row - 1, 0);
            if (!index.isValid())
                refuse(where(window, field) + " has no row " + std::to_string(row));
            activate(window);
            view->scrollTo(index);
            sendClick(view->viewport(), view->visualRect(index).center(), Qt::LeftButton, false);
            return;
        }
        if (auto* combo = qobject_cast<QComboBox*>(c.widget())) {
            if (row < 1 || row > combo->count()) {
                refuse(where(window, field) + " has no row " + std::to_string(row));
            }
            activate(window);
            combo->showPopup();
            QAbstractItemView* list = combo->view();
            list->setCurrentIndex(combo->model()->index(row - 1, 0));
            sendKey(list, Qt::Key_Return);
            QCoreApplication::processEvents();
            return;
        }
        // An option group: its row-th radio button.
        int seen = 0;
        for (const auto& other : window.impl().controls()) {
            if (other->kind() == ControlKind::Radio && other->layout().parent == field &&
                ++seen == row) {
                if (auto* button = qobject_cast<QAbstractButton*>(other->widget())) {
                    button->click();
                    return;
                }
            }
        }
        refuse(where(window, field) + " has no choice " + std::to_string(row));
    };
    return a;
}

Action doubleClick(int field, int row) {
    Action a;
    a.description = "double-click " + std::to_string(field) + " row " + std::to_string(row);
    a.onLoop = [field, row](Window& window) {
        Control& c = usable(window, field);
        auto* view = qobject_cast<QTreeView*>(c.widget());
        if (view == nullptr) refuse(where(window, field) + " is not a list");
        const QModelIndex index = view->model()->index(row - 1, 0);
        if (!index.isValid()) refuse(where(window, field) + " has no row " + std::to_string(row));
        activate(window);
        view->scrollTo(index);
        sendClick(view->viewport(), view->visualRect(index).center(), Qt::LeftButton, true);
    };
    return a;
}

Action chooseTab(int tabField) {
    Action a;
    a.description = "tab " + std::to_string(tabField);
    a.onLoop = [tabField](Window& window) {
        Control& tab = usable(window, tabField);
        const int sheetField = tab.layout().parent;
        Control& sheet = usable(window, sheetField);
        int index = 0;
        for (const auto& other : window.impl().controls()) {
            if (other.get() == &tab) break;
            if (other->kind() == ControlKind::Tab && other->layout().parent == sheetField) ++index;
        }
        auto* bar = sheet.widget()->findChild<QTabBar*>();
        if (bar == nullptr || index >= bar->count())
            refuse(where(window, tabField) + " has no tab");
        activate(window);
        sendClick(bar, bar->tabRect(index).center(), Qt::LeftButton, false);
    };
    return a;
}

Action spin(int field, int steps) {
    Action a;
    a.description = "spin " + std::to_string(field) + " by " + std::to_string(steps);
    a.onLoop = [field, steps](Window& window) {
        Control& c = usable(window, field);
        auto* box = qobject_cast<QAbstractSpinBox*>(c.widget());
        if (box == nullptr) refuse(where(window, field) + " is not a spin box");
        giveFocus(window, box);
        for (int i = 0; i < std::abs(steps); ++i) {
            sendKey(box, steps > 0 ? Qt::Key_Up : Qt::Key_Down);
        }
    };
    return a;
}

Action press(int key, int field) {
    Action a;
    a.description = "press " + std::to_string(key) + (field ? " in " + std::to_string(field) : "");
    a.onLoop = [key, field](Window& window) {
        const int qtKey = qtKeyOf(key);
        if (qtKey == 0) refuse("no key for code " + std::to_string(key));
        const QKeySequence sequence(QKeyCombination(modifiersOf(key), Qt::Key(qtKey)));
        // Menu accelerators answer first, as they do for a real key press.
        for (QAction* action : window.widget()->findChildren<QAction*>()) {
            if (!action->shortcut().isEmpty() && action->shortcut() == sequence) {
                if (action->isEnabled()) action->trigger();
                return;
            }
        }
        QWidget* target = nullptr;
        if (field != 0) {
            target = textTarget(usable(window, field).widget());
            giveFocus(window, target);
        } else {
            activate(window);
            target = QApplication::focusWidget();
            if (target == nullptr || target->window() != window.widget()) target = window.widget();
        }
        // Mnemonics and other shortcuts answer before the control sees the key.
        if (qt_sendShortcutOverrideEvent(target, 0, qtKey, modifiersOf(key))) return;
        sendKey(target, qtKey, modifiersOf(key));
    };
    return a;
}

Action mouse(int field, int button) {
    Action a;
    a.description = "mouse " + std::to_string(button) + " on " + std::to_string(field);
    a.onLoop = [field, button](Window& window) {
        // A click on the window itself lands on its client area.
        QWidget* target = window.impl().client();
        if (field != 0) target = usable(window, field).widget();
        if (target == nullptr) refuse(where(window, field) + " cannot be clicked");
        activate(window);
        const bool right = button == KEY::MouseRight || button == KEY::MouseRight2;
        const bool twice = button == KEY::MouseLeft2 || button == KEY::MouseRight2;
        sendClick(target, target->rect().center(), right ? Qt::RightButton : Qt::LeftButton, twice);
    };
    return a;
}

Action closeWindow() {
    Action a;
    a.description = "close window";
    a.onLoop = [](Window& window) { window.widget()->close(); };
    return a;
}

Action resizeWindow(int width, int height) {
    Action a;
    a.description = "resize to " + std::to_string(width) + "x" + std::to_string(height);
    a.onLoop = [width, height](Window& window) {
        WindowImpl& w = window.impl();
        QWidget* frame = w.frame();
        const QSize client = w.client()->size();
        frame->resize(
            frame->width() - client.width() + w.units().toPixelsX(width),
            frame->height() - client.height() - w.toolbarPixels() + w.units().toPixelsY(height));
        QCoreApplication::processEvents();
    };
    return a;
}

Action timer(int times) {
    Action a;
    a.description = "timer";
    a.repeat = std::max(1, times);
    a.onLoop = [](Window& window) {
        if (window.impl().timerPeriod() <= 0) refuse(window.name() + " has no timer running");
        fireTimer(window);
    };
    return a;
}

Action runTimers(int limit) {
    Action a;
    a.description = "run timers";
    a.sticky = true;
    auto fired = std::make_shared<int>(0);
    a.onLoop = [fired, limit](Window& window) {
        if (window.impl().timerPeriod() <= 0) refuse(window.name() + " has no timer running");
        if (++*fired > limit) {
            refuse(window.name() + " still waits after " + std::to_string(limit) + " timer events");
        }
        fireTimer(window);
    };
    return a;
}

Action answerMessageBox(int button) {
    Action a;
    a.description = "answer message box with " + std::to_string(button);
    a.at = Action::At::MessageBox;
    a.onModal = [button](QWidget& box) {
        for (QPushButton* b : box.findChildren<QPushButton*>()) {
            if (b->property("buttonValue").toInt() == button) {
                b->click();
                return;
            }
        }
        refuse("the message box has no button " + std::to_string(button));
    };
    return a;
}

Action answerFileDialog(std::string path) {
    Action a;
    a.description = path.empty() ? "cancel the file dialog" : "answer the file dialog with " + path;
    a.at = Action::At::FileDialog;
    a.onModal = [path](QWidget& modal) {
        auto* dialog = qobject_cast<QFileDialog*>(&modal);
        if (dialog == nullptr) refuse("not a file dialog");
        if (path.empty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(QFile::decodeName(QByteArray::fromStdString(path)));
        // As the dialog's own Open or Save button does (its accept() is not public).
        QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
        if (dialog->isVisible()) {
            dialog->reject();
            refuse("the file dialog did not take " + path);
        }
    };
    return a;
}

Action choosePopup(int item) {
    Action a;
    a.description = "choose pop-up item " + std::to_string(item);
    a.at = Action::At::Popup;
    a.onModal = [item](QWidget& modal) {
        auto* popup = qobject_cast<QMenu*>(&modal);
        if (popup == nullptr) refuse("not a pop-up menu");
        if (item == 0) {
            popup->close();
            return;
        }
        for (QAction* action : popup->actions()) {
            if (!action->isSeparator() && action->data().toInt() == item) {
                popup->setActiveAction(action);
                sendKey(popup, Qt::Key_Return);
                return;
            }
        }
        refuse("the pop-up menu has no item " + std::to_string(item));
    };
    return a;
}

Action inspect(std::string description, std::function<void(Window& window)> step) {
    Action a;
    a.description = "inspect: " + description;
    a.onLoop = std::move(step);
    return a;
}

}  // namespace script

ScriptedSession::ScriptedSession()
    : previousObserver_(setAcceptObserver(this)), previousManualTimers_(timersManual()) {
    setTimersManual(true);
    watcher_ = new ModalWatcher(*this);
}

ScriptedSession::~ScriptedSession() {
    delete watcher_;
    setAcceptObserver(previousObserver_);
    setTimersManual(previousManualTimers_);
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
