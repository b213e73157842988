// Completing an entry's or a combination box's text into the control's variable.
#include "runtime/window/focus_line_edit.h"

#include "runtime/window/screen_text.h"
#include "runtime/window/use_format.h"

namespace quillery {

namespace {

// What `typed` loses on its way into a variable of `width` characters (0: any).
TypingLoss lossOf(const QString& typed, int width) {
    TypingLoss loss;
    QString kept = typed;
    if (width > 0 && kept.size() > width) {
        loss.typedLength = static_cast<std::size_t>(typed.size());
        loss.keptLength = static_cast<std::size_t>(width);
        kept.truncate(width);
    }
    QString replaced;
    for (QChar c : kept) {
        if (c.isSurrogate() || (toScreen(fromScreen(QString(c))) != QString(c))) {
            if (!replaced.contains(c)) replaced += c;
        }
    }
    loss.replaced = replaced.toStdString();
    return loss;
}

}  // namespace

int FocusLineEdit::pictureWidth() const {
    const UseVariable& use = control_.use();
    int length = pictureLength(control_.layout().picture);
    if (length == 0 && use.isText()) length = static_cast<int>(use.size);
    return length;
}

void FocusLineEdit::complete() {
    if (!isModified()) return;
    setModified(false);
    const TypingLoss loss = lossOf(text(), pictureWidth());
    deformatUse(control_.use(), fromScreen(text()), control_.layout().picture);
    control_.display();
    control_.typingLoss() = loss;
    control_.window().post(EVENT::Accepted, control_.field());
}

}  // namespace quillery
