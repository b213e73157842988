// Completing an entry's or a combination box's text into the control's variable.
#include "runtime/window/focus_line_edit.h"

#include "runtime/window/screen_text.h"
#include "runtime/window/use_format.h"

namespace quillery {

void FocusLineEdit::limitToPicture() {
    const UseVariable& use = control_.use();
    int length = pictureLength(control_.layout().picture);
    if (length == 0 && use.isText()) length = static_cast<int>(use.size);
    if (length > 0) setMaxLength(length);
}

void FocusLineEdit::complete() {
    if (!isModified()) return;
    setModified(false);
    deformatUse(control_.use(), fromScreen(text()), control_.layout().picture);
    control_.display();
    control_.window().post(EVENT::Accepted, control_.field());
}

}  // namespace quillery
