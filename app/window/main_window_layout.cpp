// The main window's layout as designed at 429 dialog units wide. Menus and tool buttons come
// first, then the sheet with the entry list, the letter buttons and the entry panel.
#include "app/window/main_window_layout.h"

#include <algorithm>
#include <array>

namespace quillery {

using namespace displayquillery;

namespace {

constexpr ControlLayout menu(int field, std::string_view text) {
    return {.kind = ControlKind::Menu, .field = field, .text = text};
}
constexpr ControlLayout item(int field, std::string_view text, int parent,
                             std::string_view shortcut = {}, unsigned flags = 0) {
    return {.kind = ControlKind::Item,
            .field = field,
            .text = text,
            .parent = parent,
            .shortcut = shortcut,
            .flags = flags};
}
constexpr ControlLayout separator(int parent) {
    return {.kind = ControlKind::Separator, .parent = parent};
}

// Tool buttons sit 35 units apart, the first at the tool bar's left edge.
constexpr int kToolButtonStep = 35;
constexpr ControlLayout toolButton(int field, int index, std::string_view text,
                                   std::string_view icon, std::string_view tip) {
    return {.kind = ControlKind::Button,
            .field = field,
            .text = text,
            .at = {kToolButtonStep * index, 2, 33, 26},
            .parent = TOOLBAR,
            .icon = icon,
            .tip = tip};
}

// The k-th letter button (from 1), with its icon: "LA.ICO" for A, "B.ICO" to "Z.ICO" after.
constexpr std::array<std::string_view, 26> kLetterIcons = {
    "LA.ICO", "B.ICO", "C.ICO", "D.ICO", "E.ICO", "F.ICO", "G.ICO", "H.ICO", "I.ICO",
    "J.ICO",  "K.ICO", "L.ICO", "M.ICO", "N.ICO", "O.ICO", "P.ICO", "Q.ICO", "R.ICO",
    "S.ICO",  "T.ICO", "U.ICO", "V.ICO", "W.ICO", "X.ICO", "Y.ICO", "Z.ICO"};
constexpr std::array<std::string_view, 26> kLetterTexts = {
    "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
    "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z"};
constexpr ControlLayout letterButton(int k) {
    return {.kind = ControlKind::Radio,
            .field = A + k - 1,
            .text = kLetterTexts[k - 1],
            .at = {19 + 13 * (k - 1), 230, 12, 14},
            .parent = LETTER,
            .icon = kLetterIcons[k - 1],
            .flags = ControlFlag::kIconOnly};
}

// The entry panel's rows, 17 units apart; long fields have a row of their own on the left,
// the short ones pair up with a right-hand column.
constexpr int kRow[] = {67, 84, 101, 118, 135, 152, 169, 186};
constexpr int kLeftPrompt = 203;
constexpr int kLeftEntry = 249;
constexpr int kRightPrompt = 317;
constexpr int kRightEntry = 351;

// A prompt is as high as its entry, its text centred on the entry's.
constexpr ControlLayout prompt(int field, std::string_view text, int x, int row) {
    return {.kind = ControlKind::Prompt,
            .field = field,
            .text = text,
            .at = {x, kRow[row], (x == kLeftPrompt ? kLeftEntry : kRightEntry) - x - 2, 12}};
}
constexpr ControlLayout entry(int field, int x, int row, int width, std::string_view picture,
                              int use, ControlKind kind = ControlKind::Entry) {
    return {.kind = kind,
            .field = field,
            .at = {x, kRow[row], width, 12},
            .picture = picture,
            .use = use};
}

constexpr auto kControls = [] {
    std::array<ControlLayout, 111> c{};
    std::size_t n = 0;
    auto put = [&](const ControlLayout& control) { c[n++] = control; };

    put(menu(FILEMENU, "&File"));
    put(item(AWARDS, "Open Awards File (Example)", FILEMENU));
    put(separator(FILEMENU));
    put(item(FILENEW, "&New Quillery File...", FILEMENU));
    put(item(FILEOPEN, "&Open Quillery File ...", FILEMENU));
    put(item(FILESAVEAS, "&Save Quillery File As ...", FILEMENU));
    put(separator(FILEMENU));
    put(item(FILEIMPORT, "&Import...", FILEMENU));
    put(item(FILEEXPORT, "&Export...", FILEMENU));
    put(separator(FILEMENU));
    put(item(FILEEXIT, "E&xit", FILEMENU));

    put(menu(BOOKMENU, "&Book"));
    put(item(BOOKNEW, "&New\tCtrl N", BOOKMENU, "Ctrl+N"));
    put(item(BOOKLOOKUP, "&Look Up by ISBN...\tCtrl L", BOOKMENU, "Ctrl+L"));
    put(item(BOOKDUPLICATE, "Du&plicate", BOOKMENU));
    put(item(BOOKDELETE, "&Delete\tCtrl D", BOOKMENU, "Ctrl+D"));
    put(item(BOOKSAVE, "&Save", BOOKMENU));
    put(item(BOOKUNDO, "&Undo", BOOKMENU));
    put(separator(BOOKMENU));
    put(item(BOOKFIND, "&Find", BOOKMENU));
    put(item(BOOKCOVER, "Co&ver...", BOOKMENU));

    put(menu(REPORTSMENU, "&Reports"));
    put(item(AUTHORREPORT, "Print by Author", REPORTSMENU));
    put(item(TITLEREPORT, "Print by Title", REPORTSMENU));
    put(item(LOCATIONREPORT, "Print by Location", REPORTSMENU));
    put(item(CATEGORYREPORT, "Print by Category", REPORTSMENU));
    put(item(RANKINGREPORT, "Print by Rating", REPORTSMENU));
    put(item(CONDITIONREPORT, "Print by Condition", REPORTSMENU));
    put(item(VALUEREPORT, "Print by Value", REPORTSMENU));
    put(item(ISBNREPORT, "Print by ISBN", REPORTSMENU));
    put(item(EDITIONREPORT, "Print by Edition", REPORTSMENU));
    put(item(PUBDATEREPORT, "Print by Publisher's Date", REPORTSMENU));
    put(item(BUYDATEREPORT, "Print by Buy Date", REPORTSMENU));
    put(item(PRINTDATEREPORT, "Print by PrintDate", REPORTSMENU));
    put(item(OTHERREPORT, "Print by Other", REPORTSMENU));

    put(menu(HELPMENU, "&Help"));
    put(item(HELPCONTENTS, "&How to Use Quillery ...", HELPMENU, {}, ControlFlag::kHelpContents));
    put(item(HELPSEARCH, "&Search Quillery Help...", HELPMENU, {}, ControlFlag::kHelpSearch));
    put(separator(HELPMENU));
    put(item(HELPABOUT, "&About Quillery ...", HELPMENU));

    put({.kind = ControlKind::Toolbar, .field = TOOLBAR, .at = {0, 0, 0, 30}});
    put(toolButton(NEW, 0, "New", "book2.ICO", "Add New Book"));
    put(toolButton(DUPLICATE, 1, "Copy", "bookcopy.ICO", "Create Duplicate Book"));
    put(toolButton(DELETE, 2, "Delete", "cancel.ICO", "Delete Book"));
    put(toolButton(SAVE, 3, "Save", "save.ICO", "Save Book Contents"));
    put(toolButton(UNDO, 4, "Undo", "undo.ICO", "Undo Last Operation"));
    put(toolButton(FIND, 5, "Find", "bookfind.ICO", "Find Matching Books"));
    put(toolButton(LOOKUP, 6, "Look Up", "booklookup.ICO", "Look Up a Book by ISBN"));
    put({.kind = ControlKind::Entry,
         .field = FILTERBOX,
         .at = {kDesignWidth - 6 - 110, 9, 110, 13},
         .parent = TOOLBAR,
         .tip = "Show only the books whose entry holds this text (Ctrl+F; Escape clears)",
         .flags = ControlFlag::kImmediate});

    // The sheet keeps the same 3-unit margin from every edge of the client area.
    put({.kind = ControlKind::Sheet,
         .field = SHEET,
         .at = {3, 3, kDesignWidth - 6, 245},
         .use = Use::SHEET});
    put({.kind = ControlKind::Tab, .field = ALL, .text = "ALL", .parent = SHEET});
    put({.kind = ControlKind::Option,
         .field = LETTER,
         .at = {17, 228, 342, 18},
         .use = Use::LETTER,
         .parent = ALL,
         .flags = ControlFlag::kNoFrame});
    for (int k = 1; k <= 26; ++k)
        put(letterButton(k));

    // The list shows on every tab, so it belongs to the window, not to the "ALL" tab.
    put({.kind = ControlKind::List,
         .field = BOOKLIST,
         .at = {9, 21, 185, 201},
         .flags = ControlFlag::kVScroll,
         .format = "[16607L(2)]"});

    // The cover, portrait, in the room the list leaves above the entry panel.
    put({.kind = ControlKind::Image, .field = COVERVIEW, .at = {386, 21, 26, 39}});
    put({.kind = ControlKind::Group, .field = PANELUSE, .at = {199, 62, 213, 140}});
    put(prompt(BEGIN, "&Last Name:", kLeftPrompt, 0));
    put(entry(QLY_LASTNAME, kLeftEntry, 0, 130, "s20", Use::LASTNAME));
    put(prompt(FIRST, "F&irst:", kLeftPrompt, 1));
    put(entry(QLY_FIRSTNAME, kLeftEntry, 1, 64, "s20", Use::FIRSTNAME));
    put(prompt(LAST, "&Title:", kLeftPrompt, 2));
    put(entry(QLY_TITLE, kLeftEntry, 2, 130, "s45", Use::TITLE));
    put(prompt(CAT, "Ca&tegory:", kLeftPrompt, 3));
    put(entry(QLY_CATEGORY, kLeftEntry, 3, 64, "s20", Use::CATEGORY, ControlKind::Combo));
    put(prompt(RATE, "R&ating:", kRightPrompt, 1));
    put(entry(QLY_RATING, kRightEntry, 1, 10, "s1", Use::RATING));
    put(prompt(ISBN, "ISBN:", kRightPrompt, 3));
    put(entry(QLY_ISBN, kRightEntry, 3, 55, "s13", Use::ISBN));
    put(prompt(COND, "Condition:", kLeftPrompt, 4));
    put(entry(QLY_CONDITION, kLeftEntry, 4, 64, "s15", Use::CONDITION));
    put(prompt(PUD, "&Publish Date:", kLeftPrompt, 5));
    put(entry(QLY_PUBDATE, kLeftEntry, 5, 64, "s20", Use::PUBDATE));
    put(prompt(OTHER, "&Other:", kLeftPrompt, 7));
    put(entry(QLY_OTHER, kLeftEntry, 7, 64, "s20", Use::OTHER));
    put(prompt(LOC, "Location:", kRightPrompt, 4));
    put(entry(QLY_LOCATION, kRightEntry, 4, 55, "s15", Use::LOCATION));
    put(prompt(BD, "Buy Date:", kRightPrompt, 5));
    put(entry(QLY_BUYDATE, kRightEntry, 5, 55, "s15", Use::BUYDATE));
    put(prompt(ED, "Edition:", kRightPrompt, 6));
    put(entry(QLY_EDITION, kRightEntry, 6, 55, "s15", Use::EDITION));
    put(prompt(VAL, "Value:", kRightPrompt, 7));
    put(entry(QLY_VALUE, kRightEntry, 7, 55, "s15", Use::VALUE));
    put(prompt(PRD, "Print Date:", kLeftPrompt, 6));
    put(entry(QLY_PRINTDATE, kLeftEntry, 6, 64, "s15", Use::PRINTDATE));

    put({.kind = ControlKind::Check,
         .field = displayquillery::LISTBYTITLE,
         .text = "&List by Title",
         .at = {203, 210, 80, 14},
         .use = Use::LISTBYTITLE});
    put({.kind = ControlKind::Button,
         .field = COMMENT,
         .text = "Comments",
         .at = {365, 206, 47, 36},
         .icon = "note.ico"});
    if (n != c.size()) throw "the control table's size must match its contents";
    return c;
}();

// The list takes the extra room; the panel keeps its size at the bottom right, where the
// sheet's corner goes.
constexpr AnchoredControl kAnchored[] = {
    {SHEET, Anchor::Grows},
    {BOOKLIST, Anchor::Grows},
    {PANELUSE, Anchor::RightBottom},
    {COVERVIEW, Anchor::Cover},
    {LETTER, Anchor::LetterBar},
    {FILTERBOX, Anchor::Right},
    {COMMENT, Anchor::RightBottom},
    {BEGIN, Anchor::RightBottom},
    {QLY_LASTNAME, Anchor::RightBottom},
    {FIRST, Anchor::RightBottom},
    {QLY_FIRSTNAME, Anchor::RightBottom},
    {LAST, Anchor::RightBottom},
    {QLY_TITLE, Anchor::RightBottom},
    {CAT, Anchor::RightBottom},
    {QLY_CATEGORY, Anchor::RightBottom},
    {RATE, Anchor::RightBottom},
    {QLY_RATING, Anchor::RightBottom},
    {ISBN, Anchor::RightBottom},
    {QLY_ISBN, Anchor::RightBottom},
    {COND, Anchor::RightBottom},
    {QLY_CONDITION, Anchor::RightBottom},
    {PUD, Anchor::RightBottom},
    {QLY_PUBDATE, Anchor::RightBottom},
    {OTHER, Anchor::RightBottom},
    {QLY_OTHER, Anchor::RightBottom},
    {LOC, Anchor::RightBottom},
    {QLY_LOCATION, Anchor::RightBottom},
    {BD, Anchor::RightBottom},
    {QLY_BUYDATE, Anchor::RightBottom},
    {ED, Anchor::RightBottom},
    {QLY_EDITION, Anchor::RightBottom},
    {VAL, Anchor::RightBottom},
    {QLY_VALUE, Anchor::RightBottom},
    {PRD, Anchor::RightBottom},
    {QLY_PRINTDATE, Anchor::RightBottom},
    {displayquillery::LISTBYTITLE, Anchor::RightBottom},
    {A, Anchor::Letter},
    {B, Anchor::Letter},
    {C, Anchor::Letter},
    {D, Anchor::Letter},
    {E, Anchor::Letter},
    {F, Anchor::Letter},
    {G, Anchor::Letter},
    {H, Anchor::Letter},
    {I, Anchor::Letter},
    {J, Anchor::Letter},
    {KA, Anchor::Letter},
    {L, Anchor::Letter},
    {M, Anchor::Letter},
    {N, Anchor::Letter},
    {O, Anchor::Letter},
    {P, Anchor::Letter},
    {Q, Anchor::Letter},
    {R, Anchor::Letter},
    {S, Anchor::Letter},
    {T, Anchor::Letter},
    {U, Anchor::Letter},
    {V, Anchor::Letter},
    {W, Anchor::Letter},
    {X, Anchor::Letter},
    {Y, Anchor::Letter},
    {Z, Anchor::Letter},
};

// Down the left column, where a book's author and title are typed one after the other, then
// down the right column.
constexpr int kReadingOrder[] = {
    QLY_LASTNAME, QLY_FIRSTNAME, QLY_TITLE, QLY_CATEGORY, QLY_CONDITION, QLY_PUBDATE, QLY_PRINTDATE,
    QLY_OTHER,    QLY_RATING,    QLY_ISBN,  QLY_LOCATION, QLY_BUYDATE,   QLY_EDITION, QLY_VALUE,
};

}  // namespace

const WindowLayout kMainWindowLayout{.module = "DISPLAYQUILLERY",
                                     .structure = "QUICKWINDOW",
                                     .at = {0, 0, kDesignWidth, kDesignHeight},
                                     .icon = "book.ico",
                                     .flags = WindowFlag::kCentered | WindowFlag::kResizable,
                                     .controls = kControls};

std::span<const AnchoredControl> anchoredControls() {
    return kAnchored;
}

std::span<const int> panelReadingOrder() {
    return kReadingOrder;
}

const ControlLayout* mainWindowControl(int field) {
    const auto it = std::find_if(kControls.begin(), kControls.end(),
                                 [field](const ControlLayout& c) { return c.field == field; });
    return it == kControls.end() ? nullptr : &*it;
}

}  // namespace quillery
