// The shown list's columns, order and filter, arranged over the active queue's rows.
#include "app/window/list_shape.h"

#include <QFileInfo>
#include <algorithm>
#include <numeric>

#include "app/catalogue_globals.h"
#include "app/typed_filter.h"
#include "app/window/list_columns.h"
#include "app/window/listed_books.h"
#include "app/window/main_window_globals.h"
#include "app/window/main_window_layout.h"
#include "app/window/window_state.h"
#include "runtime/queue.h"
#include "runtime/window/window.h"

namespace quillery {

namespace W = displayquillery;

namespace {

struct Shape {
    QString catalogue;  // absolute path of the catalogue the choice below is for
    ColumnChoice choice = defaultColumnChoice();
    bool columns = false;
    std::optional<BookColumn> orderColumn;
    SortDirection direction = SortDirection::Ascending;
    std::optional<ColumnOrder> order;
    std::uint32_t orderSeenChanges = 0;  // ALLQUEUE's change count when the order was read
    std::string filter;
    TypedFilter typed;
    bool arranged = false;
    std::optional<std::string> installedFormat;  // the columns the list shows; empty: its own
    std::vector<std::uint32_t> shown;            // the last arrangement
    std::uint32_t orderReads = 0;                // counts the orders read, to know a cached one
    // What the last arrangement found out of the queue, kept while the queue and the order stay
    // as they were: each typed key then only filters.
    struct Cache {
        const Queue* queue = nullptr;
        std::uint32_t changes = 0, records = 0, orderReads = 0;
        bool ordered = false;
        std::vector<std::int32_t> positions;  // by queue row - 1
        std::vector<std::size_t> order;       // queue rows - 1, in the order shown
    } cache;
};

Shape& shape() {
    static Shape s;
    return s;
}

QString catalogueKey() {
    return QFileInfo(QString::fromStdString(QUILLERYFILE.str())).absoluteFilePath();
}

std::int32_t positionOfRow(Queue& queue, std::uint32_t row) {
    if (!queue.selectReadingEntry(row)) return 0;
    const std::optional<QueueValue> value = queue.readingValue(AllField::POINTER);
    const auto* position = value ? std::get_if<std::int32_t>(&*value) : nullptr;
    return position ? *position : 0;
}

// The queue's record positions and their order. The positions are read again only when the
// queue changed since the last arrangement, the order only when it or the positions changed: a
// heading click then costs the key's read and no walk of the queue.
const Shape::Cache& positionsInOrder(Queue& queue) {
    Shape& s = shape();
    Shape::Cache& c = s.cache;
    const bool ordered = s.order.has_value();
    const bool samePositions =
        c.queue == &queue && c.changes == queue.changeCount() && c.records == queue.recordCount();
    if (samePositions && c.ordered == ordered && c.orderReads == s.orderReads) return c;
    if (!samePositions) {
        c.queue = &queue;
        c.changes = queue.changeCount();
        c.records = queue.recordCount();
        c.positions.resize(c.records);
        for (std::uint32_t row = 1; row <= c.records; ++row)
            c.positions[row - 1] = positionOfRow(queue, row);
    }
    c.orderReads = s.orderReads;
    c.ordered = ordered;
    if (ordered) {
        c.order = orderedRows(c.positions, *s.order);
    } else {
        c.order.resize(c.records);
        std::iota(c.order.begin(), c.order.end(), std::size_t{0});
    }
    return c;
}

std::vector<std::uint32_t> arrangeRows(Queue& queue) {
    Shape& s = shape();
    const Shape::Cache& c = positionsInOrder(queue);
    const std::size_t count = c.positions.size();
    std::vector<bool> kept(count, true);
    if (!s.filter.empty()) {
        std::fill(kept.begin(), kept.end(), false);
        for (const std::uint32_t match :
             s.typed.rowsHolding(listedBookTexts(), c.positions, s.filter))
            kept[match] = true;
        // A new entry being typed in stays in view, whatever it holds yet.
        for (std::size_t i = 0; i < count; ++i)
            if (PENDINGADD != 0 && c.positions[i] == PENDINGADD) kept[i] = true;
    }
    s.shown.clear();
    for (const std::size_t index : c.order)
        if (kept[index]) s.shown.push_back(static_cast<std::uint32_t>(index) + 1);
    return s.shown;
}

std::string cellOf(Queue& queue, std::uint32_t row, int column) {
    const ColumnChoice& choice = shape().choice;
    if (column < 0 || column >= static_cast<int>(choice.size())) return {};
    return listedText(positionOfRow(queue, row), choice[static_cast<std::size_t>(column)]);
}

// The order of the present column read again through its key; the list's own order when that
// fails (the list stays usable; the heading shows no arrow).
void readOrder() {
    Shape& s = shape();
    s.order.reset();
    if (!s.orderColumn) return;
    s.order = readColumnOrder(*s.orderColumn, s.direction);
    ++s.orderReads;
    s.orderSeenChanges = ALLQUEUE.changeCount();
    if (!s.order) s.orderColumn.reset();
}

void installColumns() {
    Shape& s = shape();
    // Supplying columns resets the list; it is done only when they change.
    const std::string format = s.columns ? columnFormat(s.choice) : std::string();
    if (s.installedFormat != format) {
        s.installedFormat = format;
        if (s.columns) {
            supplyListColumns(W::BOOKLIST, format, cellOf);
        } else {
            supplyListColumns(W::BOOKLIST, {}, {});
        }
    }
    int marked = 0;
    if (s.columns && s.orderColumn) {
        const auto it = std::find(s.choice.begin(), s.choice.end(), *s.orderColumn);
        if (it != s.choice.end()) marked = static_cast<int>(it - s.choice.begin()) + 1;
    }
    markListOrder(W::BOOKLIST, marked, s.direction == SortDirection::Descending);
}

void installArrangement() {
    Shape& s = shape();
    const bool arranged = s.order.has_value() || !s.filter.empty();
    if (arranged) {
        arrangeList(W::BOOKLIST, arrangeRows);
    } else if (s.arranged) {
        arrangeList(W::BOOKLIST, {});
    }
    s.arranged = arranged;
}

void loadChoiceFor(const QString& catalogue) {
    Shape& s = shape();
    s.catalogue = catalogue;
    s.choice = defaultColumnChoice();
    if (const std::optional<QString> kept = readListColumns(windowStatePath(), catalogue)) {
        if (auto choice = parseColumnChoice(kept->toStdString())) s.choice = *choice;
    }
    s.orderColumn.reset();
    s.order.reset();
    s.filter.clear();
    s.typed.forget();
    PROP(W::FILTERBOX, Prop::Text) = "";
}

}  // namespace

void forgetListShape() {
    shape() = Shape{};
}

void shapeBookList() {
    Shape& s = shape();
    bool changed = false;
    const QString catalogue = catalogueKey();
    if (catalogue != s.catalogue) {
        loadChoiceFor(catalogue);
        changed = true;
    }
    const bool columns = static_cast<long>(PROP(W::BOOKLIST, Prop::Width)) >= kColumnsFromWidth;
    if (columns != s.columns) {
        s.columns = columns;
        changed = true;
    }
    if (s.orderColumn && !s.columns) {
        // The one-line list has no headings to show or change an order with.
        s.orderColumn.reset();
        s.order.reset();
        changed = true;
    } else if (s.orderColumn && ALLQUEUE.changeCount() != s.orderSeenChanges) {
        readOrder();  // saved books have new record positions
        changed = true;
    }
    if (!changed) return;
    installColumns();
    installArrangement();
}

bool listShowsColumns() {
    return shape().columns;
}

std::optional<BookColumn> shownColumn(int shownColumn) {
    const ColumnChoice& choice = shape().choice;
    if (!shape().columns || shownColumn < 1 || shownColumn > static_cast<int>(choice.size())) {
        return std::nullopt;
    }
    return choice[static_cast<std::size_t>(shownColumn - 1)];
}

bool orderListBy(BookColumn column) {
    Shape& s = shape();
    const std::optional<BookColumn> previousColumn = s.orderColumn;
    const SortDirection previousDirection = s.direction;
    s.direction = s.orderColumn == column && s.direction == SortDirection::Ascending
                      ? SortDirection::Descending
                      : SortDirection::Ascending;
    s.orderColumn = column;
    readOrder();
    const bool read = s.order.has_value();
    if (!read) {
        s.orderColumn = previousColumn;
        s.direction = previousDirection;
        readOrder();
    }
    installColumns();
    installArrangement();
    return read;
}

std::optional<BookColumn> listOrderColumn() {
    return shape().orderColumn;
}

std::string columnMenu() {
    std::string menu;
    for (const ListColumnInfo& info : listColumnTable()) {
        const ColumnChoice& choice = shape().choice;
        const bool shown = std::find(choice.begin(), choice.end(), info.column) != choice.end();
        if (!menu.empty()) menu += '|';
        menu += (shown ? "+" : "-") + std::string(info.heading);
    }
    return menu;
}

void toggleColumnOfMenu(int item) {
    const auto table = listColumnTable();
    if (item < 1 || item > static_cast<int>(table.size())) return;
    Shape& s = shape();
    s.choice = toggledColumn(s.choice, table[static_cast<std::size_t>(item - 1)].column);
    writeListColumns(windowStatePath(), s.catalogue,
                     QString::fromStdString(columnChoiceText(s.choice)));
    installColumns();
}

const std::string& listFilter() {
    return shape().filter;
}

void setListFilter(std::string_view text) {
    Shape& s = shape();
    std::string trimmed(text);
    while (!trimmed.empty() && trimmed.back() == ' ')
        trimmed.pop_back();
    if (trimmed == s.filter) return;
    s.filter = trimmed;
    installArrangement();
}

std::vector<std::uint32_t> shownQueueRows() {
    if (shape().arranged) {
        DISPLAY(W::BOOKLIST);  // the arrangement follows the queue's latest rows
        return shape().shown;
    }
    std::vector<std::uint32_t> rows(RECORDS(*ACTQUEUE));
    std::iota(rows.begin(), rows.end(), 1u);
    return rows;
}

int firstShownRow() {
    if (!shape().arranged) return 1;
    const std::vector<std::uint32_t> rows = shownQueueRows();
    return rows.empty() ? 0 : static_cast<int>(rows.front());
}

int lastShownRow() {
    if (!shape().arranged) return static_cast<int>(RECORDS(*ACTQUEUE));
    const std::vector<std::uint32_t> rows = shownQueueRows();
    return rows.empty() ? 0 : static_cast<int>(rows.back());
}

bool listInOwnOrder() {
    return !shape().orderColumn.has_value();
}

}  // namespace quillery
