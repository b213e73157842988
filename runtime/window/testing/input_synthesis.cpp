// Key presses, typed text and clicks sent to widgets as the platform would deliver them.
#include "runtime/window/testing/input_synthesis.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWidget>

// Qt's own entry for a key press to meet the shortcut map first, as a real one does.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods,
                                               const QString& text = QString(),
                                               bool autorep = false, ushort count = 1);

namespace quillery::script_input {

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

void sendKey(QWidget* target, int qtKey, Qt::KeyboardModifiers modifiers, const QString& text) {
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

bool sendShortcutOverride(QWidget* target, int qtKey, Qt::KeyboardModifiers modifiers) {
    return qt_sendShortcutOverrideEvent(target, 0, qtKey, modifiers);
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

}  // namespace quillery::script_input
