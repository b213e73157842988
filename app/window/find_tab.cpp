#include "app/window/find_tab.h"

#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "app/window/main_window_globals.h"
#include "app/window/main_window_layout.h"
#include "app/window/tab_selection.h"
#include "app/window/twin_controls.h"
#include "runtime/char_tables.h"
#include "runtime/window/window.h"

namespace quillery {

namespace W = displayquillery;

std::string upperCased(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(toUpperChar(static_cast<unsigned char>(c)));
    return out;
}

void showFindTab(const std::string& label) {
    const int tab = static_cast<int>(RECORDS(CATEGORYQUEUE)) + W::kFirstCategoryTab;
    if (PENDINGFIND == 0) {
        CREATE(tab, ControlKind::Tab, W::SHEET);
        UNHIDE(tab);
    }
    PROP(tab, Prop::Text) = label;
    enableSave(false);
    enableUndo(false);
    enableNewAndDuplicate(false);  // a new entry there could not be saved
    selectTab(tab);
    CURRENTTAB = static_cast<std::int16_t>(tab);
    PENDINGFIND = static_cast<std::int16_t>(tab);
    CURRENTTEXT = label;
}

std::string findTabLabel(std::string_view text) {
    std::string label = "Has \"" + std::string(text) + "\"";
    if (label.size() > kCategoryLength) label.resize(kCategoryLength);
    return label;
}

void markFindMatches() {
    const std::string_view text = FINDSTRING.clipped();
    if (text.empty()) return;
    CHG = QLY;
    struct Searched {
        int field;
        std::string_view value;
    };
    const Searched fields[] = {{W::QLY_LASTNAME, CHG.LASTNAME.view()},
                               {W::QLY_FIRSTNAME, CHG.FIRSTNAME.view()},
                               {W::QLY_TITLE, CHG.TITLE.view()}};
    for (const Searched& f : fields) {
        const std::string value = IGNORECASE ? upperCased(f.value) : std::string(f.value);
        const std::size_t at = value.find(text);
        if (at == std::string::npos) continue;
        const int start = static_cast<int>(at) + 1;
        SELECT(f.field, start, start + static_cast<int>(text.size()) - 1);
    }
}

void removeFindTab() {
    if (PENDINGFIND == 0) return;
    DESTROY(PENDINGFIND);
    PENDINGFIND = 0;
    if (RECORDS(UNDOQUEUE) > 0) enableUndo(true);
    enableNewAndDuplicate(PENDINGADD == 0);
}

}  // namespace quillery
