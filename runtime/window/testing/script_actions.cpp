// The actions of a script: each one played into the real widgets of a waiting window, a message
// box, a file dialog or a pop-up menu.
#include "runtime/window/testing/test_driver.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTreeView>
#include <memory>

#include "runtime/window/screen_text.h"
#include "runtime/window/testing/input_synthesis.h"
#include "runtime/window/window_impl.h"

namespace quillery {

QAction* menuActionOf(Control* control);  // controls_menu.cpp

namespace {

using namespace script_input;

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

}  // namespace

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
            // Leaving the box completes it; Return would also press the window's default button.
            spinBox->selectAll();
            sendText(spinBox, screen);
            sendKey(spinBox, Qt::Key_Tab);
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
        if (sendShortcutOverride(target, qtKey, modifiersOf(key))) return;
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

}  // namespace quillery
