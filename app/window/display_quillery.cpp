// The main window procedure: its opening sequence, the layout scaling for wide windows, the
// twin enabling of menu items and tool buttons, and the accept loop's dispatch.
#include "app/window/display_quillery.h"

#include <vector>

#include "app/catalogue_globals.h"
#include "app/window/main_window_globals.h"
#include "app/window/main_window_layout.h"
#include "app/window/open_quillery.h"
#include "runtime/window/help.h"
#include "runtime/window/window.h"
#include "support/about_quillery.h"
#include "support/book_splash.h"

namespace quillery {

namespace W = displayquillery;

namespace {

constexpr char kWindowHelpFile[] = "Book.hlp";
constexpr char kWindowIcon[] = "book.bmp";
// While the window has the focus its timer ticks every fifth of a second.
constexpr int kFocusTimer = 20;

MainCommandTap& commandTap() {
    static MainCommandTap tap;
    return tap;
}

// The window's use variables, in the order of the layout's use numbers.
std::vector<UseVariable> mainWindowUses() {
    return {use(QLY.LASTNAME), use(QLY.FIRSTNAME), use(QLY.TITLE),     use(QLY.CATEGORY),
            use(QLY.RATING),   use(QLY.ISBN),      use(QLY.CONDITION), use(QLY.PUBDATE),
            use(QLY.OTHER),    use(QLY.LOCATION),  use(QLY.BUYDATE),   use(QLY.EDITION),
            use(QLY.VALUE),    use(QLY.PRINTDATE), use(LISTBYTITLE),   use(LETTER),
            use(SHEET)};
}

void enableTwins(int menuItem, int button, bool enabled) {
    if (enabled) {
        ENABLE(menuItem);
        ENABLE(button);
    } else {
        DISABLE(menuItem);
        DISABLE(button);
    }
}

// Insert and Delete in the list act exactly as the menu items do.
void listKey() {
    switch (KEYCODE()) {
        case KEY::Insert:
            POST(EVENT::Accepted, W::BOOKNEW);
            break;
        case KEY::Delete:
            POST(EVENT::Accepted, W::BOOKDELETE);
            break;
        default:
            break;
    }
}

// Runs the handler of `command`. The catalogue commands, the editing cycle, undo, find, the
// listings, the comment window and the list navigation arrive with the catalogue's file layer;
// their events are dispatched here already and do nothing yet.
void runCommand(MainCommand command) {
    switch (command) {
        case MainCommand::About:
            ABOUTQUILLERY();
            break;
        case MainCommand::ListKey:
            listKey();
            break;
        case MainCommand::OpenExample:
        case MainCommand::NewFile:
        case MainCommand::OpenFile:
        case MainCommand::SaveFileAs:
        case MainCommand::NewEntry:
        case MainCommand::DuplicateEntry:
        case MainCommand::DeleteEntry:
        case MainCommand::SaveEntry:
        case MainCommand::Undo:
        case MainCommand::Find:
        case MainCommand::Report:
        case MainCommand::Comment:
        case MainCommand::ListByTitle:
        case MainCommand::ChooseTab:
        case MainCommand::JumpToLetter:
        case MainCommand::ChooseEntry:
        case MainCommand::EditField:
        case MainCommand::Exit:
        case MainCommand::None:
            break;
    }
}

// Opens the window's catalogue and gets everything ready for the first event.
void startWindow(std::string_view catalogue) {
    HELP(kWindowHelpFile);
    PROP(0, Prop::Icon) = kWindowIcon;
    if (static_cast<long>(PROP(0, Prop::Width)) > W::kDesignWidth) RESOLUTION();
    enableUndo(false);
    PROP(W::SHEET, Prop::Choice) = 1;  // the "ALL" tab
    bindList(W::QLY_CATEGORY, CATEGORYQUEUE, 1);
    ALERT(W::BOOKLIST, KEY::Insert);
    ALERT(W::BOOKLIST, KEY::Delete);
    QUILLERYFILE = catalogue;
    OPENQUILLERY();
}

}  // namespace

int resolutionHundredths(int width) {
    // width / 429 rounded to the nearest hundredth.
    return (width * 200 + W::kDesignWidth) / (2 * W::kDesignWidth);
}

void RESOLUTION() {
    const int k = resolutionHundredths(static_cast<int>(PROP(0, Prop::Width)));
    for (const W::ScaledControl& scaled : resolutionControls()) {
        const ControlLayout* control = mainWindowControl(scaled.field);
        if (control == nullptr) continue;
        // Coordinates are whole units: the scaled value is cut, not rounded.
        PROP(scaled.field, Prop::X) = control->at.x * k / 100;
        PROP(scaled.field, Prop::Y) = control->at.y * k / 100;
        if (scaled.size) {
            PROP(scaled.field, Prop::Width) = control->at.width * k / 100;
            PROP(scaled.field, Prop::Height) = control->at.height * k / 100;
        }
    }
}

void enableNewAndDuplicate(bool enabled) {
    enableTwins(W::BOOKNEW, W::NEW, enabled);
    enableTwins(W::BOOKDUPLICATE, W::DUPLICATE, enabled);
}

void enableSave(bool enabled) {
    enableTwins(W::BOOKSAVE, W::SAVE, enabled);
}

void enableUndo(bool enabled) {
    enableTwins(W::BOOKUNDO, W::UNDO, enabled);
}

MainCommandTap setMainCommandTap(MainCommandTap tap) {
    MainCommandTap previous = std::move(commandTap());
    commandTap() = std::move(tap);
    return previous;
}

void DISPLAYQUILLERY(std::string_view catalogue) {
    Window window(kMainWindowLayout, mainWindowUses());
    OPEN(window);
    startWindow(catalogue);
    BOOKSPLASH();

    while (ACCEPT(window)) {
        const EventCode event = EVENT();
        if (event == EVENT::LoseFocus) {
            PROP(0, Prop::Timer) = 0;
            continue;
        }
        if (event == EVENT::GainFocus) {
            PROP(0, Prop::Timer) = kFocusTimer;
            continue;
        }
        const MainCommand command = commandOf(event, FIELD());
        if (command == MainCommand::None) continue;
        if (commandTap()) commandTap()(command, FIELD());
        if (command == MainCommand::Exit) break;
        runCommand(command);
    }
    CLOSE(window);
}

}  // namespace quillery
