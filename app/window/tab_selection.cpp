#include "app/window/tab_selection.h"

#include "app/window/main_window_globals.h"
#include "app/window/main_window_layout.h"
#include "runtime/window/window.h"

namespace quillery {

namespace W = displayquillery;

void selectTab(int tab) {
    SELECT(tab);
    SHEET = CHOICE(W::SHEET);
}

std::string tabText(int tab) {
    return PROP(tab, Prop::Text).text();
}

}  // namespace quillery
