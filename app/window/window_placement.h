// Where the main window opens: the place and size kept from the last run, clamped to the screens
// present, or a comfortable size for the screen when nothing was kept; and keeping them again
// when the window closes.
#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <optional>

#include "app/window/window_state.h"

namespace quillery {

class Window;

// The place for a window at least `minimum` large, given the kept state (if any) and the
// available areas of the screens present (the primary first). Kept geometry that no screen
// shows any more goes to the primary screen; a size larger than its screen shrinks to fit.
// Without a kept state the window takes two thirds of the screen's width, in the proportions
// of `minimum`, centred.
WindowState placeWindow(const std::optional<WindowState>& kept, const QList<QRect>& screens,
                        QSize minimum);

// Requires: `window` is open. Gives it the place kept in the state file, or the default one.
void restoreWindowPlacement(Window& window);

// Requires: `window` is open. Writes its place, size and maximised state to the state file.
void keepWindowPlacement(Window& window);

}  // namespace quillery
