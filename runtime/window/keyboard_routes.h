// The keyboard routes every window of the program shares beside its controls' own keys: F10,
// and Alt pressed and released alone, open the menu bar's first menu; Alt with a letter goes
// to the control whose text marks that letter ('&'), ahead of a menu marked with the same one.
// In a dialog, Return presses the default button and Escape asks the window to close.
#pragma once

#include <QEvent>
#include <QList>

class QKeyEvent;
class QWidget;

namespace quillery {

class WindowImpl;

class KeyboardRoutes {
  public:
    explicit KeyboardRoutes(WindowImpl& window) : window_(window) {}

    // Sees a key event bound for the window or any of its controls; true when it was taken.
    bool handle(QEvent* event);

  private:
    bool openMenuBar();
    bool dialogKey(const QKeyEvent& key);
    // The controls whose marked letter is `key`, as they would take it, in layout order.
    QList<QWidget*> mnemonicTargets(int key, bool& clicks) const;
    void followMnemonic(int key);

    WindowImpl& window_;
    bool altAlone_ = false;
};

}  // namespace quillery
