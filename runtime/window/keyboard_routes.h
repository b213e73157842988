// The keyboard routes every window of the program shares beside its controls' own keys: F10,
// and Alt pressed and released alone, open the menu bar's first menu; Alt with a letter opens
// the menu marked with that letter ('&'), as on every desktop, or else goes to the control
// whose text marks it; a letter nobody marks does nothing. Return presses the window's
// default button wherever the focus is (a tick box, a spin box), except where Return has a
// meaning of its own: an entry, which it completes, a text box, a list, a button, a control
// that alerts it. In a dialog or a window opened over
// another, Escape presses "Cancel", or asks the window to close when it has none.
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
    bool pressDefaultButton();
    bool escape();
    // Whether a menu of the menu bar is marked with `key`.
    bool menuOwns(int key) const;
    // The controls whose marked letter is `key`, as they would take it, in layout order.
    QList<QWidget*> mnemonicTargets(int key, bool& clicks) const;
    void followMnemonic(int key);

    WindowImpl& window_;
    bool altAlone_ = false;
};

}  // namespace quillery
