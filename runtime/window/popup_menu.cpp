// POPUP: the menu at the pointer, returning the number of the item chosen.
#include "runtime/window/popup_menu.h"

#include <QCursor>
#include <QMenu>

#include "runtime/window/screen_text.h"
#include "runtime/window/window.h"
#include "runtime/window/window_impl.h"

namespace quillery {

std::vector<PopupItem> parsePopupText(std::string_view text) {
    std::vector<PopupItem> items;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t bar = text.find('|', start);
        const std::size_t end = bar == std::string_view::npos ? text.size() : bar;
        std::string_view part = text.substr(start, end - start);
        PopupItem item;
        if (part == "-") {
            item.separator = true;
        } else if (!part.empty() && (part.front() == '-' || part.front() == '+')) {
            item.checkable = true;
            item.checked = part.front() == '+';
            item.text = std::string(part.substr(1));
        } else {
            item.text = std::string(part);
        }
        items.push_back(std::move(item));
        if (bar == std::string_view::npos) break;
        start = bar + 1;
    }
    return items;
}

int POPUP(std::string_view text) {
    QWidget* owner = nullptr;
    if (Window* window = currentWindow()) owner = window->impl().frame();
    QMenu menu(owner);
    menu.setObjectName(kPopupMenuName);
    int number = 0;
    for (const PopupItem& item : parsePopupText(text)) {
        if (item.separator) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(toScreen(item.text));
        action->setData(++number);
        if (item.checkable) {
            action->setCheckable(true);
            action->setChecked(item.checked);
        }
    }
    if (number == 0) return 0;
    QAction* chosen = menu.exec(QCursor::pos());
    return chosen ? chosen->data().toInt() : 0;
}

}  // namespace quillery
