#include "app/window/twin_controls.h"

#include "app/window/main_window_layout.h"
#include "runtime/window/window.h"

namespace quillery {

namespace W = displayquillery;

namespace {

void enableTwins(int menuItem, int button, bool enabled) {
    if (enabled) {
        ENABLE(menuItem);
        ENABLE(button);
    } else {
        DISABLE(menuItem);
        DISABLE(button);
    }
}

}  // namespace

void enableNewAndDuplicate(bool enabled) {
    enableTwins(W::BOOKNEW, W::NEW, enabled);
    enableTwins(W::BOOKDUPLICATE, W::DUPLICATE, enabled);
}

void enableSave(bool enabled) {
    enableTwins(W::BOOKSAVE, W::SAVE, enabled);
}

void enableUndo(bool enabled) {
    enableTwins(W::BOOKUNDO, W::UNDO, enabled);
}

}  // namespace quillery
