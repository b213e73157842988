// A one-line edit that tells its window when the user's focus arrives, so entries and the edit
// part of combination boxes raise EVENT:Selected alike.
#pragma once

#include <QFocusEvent>
#include <QLineEdit>

#include "runtime/window/control.h"
#include "runtime/window/window_impl.h"

namespace quillery {

class FocusLineEdit final : public QLineEdit {
  public:
    FocusLineEdit(QWidget* parent, Control& control) : QLineEdit(parent), control_(control) {}

  protected:
    void focusInEvent(QFocusEvent* event) override {
        QLineEdit::focusInEvent(event);
        control_.window().focusArrived(control_.field(), event->reason());
    }

  private:
    Control& control_;
};

}  // namespace quillery
