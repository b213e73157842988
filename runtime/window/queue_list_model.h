// A Qt item model over a queue's read-only display access: one row per entry, one column per
// list column. It never touches the queue's record buffer or POINTER, and it notices adds and
// deletes by the queue's change count.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "runtime/window/list_format.h"

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

    // Resets the model when the queue changed since it was last looked at; true if it did.
    bool refresh();

    // The text of row `row` (from 0) in column `column`, Windows-1252, without trailing blanks.
    std::string cellText(int row, int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    int fieldOfColumn(int column) const;

    Queue* queue_ = nullptr;
    int firstField_ = 1;
    std::vector<ListColumn> columns_;
    std::uint32_t seenChangeCount_ = 0;
    std::uint32_t seenRecords_ = 0;
};

}  // namespace quillery
