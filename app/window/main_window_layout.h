// The main window's stored layout "DISPLAYQUILLERY$QUICKWINDOW": menus, tool buttons, the tab
// sheet with its letter buttons, the entry list and the entry panel, and the field numbers that
// address them.
#pragma once

#include <span>

#include "runtime/window/layout.h"

namespace quillery {

namespace displayquillery {

// Tab numbers are computed: ALL is 31, the k-th category tab 31 + k, the find tab follows the
// last category. Everything else is numbered out of their way.
inline constexpr int kFirstCategoryTab = 32;

enum Field : int {
    SHEET = 1,
    ALL = 31,

    // Menus and their items.
    FILEMENU = 10001,
    AWARDS,
    FILENEW,
    FILEOPEN,
    FILESAVEAS,
    FILEEXIT,
    BOOKMENU,
    BOOKNEW,
    BOOKDUPLICATE,
    BOOKDELETE,
    BOOKSAVE,
    BOOKUNDO,
    BOOKFIND,
    REPORTSMENU,
    AUTHORREPORT,
    TITLEREPORT,
    LOCATIONREPORT,
    CATEGORYREPORT,
    RANKINGREPORT,
    CONDITIONREPORT,
    VALUEREPORT,
    ISBNREPORT,
    EDITIONREPORT,
    PUBDATEREPORT,
    BUYDATEREPORT,
    PRINTDATEREPORT,
    OTHERREPORT,
    HELPMENU,
    HELPCONTENTS,
    HELPSEARCH,
    HELPABOUT,
    FILEIMPORT,  // "&Import..." and "&Export..." of the file menu, numbered after the rest
    FILEEXPORT,
    BOOKLOOKUP,  // "&Look Up by ISBN..."
    BOOKCOVER,   // "Co&ver..."
    COVERVIEW,   // the book's cover above the entry panel

    // Tool buttons.
    TOOLBAR = 10101,
    NEW,
    DUPLICATE,
    DELETE,
    SAVE,
    UNDO,
    FIND,
    LOOKUP,
    FILTERBOX,  // the search box that narrows the list as the person types

    // The letter buttons on the "ALL" tab.
    LETTER = 10201,
    A,
    B,
    C,
    D,
    E,
    F,
    G,
    H,
    I,
    J,
    KA,
    L,
    M,
    N,
    O,
    P,
    Q,
    R,
    S,
    T,
    U,
    V,
    W,
    X,
    Y,
    Z,

    BOOKLIST = 10301,
    PANELUSE,

    // The entry panel: each prompt, then its entry.
    BEGIN,
    QLY_LASTNAME,
    FIRST,
    QLY_FIRSTNAME,
    LAST,
    QLY_TITLE,
    CAT,
    QLY_CATEGORY,
    RATE,
    QLY_RATING,
    ISBN,
    QLY_ISBN,
    COND,
    QLY_CONDITION,
    PUD,
    QLY_PUBDATE,
    OTHER,
    QLY_OTHER,
    LOC,
    QLY_LOCATION,
    BD,
    QLY_BUYDATE,
    ED,
    QLY_EDITION,
    VAL,
    QLY_VALUE,
    PRD,
    QLY_PRINTDATE,

    LISTBYTITLE,
    COMMENT,
};

// The size the window was designed at (tool bar included); in larger windows RESOLUTION gives
// the extra room to the list, and the window is never made smaller.
inline constexpr int kDesignWidth = 429;
inline constexpr int kDesignHeight = 281;

// Positions in the use list of the window (from 1).
namespace Use {
inline constexpr int LASTNAME = 1;
inline constexpr int FIRSTNAME = 2;
inline constexpr int TITLE = 3;
inline constexpr int CATEGORY = 4;
inline constexpr int RATING = 5;
inline constexpr int ISBN = 6;
inline constexpr int CONDITION = 7;
inline constexpr int PUBDATE = 8;
inline constexpr int OTHER = 9;
inline constexpr int LOCATION = 10;
inline constexpr int BUYDATE = 11;
inline constexpr int EDITION = 12;
inline constexpr int VALUE = 13;
inline constexpr int PRINTDATE = 14;
inline constexpr int LISTBYTITLE = 15;
inline constexpr int LETTER = 16;
inline constexpr int SHEET = 17;
}  // namespace Use

// How a control takes the room of a window larger than its design.
enum class Anchor {
    Grows,        // the sheet and the list: every extra unit of width and height
    RightBottom,  // the entry panel and what sits by it: moves with the bottom right corner
    Letter,       // a letter button: down with the bottom, spread along the extra width
    LetterBar,    // the letter buttons' group: down with the bottom, as wide as they spread
    Right,        // the tool bar's search box: moves with the right edge
    Cover,        // the cover: grows upward into the height above the panel, portrait as designed
};

// A control RESOLUTION places, and how.
struct AnchoredControl {
    int field;
    Anchor anchor;
};

}  // namespace displayquillery

extern const WindowLayout kMainWindowLayout;

// The controls RESOLUTION places, in the order it places them.
std::span<const displayquillery::AnchoredControl> anchoredControls();

// The entry panel's fields in reading order, the left column and then the right: the tab order.
std::span<const int> panelReadingOrder();

// The layout entry of `field`; nullptr for a field the layout does not hold.
const ControlLayout* mainWindowControl(int field);

}  // namespace quillery
