// Before an entry is saved, the person hears what the entry fields could not keep of their
// typing: characters the catalogue's character set has no place for, stored as '?', and text cut
// at a field's width.
#pragma once

namespace quillery {

// True when the fields kept all that was typed, or the person chose to save anyway; false when
// they chose to go back, with the focus on the first field concerned.
bool typingLossesAccepted();

// Whether the person chose to go back at the last question.
bool typingLossesDeclined();

}  // namespace quillery
