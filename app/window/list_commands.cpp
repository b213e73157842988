// The list's headings and the search box.
#include "app/window/list_commands.h"

#include <QLineEdit>

#include "app/window/editing_cycle.h"
#include "app/window/entry_lists.h"
#include "app/window/list_shape.h"
#include "app/window/main_window_globals.h"
#include "app/window/main_window_layout.h"
#include "runtime/window/window.h"
#include "support/check_error.h"

namespace quillery {

namespace W = displayquillery;

namespace {

constexpr int kFindKey = KEY::Ctrl | 'F';

// The book being edited stays the one selected, wherever the list now shows it.
void keepSelection() {
    NEWSORTKEY.clear();
    SELECTCURRENTENTRY();
}

}  // namespace

void prepareListTools(Window& window) {
    forgetListShape();
    ALERT(0, kFindKey);
    ALERT(W::FILTERBOX, KEY::Esc);
    if (auto* box = qobject_cast<QLineEdit*>(window.controlWidget(W::FILTERBOX))) {
        box->setPlaceholderText(QStringLiteral("Search the list"));
        box->setClearButtonEnabled(true);
    }
}

void pressListHeading() {
    const int column = static_cast<int>(PROP(W::BOOKLIST, Prop::HeaderColumn));
    if (KEYCODE() == KEY::MouseRight) {
        const int item = POPUP(columnMenu());
        if (item > 0) toggleColumnOfMenu(item);
        return;
    }
    const std::optional<BookColumn> chosen = shownColumn(column);
    if (!chosen || !settlePendingWork()) return;
    if (!orderListBy(*chosen)) CHECKERROR("Can't Order the Books");
    keepSelection();
}

void filterListAsTyped() {
    std::string typed = PROP(W::FILTERBOX, Prop::Text);
    while (!typed.empty() && typed.back() == ' ')
        typed.pop_back();
    if (typed == listFilter()) return;
    if (!settlePendingWork()) {
        // The edit could not be kept: the list stays as it was, and so does the box.
        PROP(W::FILTERBOX, Prop::Text) = listFilter();
        return;
    }
    setListFilter(typed);
    keepSelection();
}

void listToolKey() {
    if (KEYCODE() == kFindKey) {
        const std::string text = PROP(W::FILTERBOX, Prop::Text);
        SELECT(W::FILTERBOX, 1, static_cast<int>(text.size()));
        return;
    }
    if (KEYCODE() == KEY::Esc && FIELD() == W::FILTERBOX) {
        PROP(W::FILTERBOX, Prop::Text) = "";
        filterListAsTyped();
    }
}

void keepListShaped() {
    shapeBookList();
}

}  // namespace quillery
