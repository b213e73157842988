// F10 and a lone Alt to the menu bar, and Alt+letter to the control that marks the letter.
#include "runtime/window/keyboard_routes.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include "runtime/window/screen_text.h"
#include "runtime/window/window_impl.h"

namespace quillery {
namespace {

// The letter marked by '&' in `text`, upper case; 0 when none ("&&" is a plain '&').
int markedLetter(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] != '&') return text[i + 1].toUpper().unicode();
        ++i;
    }
    return 0;
}

bool isAltLetter(const QKeyEvent& key) {
    const bool letter = (key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z) ||
                        (key.key() >= Qt::Key_0 && key.key() <= Qt::Key_9);
    return letter && (key.modifiers() & ~Qt::KeypadModifier) == Qt::AltModifier;
}

bool takesMnemonics(ControlKind kind) {
    return kind == ControlKind::Prompt || kind == ControlKind::Button ||
           kind == ControlKind::Check || kind == ControlKind::Radio;
}

}  // namespace

bool KeyboardRoutes::handle(QEvent* event) {
    switch (event->type()) {
        case QEvent::ShortcutOverride: {
            // A menu's letter goes to the menu bar; a control's keeps the key from other
            // shortcuts.
            auto* key = static_cast<QKeyEvent*>(event);
            bool clicks = false;
            if (isAltLetter(*key) && !menuOwns(key->key()) &&
                !mnemonicTargets(key->key(), clicks).isEmpty()) {
                event->accept();
                return true;
            }
            return false;
        }
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Alt) {
                if (!key->isAutoRepeat()) altAlone_ = true;
                return false;
            }
            altAlone_ = false;
            if (dialogKey(*key)) return true;
            if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::NoModifier) {
                return openMenuBar();
            }
            if (!isAltLetter(*key)) return false;
            bool clicks = false;
            if (!menuOwns(key->key()) && !mnemonicTargets(key->key(), clicks).isEmpty()) {
                followMnemonic(key->key());
            }
            // A letter nobody marks is not typed either.
            return true;
        }
        case QEvent::KeyRelease: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() != Qt::Key_Alt || !altAlone_) return false;
            altAlone_ = false;
            return openMenuBar();
        }
        case QEvent::MouseButtonPress:
            altAlone_ = false;
            return false;
        default:
            return false;
    }
}

bool KeyboardRoutes::dialogKey(const QKeyEvent& key) {
    if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    if (key.key() == Qt::Key_Escape) return escape();
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
        return pressDefaultButton();
    }
    return false;
}

bool KeyboardRoutes::pressDefaultButton() {
    // The key is judged by where the focus is: a Return an entry passed on to the window after
    // completing itself has been answered already.
    QWidget* widget = window_.frame()->focusWidget();
    if (widget == nullptr) return false;
    // Where Return means something of its own, it keeps that meaning.
    for (QWidget* w = widget; w != nullptr && w != window_.frame(); w = w->parentWidget()) {
        if (qobject_cast<QPushButton*>(w) || qobject_cast<QToolButton*>(w) ||
            qobject_cast<QAbstractItemView*>(w) || qobject_cast<QPlainTextEdit*>(w)) {
            return false;
        }
    }
    if (Control* focused = window_.control(window_.fieldOf(widget))) {
        // An entry's Return completes the entry; a program that wants more alerts the key.
        if (focused->kind() == ControlKind::Entry || focused->kind() == ControlKind::Combo) {
            return false;
        }
        if (focused->alertKeys().count(KEY::Enter) > 0) return false;
    }
    for (const auto& control : window_.controls()) {
        auto* button = qobject_cast<QPushButton*>(control->widget());
        if (button != nullptr && button->isDefault() && button->isVisible() &&
            button->isEnabled()) {
            button->click();
            return true;
        }
    }
    return false;
}

bool KeyboardRoutes::escape() {
    const bool dialog = (window_.layout().flags & WindowFlag::kDialog) ||
                        window_.frame()->windowModality() != Qt::NonModal;
    if (!dialog) return false;
    for (const auto& control : window_.controls()) {
        auto* button = qobject_cast<QPushButton*>(control->widget());
        if (button == nullptr || !button->isVisible() || !button->isEnabled()) continue;
        if (toScreen(control->text()).remove('&') == "Cancel") {
            button->click();
            return true;
        }
    }
    window_.post(EVENT::CloseWindow, 0);
    return true;
}

bool KeyboardRoutes::menuOwns(int key) const {
    auto* bar = qobject_cast<QMenuBar*>(window_.frame()->menuWidget());
    if (bar == nullptr) return false;
    for (QAction* menu : bar->actions()) {
        if (menu->isVisible() && menu->isEnabled() && markedLetter(menu->text()) == key) {
            return true;
        }
    }
    return false;
}

bool KeyboardRoutes::openMenuBar() {
    auto* bar = qobject_cast<QMenuBar*>(window_.frame()->menuWidget());
    if (bar == nullptr) return false;
    for (QAction* menu : bar->actions()) {
        if (menu->isVisible() && menu->isEnabled()) {
            bar->setActiveAction(menu);
            return true;
        }
    }
    return false;
}

QList<QWidget*> KeyboardRoutes::mnemonicTargets(int key, bool& clicks) const {
    QList<QWidget*> targets;
    int buttons = 0;
    for (const auto& control : window_.controls()) {
        QWidget* widget = control->widget();
        if (!takesMnemonics(control->kind()) || widget == nullptr) continue;
        if (!control->visibleOnScreen() || !widget->isEnabled()) continue;
        if (markedLetter(toScreen(control->text())) != key) continue;
        if (control->kind() == ControlKind::Prompt) {
            auto* label = qobject_cast<QLabel*>(widget);
            widget = label != nullptr ? label->buddy() : nullptr;
            if (widget == nullptr || !widget->isVisible() || !widget->isEnabled()) continue;
        } else {
            ++buttons;
        }
        targets.append(widget);
    }
    // A button whose letter is its own is pressed; letters shared only move the focus.
    clicks = targets.size() == 1 && buttons == 1;
    return targets;
}

void KeyboardRoutes::followMnemonic(int key) {
    bool clicks = false;
    const QList<QWidget*> targets = mnemonicTargets(key, clicks);
    // Pressing a shared letter again moves on to the next control that marks it.
    const QWidget* focus = QApplication::focusWidget();
    qsizetype current = -1;
    for (qsizetype i = 0; i < targets.size() && focus != nullptr; ++i) {
        if (targets[i] == focus || targets[i]->isAncestorOf(focus)) current = i;
    }
    QWidget* next = targets[(current + 1) % targets.size()];
    next->setFocus(Qt::ShortcutFocusReason);
    if (auto* button = qobject_cast<QAbstractButton*>(next); button != nullptr && clicks) {
        button->click();
    }
}

}  // namespace quillery
