// `COMMENTWINDOW`: edits the contents note of the entry in the record buffer, which is too long
// for the entry panel.
#pragma once

#include "runtime/window/layout.h"

namespace quillery {

namespace commentwindow {
enum Field : int { QLY_CONTENTS = 1, OK };
}  // namespace commentwindow

extern const WindowLayout kCommentLayout;

// Runs the window until "OK" or its close box; typing changes QLY:CONTENTS directly.
void COMMENTWINDOW();

// The "Comments" button: the note edited in the comment window, and a changed note kept as an
// edit of the entry, so that it is saved with it.
void editComments();

}  // namespace quillery
