// Synthesized input for scripted sessions: key presses, typed text and mouse clicks sent to
// widgets as the platform would deliver them, and focus given as a user's click gives it.
#pragma once

#include <QPoint>
#include <QString>
#include <Qt>

#include "runtime/window/window.h"

class QWidget;

namespace quillery::script_input {

// Qt's key for a KEY:: code (modifiers ignored); 0 when there is none.
int qtKeyOf(int code);
// The modifiers a KEY:: code carries.
Qt::KeyboardModifiers modifiersOf(int code);

// Presses and releases one key in `target`.
void sendKey(QWidget* target, int qtKey, Qt::KeyboardModifiers modifiers = {},
             const QString& text = {});
// Types `text` into `target` key by key; a line feed presses Enter, a carriage return is
// passed over.
void sendText(QWidget* target, const QString& text);
// Clicks `button` at `at` (the widget's own coordinates), twice for a double click.
void sendClick(QWidget* target, QPoint at, Qt::MouseButton button, bool twice);
// Offers a key press to the shortcut map first, as a real one is; true when a shortcut took it.
bool sendShortcutOverride(QWidget* target, int qtKey, Qt::KeyboardModifiers modifiers);

// Makes the window active, as a click into it would.
void activate(Window& window);
// Activates the window and gives `widget` the focus with a mouse click's reason.
void giveFocus(Window& window, QWidget* widget);
// The widget that takes typing for a control's widget: a combination box's line edit.
QWidget* textTarget(QWidget* widget);

}  // namespace quillery::script_input
