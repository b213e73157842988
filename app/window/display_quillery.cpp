// The main window procedure: its opening sequence, the layout scaling for wide windows, the
// twin enabling of menu items and tool buttons, and the accept loop's dispatch.
#include "app/window/display_quillery.h"

#include <QWidget>
#include <algorithm>
#include <span>
#include <vector>

#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "app/window/catalogue_damage.h"
#include "app/window/comment_window.h"
#include "app/window/cover_view.h"
#include "app/window/damage_guard.h"
#include "app/window/editing_cycle.h"
#include "app/window/exchange_windows.h"
#include "app/window/file_commands.h"
#include "app/window/find_books.h"
#include "app/window/isbn_questions.h"
#include "app/window/list_commands.h"
#include "app/window/listings.h"
#include "app/window/lookup_window.h"
#include "app/window/main_window_globals.h"
#include "app/window/main_window_layout.h"
#include "app/window/main_window_options.h"
#include "app/window/open_quillery.h"
#include "app/window/room_layout.h"
#include "app/window/sheet_tabs.h"
#include "app/window/twin_controls.h"
#include "app/window/typing_losses.h"
#include "app/window/undo.h"
#include "app/window/window_placement.h"
#include "runtime/window/help.h"
#include "runtime/window/message_box.h"
#include "runtime/window/window.h"
#include "storage/file_statements.h"
#include "support/about_quillery.h"
#include "support/book_splash.h"

