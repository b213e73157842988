// Leaving a tab: a category or find tab that lists nothing any more goes, and the sheet returns
// to "ALL".
#pragma once

namespace quillery {

// The selected tab lists nothing any more: a category tab loses its category, a find tab goes;
// the sheet returns to "ALL" at its first row.
void leaveEmptyTab();
// Selects "ALL" and shows ALLQUEUE from its first row (nothing is displayed yet).
void returnToAllTab();

}  // namespace quillery
