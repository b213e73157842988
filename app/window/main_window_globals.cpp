// The main window's globals in their start state: texts blank, numbers zero, queues empty.
#include "app/window/main_window_globals.h"

namespace quillery {

FixedString<40> TITLESTRING{kTitleText};

FixedString<kCategoryLength> CURRENTTEXT;
FixedString<50> CURRENTSORTKEY;
FixedString<50> NEWSORTKEY;
FixedString<20> FINDSTRING;

std::uint8_t LISTBYTITLE = 0;
std::int32_t SHEET = 0;
std::int16_t CURRENTTAB = 0;
std::int32_t CURRENTPOINTER = 0;
std::uint8_t CURRENTKEYTYPE = 0;
std::int32_t LETTER = 0;
std::int32_t PENDINGADD = 0;
std::int16_t PENDINGFIND = 0;
std::uint8_t RECORDCHANGED = 0;
std::uint8_t IGNORECASE = 0;

AllRow ALL;
Queue ALLQUEUE(ALL, {&AllRow::POINTER, &AllRow::SORTKEY, &AllRow::NAMEKEY, &AllRow::TITLEKEY,
                     &AllRow::KEYTYPE, &AllRow::CATEGORY});

TabRow TAB;
Queue TABQUEUE(TAB, {&TabRow::POINTER, &TabRow::SORTKEY, &TabRow::NAMEKEY, &TabRow::TITLEKEY,
                     &TabRow::KEYTYPE});

CategoryRow CAT;
Queue CATEGORYQUEUE(CAT, {&CategoryRow::CATEGORY});

Queue* ACTQUEUE = &ALLQUEUE;
ActiveRow ACT;

UndoRow UNDO;
Queue UNDOQUEUE(UNDO, {&UndoRow::ACTION, &UndoRow::SORTKEY, &UndoRow::KEYTYPE, &UndoRow::POINTER,
                       &UndoRow::OLDPOINTER});

}  // namespace quillery
