// Category names and their tabs.
#include "app/window/categories.h"

#include "app/catalogue_globals.h"
#include "app/window/main_window_globals.h"
#include "app/window/main_window_layout.h"
#include "app/window/tab_selection.h"
#include "runtime/errors.h"
#include "runtime/window/window.h"
#include "storage/file_statements.h"
#include "support/check_error.h"

namespace quillery {

namespace W = displayquillery;

namespace {

int categoryCount() {
    return static_cast<int>(RECORDS(CATEGORYQUEUE));
}

void showNewTab(int tab) {
    CREATE(tab, ControlKind::Tab, W::SHEET);
    UNHIDE(tab);
}

}  // namespace

int categoryTab(int position) {
    return W::ALL + position;
}

void RENAMECATEGORIES() {
    const int rows = categoryCount();
    for (int k = 1; k <= rows; ++k) {
        GET(CATEGORYQUEUE, k);
        PROP(categoryTab(k), Prop::Text) = CAT.CATEGORY.str();
    }
}

bool addCategoryOfRecord() {
    if (QLY.CATEGORY.isBlank()) return false;
    CAT.CATEGORY = QLY.CATEGORY.view();
    GET(CATEGORYQUEUE, {+1});
    if (errorCode() == ErrorCode::kNone) return false;
    CAT.CATEGORY = QLY.CATEGORY.view();
    ADD(CATEGORYQUEUE, {+1});
    CHECKERROR("Can't Add Category");
    return errorCode() == ErrorCode::kNone;
}

void INSERTCATEGORY() {
    if (!addCategoryOfRecord()) return;
    showNewTab(categoryTab(categoryCount()));
    RENAMECATEGORIES();
    // A tab inserted before the selected one moved the labels one tab to the right; the
    // selection follows its label.
    if (CURRENTTAB > W::ALL && PROP(CURRENTTAB, Prop::Text).text() != CURRENTTEXT.str()) {
        CURRENTTAB = static_cast<std::int16_t>(CURRENTTAB + 1);
        selectTab(CURRENTTAB);
    }
}

void DELETECATEGORY() {
    GET(CATEGORYQUEUE, CURRENTTAB - W::ALL);
    CHECKERROR("Can't Get Sheet Choice");
    if (errorCode() != ErrorCode::kNone) return;  // the wrong row must not go instead
    DELETE(CATEGORYQUEUE);
    DESTROY(categoryTab(categoryCount() + 1));
    RENAMECATEGORIES();
}

void createCategoryTabs() {
    const int rows = categoryCount();
    for (int k = 1; k <= rows; ++k) {
        GET(CATEGORYQUEUE, k);
        CHECKERROR("Can't Get Category");
        showNewTab(categoryTab(k));
        PROP(categoryTab(k), Prop::Text) = CAT.CATEGORY.str();
    }
}

void dropCategoryTabs() {
    const int rows = categoryCount();
    if (rows > 0) DESTROY(categoryTab(1), categoryTab(rows));
    FREE(CATEGORYQUEUE);
}

}  // namespace quillery
