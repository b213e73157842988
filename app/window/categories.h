// The categories: the sorted list of distinct category names in CATEGORYQUEUE, one tab per name
// on the sheet (the k-th name on tab 31 + k), and when tabs appear and go.
#pragma once

namespace quillery {

// Sets the text of every category tab to its row of CATEGORYQUEUE.
void RENAMECATEGORIES();
// Adds the category of the entry in the record buffer, when it is new, with a tab of its own;
// the selected tab stays on its label.
void INSERTCATEGORY();
// Removes the category of the selected tab, CURRENTTAB, and the last category tab.
void DELETECATEGORY();

// Adds `QLY:CATEGORY` to CATEGORYQUEUE in sorted position when it is not blank and not there
// yet; true when it was added.
bool addCategoryOfRecord();
// Creates one tab for each row of CATEGORYQUEUE.
void createCategoryTabs();
// Destroys every category tab and empties CATEGORYQUEUE.
void dropCategoryTabs();

// The control number of the category tab that shows `position` (from 1) of CATEGORYQUEUE.
int categoryTab(int position);

}  // namespace quillery