namespace quillery {

namespace W = displayquillery;

namespace {

constexpr char kWindowHelpFile[] = "Book.hlp";
constexpr char kWindowIcon[] = "book.bmp";
constexpr char kExitCaption[] = "Exit";
// While the window has the focus its timer ticks every fifth of a second.
constexpr int kFocusTimer = 20;

// The window's use variables, in the order of the layout's use numbers.
std::vector<UseVariable> mainWindowUses() {
    return {use(QLY.LASTNAME), use(QLY.FIRSTNAME), use(QLY.TITLE),     use(QLY.CATEGORY),
            use(QLY.RATING),   use(QLY.ISBN),      use(QLY.CONDITION), use(QLY.PUBDATE),
            use(QLY.OTHER),    use(QLY.LOCATION),  use(QLY.BUYDATE),   use(QLY.EDITION),
            use(QLY.VALUE),    use(QLY.PRINTDATE), use(LISTBYTITLE),   use(LETTER),
            use(SHEET)};
}

// Insert and Delete in the list act exactly as the menu items do, and only when they may.
void listKey() {
    int item = 0;
    switch (KEYCODE()) {
        case KEY::Insert:
            item = W::BOOKNEW;
            break;
        case KEY::Delete:
            item = W::BOOKDELETE;
            break;
        default:
            listToolKey();
            return;
    }
    if (PROP(item, Prop::Disable).number() == 0) POST(EVENT::Accepted, item);
}

// Runs the handler of `command`.
void runCommand(MainCommand command) {
    switch (command) {
        case MainCommand::About:
            ABOUTQUILLERY();
            break;
        case MainCommand::ListKey:
            listKey();
            break;
        case MainCommand::OpenExample:
            openExampleCatalogue();
            break;
        case MainCommand::NewFile:
            newCatalogueFile();
            break;
        case MainCommand::OpenFile:
            openCatalogueFile();
            break;
        case MainCommand::SaveFileAs:
            saveCatalogueFileAs();
            break;
        case MainCommand::ImportBooks:
            importBooks();
            break;
        case MainCommand::ExportBooks:
            exportBooks();
            break;
        case MainCommand::NewEntry:
            newEntry();
            break;
        case MainCommand::DuplicateEntry:
            duplicateEntry();
            break;
        case MainCommand::DeleteEntry:
            deleteEntry();
            break;
        case MainCommand::SaveEntry:
            saveEntry();
            break;
        case MainCommand::Undo:
            undoLastOperation();
            break;
        case MainCommand::Find:
            findBooks();
            break;
        case MainCommand::LookUp:
            lookUpByIsbn();
            break;
        case MainCommand::ChooseCover:
            chooseCover();
            break;
        case MainCommand::Report:
            runListing(FIELD());
            break;
        case MainCommand::Comment:
            editComments();
            break;
        case MainCommand::ListByTitle:
            toggleListByTitle();
            break;
        case MainCommand::ChooseTab:
            chooseTab();
            break;
        case MainCommand::JumpToLetter:
            chooseLetter();
            break;
        case MainCommand::ChooseEntry:
            chooseEntry();
            break;
        case MainCommand::EditField:
            editField();
            break;
        case MainCommand::ListHeading:
            pressListHeading();
            break;
        case MainCommand::FilterList:
            filterListAsTyped();
            break;
        case MainCommand::ListToolKey:
            listToolKey();
            break;
        case MainCommand::Exit:
        case MainCommand::None:
            break;
    }
}

// Before the window closes, what is being edited is kept; when that fails the user decides.
bool readyToClose() {
    if (settlePendingWork()) return true;
    if (typingLossesDeclined() || isbnQuestionDeclined()) return false;  // back to the field
    return MESSAGE("The changes to this book could not be saved.  Exit anyway?", kExitCaption,
                   ICON::Question, BUTTON::Yes | BUTTON::No, BUTTON::No) == BUTTON::Yes;
}

// The layout lists the panel's short fields after the long ones; Tab goes in reading order.
void orderPanelTabs(Window& window) {
    const std::span<const int> order = panelReadingOrder();
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(window.controlWidget(order[i - 1]), window.controlWidget(order[i]));
    }
}

// Opens the window's catalogue and gets everything ready for the first event.
void startWindow(Window& window, std::string_view catalogue) {
    HELP(kWindowHelpFile);
    PROP(0, Prop::Icon) = kWindowIcon;
    PROP(0, Prop::MinWidth) = W::kDesignWidth;
    PROP(0, Prop::MinHeight) = W::kDesignHeight;
    restoreWindowPlacement(window);
    orderPanelTabs(window);
    prepareListTools(window);
    tidyIsbnAsTyped(window);
    loadIsbnPreference();
    RESOLUTION();
    enableUndo(false);
    enableListings(listingsAvailable());
    PROP(W::SHEET, Prop::Choice) = 1;  // the "ALL" tab
    bindList(W::QLY_CATEGORY, CATEGORYQUEUE, 1);
    ALERT(W::BOOKLIST, KEY::Insert);
    ALERT(W::BOOKLIST, KEY::Delete);
    QUILLERYFILE = catalogue;
    reportingDamage([] {
        OPENQUILLERY();
        keepListShaped();
    });
    SELECT(W::BOOKLIST);
}

}  // namespace

void RESOLUTION() {
    fitControlsToRoom();
}

void DISPLAYQUILLERY(std::string_view catalogue) {
    const CatalogueDamageCaught damageCaught;
    Window window(kMainWindowLayout, mainWindowUses());
    OPEN(window);
    startWindow(window, catalogue);
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
        if (event == EVENT::Sized) {
            RESOLUTION();
            reportingDamage(keepListShaped);
            continue;
        }
        if (event == EVENT::CloseWindow) {
            // The close box, as "Exit": what is being edited is kept, or the person decides.
            bool ready = true;
            if (reportingDamage([&] { ready = readyToClose(); }) && !ready) refuseClose();
            continue;
        }
        const MainCommand command = commandOf(event, FIELD());
        if (command == MainCommand::None) continue;
        if (const MainCommandTap& tap = mainWindowOptions().commandTap; tap) tap(command, FIELD());
        if (command == MainCommand::Exit) {
            bool ready = true;
            if (!reportingDamage([&] { ready = readyToClose(); })) break;
            if (ready) break;
            continue;
        }
        reportingDamage([command] {
            runCommand(command);
            keepListShaped();
        });
    }
    keepWindowPlacement(window);
    reportingDamage([] { CLOSE(QUILLERY); });
    CLOSE(window);
}

}  // namespace quillery
