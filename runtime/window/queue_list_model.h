// A Qt item model over a queue's read-only display access: one row per entry shown, one column
// per list column. It never touches the queue's record buffer or POINTER, and it notices adds
// and deletes by the queue's change count. The program may arrange the rows (an order, some
// left out) and supply columns of its own; rows are then told apart as shown rows (the view's)
// and queue rows (from 1, the program's).
#pragma once

#include <QAbstractTableModel>
#include <cstdint>
#include <optional>
#include <vector>

#include "runtime/window/list_format.h"
#include "runtime/window/window.h"

namespace quillery {

class Queue;

class QueueListModel final : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit QueueListModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    // Shows `queue` (nullptr: nothing) with its field `firstField` in the first column.
    void bind(Queue* queue, int firstField, std::vector<ListColumn> columns);
    Queue* queue() const { return queue_; }
    int firstField() const { return firstField_; }

    // Shows the rows `arrangement` picks, in its order, from now on and after every change of
    // the queue; an empty arrangement shows every row in queue order.
    void arrange(ListArrangement arrangement);
    // Shows `columns` with texts from `cells` instead of the format's; empty `cells` returns to
    // the format's columns.
    void supplyColumns(std::vector<ListColumn> columns, ListCells cells);
    bool suppliesColumns() const { return static_cast<bool>(cells_); }

    // Resets the model when the queue changed since it was last looked at; true if it did.
    bool refresh();

    // The queue row of shown row `row` (from 0); 0 when there is none.
    std::uint32_t queueRow(int row) const;
    // The shown row (from 0) of queue row `queueRow`; -1 when it is not shown.
    int shownRow(std::uint32_t queueRow) const;

    // The text of shown row `row` (from 0) in column `column`, Windows-1252, without trailing
    // blanks.
    std::string cellText(int row, int column) const;
    // The bound queue field of shown row `row`, as the format's first column shows it.
    std::string keyText(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    const std::vector<ListColumn>& columns() const { return cells_ ? supplied_ : columns_; }

  private:
    int fieldOfColumn(int column) const;
    std::string formatCell(std::uint32_t queueRow, int column) const;
    void rearrange();

    Queue* queue_ = nullptr;
    int firstField_ = 1;
    std::vector<ListColumn> columns_;
    std::uint32_t seenChangeCount_ = 0;
    std::uint32_t seenRecords_ = 0;
    ListArrangement arrangement_;
    std::vector<std::uint32_t> shown_;      // queue rows in shown order, when arranged
    std::vector<std::int32_t> shownRowOf_;  // by queue row: its shown row, -1 when left out
    std::vector<ListColumn> supplied_;
    ListCells cells_;
};

}  // namespace quillery
