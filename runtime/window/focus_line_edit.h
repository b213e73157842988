// The one-line edit of entries and of the edit part of combination boxes: it tells its window
// when the user's focus arrives, so both raise EVENT:Selected alike, and it completes what was
// typed into the control's variable the same way for both.
#pragma once

#include <QFocusEvent>
#include <QLineEdit>

#include "runtime/window/control.h"
#include "runtime/window/window_impl.h"

namespace quillery {

class FocusLineEdit final : public QLineEdit {
  public:
    FocusLineEdit(QWidget* parent, Control& control) : QLineEdit(parent), control_(control) {}

    // The width the control's picture shows, or its text variable holds when it has no
    // picture; 0 for none. Longer text is taken and cut when completed, which the control
    // records as a loss instead of refusing keys without a word.
    int pictureWidth() const;

    // Typing done: changed text goes into the control's variable through its picture, shows
    // again as the picture formats it, and the window hears EVENT:Accepted. Unchanged text does
    // nothing.
    void complete();

  protected:
    void focusInEvent(QFocusEvent* event) override {
        QLineEdit::focusInEvent(event);
        control_.window().focusArrived(control_.field(), event->reason());
    }

  private:
    Control& control_;
};

}  // namespace quillery
