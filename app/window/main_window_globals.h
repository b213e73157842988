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

// Category names are 24 characters; so are the texts of the tabs that show them.
inline constexpr std::size_t kCategoryLength = 24;

extern FixedString<kCategoryLength> CURRENTTEXT;  // text of the selected tab; "ALL" for "ALL"
extern FixedString<50> CURRENTSORTKEY;            // sort key of the selected entry
extern FixedString<50> NEWSORTKEY;                // a pending re-selection key
extern FixedString<20> FINDSTRING;                // the text last searched for

extern std::uint8_t LISTBYTITLE;     // the "List by Title" check box
extern std::int32_t SHEET;           // the sheet's selected tab (its position)
extern std::int16_t CURRENTTAB;      // control number of the selected tab
extern std::int32_t CURRENTPOINTER;  // record position of the selected entry
extern std::uint8_t CURRENTKEYTYPE;
extern std::int32_t LETTER;         // the letter buttons' value, 1 for A to 26 for Z
extern std::int32_t PENDINGADD;     // record position of a new entry not yet kept; 0: none
extern std::int16_t PENDINGFIND;    // control number of the find tab while it exists; 0: none
extern std::uint8_t RECORDCHANGED;  // an entry field was selected since the entry was shown
extern std::uint8_t IGNORECASE;

// `ALLQUEUE`: one row per current entry, in name-key (or title-key) order. Record positions are
// 32-bit: every save takes a new one, and a catalogue in long use passes 32,767 of them.
struct AllRow {
    std::int32_t POINTER = 0;
    FixedString<50> SORTKEY;
    FixedString<50> NAMEKEY;
    FixedString<50> TITLEKEY;
    std::uint8_t KEYTYPE = 0;
    FixedString<kCategoryLength> CATEGORY;
};
extern AllRow ALL;
extern Queue ALLQUEUE;

// `TABQUEUE`: the rows of one category tab, or the results of a find.
struct TabRow {
    std::int32_t POINTER = 0;
    FixedString<50> SORTKEY;
    FixedString<50> NAMEKEY;
    FixedString<50> TITLEKEY;
    std::uint8_t KEYTYPE = 0;
};
extern TabRow TAB;
extern Queue TABQUEUE;

// `CATEGORYQUEUE`: the distinct categories in order; also the category box's drop list.
struct CategoryRow {
    FixedString<kCategoryLength> CATEGORY;
};
extern CategoryRow CAT;
extern Queue CATEGORYQUEUE;

// `UNDOQUEUE`: one row per undoable operation; the last row is undone first.
struct UndoRow {
    std::uint8_t ACTION = 0;  // 1 new or duplicate, 2 added whole, 3 save, 4 delete
    FixedString<50> SORTKEY;
    std::uint8_t KEYTYPE = 0;
    std::int32_t POINTER = 0;
    std::int32_t OLDPOINTER = 0;
};
extern UndoRow UNDO;
extern Queue UNDOQUEUE;

// Field numbers shared by ALLQUEUE and TABQUEUE, for keys and for binding the list.
namespace AllField {
inline constexpr int POINTER = 1;
inline constexpr int SORTKEY = 2;
inline constexpr int NAMEKEY = 3;
inline constexpr int TITLEKEY = 4;
inline constexpr int KEYTYPE = 5;
}  // namespace AllField

// `ACTQUEUE` and its `ACT:` fields: the queue the list shows (ALLQUEUE or TABQUEUE) and
// references to the fields of that queue's row buffer. SORTKEY is the field the list shows.
struct ActiveRow {
    std::int32_t* POINTER = &ALL.POINTER;
    FixedString<50>* SORTKEY = &ALL.NAMEKEY;
    FixedString<50>* NAMEKEY = &ALL.NAMEKEY;
    FixedString<50>* TITLEKEY = &ALL.TITLEKEY;
    std::uint8_t* KEYTYPE = &ALL.KEYTYPE;
    int sortField = AllField::NAMEKEY;  // SORTKEY's field number in the queue
};
extern Queue* ACTQUEUE;
extern ActiveRow ACT;

}  // namespace quillery
