// The main window's globals: the selection and editing state shared by its routines, the caption
// text, and the queues that mirror the catalogue for the lists, with their record buffers.
#pragma once

#include <cstdint>

#include "runtime/fixed_string.h"
#include "runtime/queue.h"

namespace quillery {

// The caption's first part; the open catalogue's name follows it.
inline constexpr char kTitleText[] = "'Quillery ZE- The Personal Librarian'";
extern FixedString<40> TITLESTRING;

extern FixedString<15> CURRENTTEXT;     // text of the selected tab; "ALL" for the static tab
extern FixedString<50> CURRENTSORTKEY;  // sort key of the selected entry
extern FixedString<50> NEWSORTKEY;      // a pending re-selection key
extern FixedString<20> FINDSTRING;      // the text last searched for

extern std::uint8_t LISTBYTITLE;     // the "List by Title" check box
extern std::int32_t SHEET;           // the sheet's selected tab (its position)
extern std::int16_t CURRENTTAB;      // control number of the selected tab
extern std::int32_t CURRENTPOINTER;  // record position of the selected entry
extern std::uint8_t CURRENTKEYTYPE;
extern std::int32_t LETTER;      // the letter buttons' value, 1 for A to 26 for Z
extern std::int32_t PENDINGADD;  // record position of a new entry not yet kept; 0: none
extern std::uint8_t PENDINGFIND;
extern std::uint8_t RECORDCHANGED;  // an entry field was selected since the entry was shown
extern std::uint8_t IGNORECASE;

// `ALLQUEUE`: one row per current entry, in name-key (or title-key) order.
struct AllRow {
    std::int16_t POINTER = 0;
    FixedString<50> SORTKEY;
    FixedString<50> NAMEKEY;
    FixedString<50> TITLEKEY;
    std::uint8_t KEYTYPE = 0;
    FixedString<15> CATEGORY;
};
extern AllRow ALL;
extern Queue ALLQUEUE;

// `TABQUEUE`: the rows of one category tab, or the results of a find.
struct TabRow {
    std::int16_t POINTER = 0;
    FixedString<50> SORTKEY;
    FixedString<50> NAMEKEY;
    FixedString<50> TITLEKEY;
    std::uint8_t KEYTYPE = 0;
};
extern TabRow TAB;
extern Queue TABQUEUE;

// `CATEGORYQUEUE`: the distinct categories in order; also the category box's drop list.
struct CategoryRow {
    FixedString<24> CATEGORY;
};
extern CategoryRow CAT;
extern Queue CATEGORYQUEUE;

// `UNDOQUEUE`: one row per undoable operation; the last row is undone first.
struct UndoRow {
    std::uint8_t ACTION = 0;  // 1 new or duplicate, 3 save, 4 delete
    FixedString<50> SORTKEY;
    std::uint8_t KEYTYPE = 0;
    std::int32_t POINTER = 0;
    std::int32_t OLDPOINTER = 0;
};
extern UndoRow UNDO;
extern Queue UNDOQUEUE;

// Field numbers of the queues' sort-key fields, for binding the list.
namespace AllField {
inline constexpr int POINTER = 1;
inline constexpr int SORTKEY = 2;
inline constexpr int NAMEKEY = 3;
inline constexpr int TITLEKEY = 4;
}  // namespace AllField

}  // namespace quillery
