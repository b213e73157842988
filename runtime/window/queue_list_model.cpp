// The queue item model.
#include "runtime/window/queue_list_model.h"

#include "runtime/picture.h"
#include "runtime/queue.h"
#include "runtime/window/screen_text.h"

namespace quillery {

void QueueListModel::bind(Queue* queue, int firstField, std::vector<ListColumn> columns) {
    beginResetModel();
    queue_ = queue;
    firstField_ = firstField;
    columns_ = std::move(columns);
    if (columns_.empty()) columns_.push_back(ListColumn{});
    seenChangeCount_ = queue_ ? queue_->changeCount() : 0;
    seenRecords_ = queue_ ? queue_->recordCount() : 0;
    rearrange();
    endResetModel();
}

void QueueListModel::arrange(ListArrangement arrangement) {
    beginResetModel();
    arrangement_ = std::move(arrangement);
    if (queue_ != nullptr) {
        seenChangeCount_ = queue_->changeCount();
        seenRecords_ = queue_->recordCount();
    }
    rearrange();
    endResetModel();
}

void QueueListModel::supplyColumns(std::vector<ListColumn> columns, ListCells cells) {
    beginResetModel();
    supplied_ = std::move(columns);
    cells_ = supplied_.empty() ? ListCells{} : std::move(cells);
    endResetModel();
}

bool QueueListModel::refresh() {
    if (queue_ == nullptr) return false;
    const std::uint32_t changes = queue_->changeCount();
    const std::uint32_t records = queue_->recordCount();
    if (changes == seenChangeCount_ && records == seenRecords_) return false;
    beginResetModel();
    seenChangeCount_ = changes;
    seenRecords_ = records;
    rearrange();
    endResetModel();
    return true;
}

void QueueListModel::rearrange() {
    shown_.clear();
    shownRowOf_.clear();
    if (!arrangement_ || queue_ == nullptr) return;
    shown_ = arrangement_(*queue_);
    shownRowOf_.assign(static_cast<std::size_t>(seenRecords_) + 1, -1);
    std::size_t kept = 0;
    for (const std::uint32_t row : shown_) {
        // Rows the queue does not have are dropped rather than shown blank.
        if (row == 0 || row > seenRecords_ || shownRowOf_[row] >= 0) continue;
        shownRowOf_[row] = static_cast<std::int32_t>(kept);
        shown_[kept++] = row;
    }
    shown_.resize(kept);
}

std::uint32_t QueueListModel::queueRow(int row) const {
    if (row < 0 || row >= rowCount()) return 0;
    if (!arrangement_) return static_cast<std::uint32_t>(row) + 1;
    return shown_[static_cast<std::size_t>(row)];
}

int QueueListModel::shownRow(std::uint32_t queueRow) const {
    if (queueRow == 0 || queueRow > seenRecords_) return -1;
    if (!arrangement_) return static_cast<int>(queueRow) - 1;
    return queueRow < shownRowOf_.size() ? shownRowOf_[queueRow] : -1;
}

int QueueListModel::fieldOfColumn(int column) const {
    int field = firstField_;
    for (int c = 0; c <= column && c < static_cast<int>(columns_.size()); ++c) {
        if (c > 0) field += 1;
        if (columns_[static_cast<std::size_t>(c)].field > 0) {
            field = columns_[static_cast<std::size_t>(c)].field;
        }
    }
    return field;
}

std::string QueueListModel::formatCell(std::uint32_t queueRow, int column) const {
    if (queue_ == nullptr || !queue_->selectReadingEntry(queueRow)) return {};
    const int field = fieldOfColumn(column);
    if (field < 1 || field > queue_->fieldCount()) return {};
    const ListColumn& format = columns_[static_cast<std::size_t>(column)];
    std::string text;
    if (format.picture.empty()) {
        text = std::string(queue_->readingText(field));
    } else if (auto value = queue_->readingValue(field)) {
        if (const auto* n = std::get_if<std::int32_t>(&*value)) {
            text = FORMAT(static_cast<double>(*n), format.picture);
        } else if (const auto* d = std::get_if<double>(&*value)) {
            text = FORMAT(*d, format.picture);
        } else {
            text = FORMAT(std::get<std::string_view>(*value), format.picture);
        }
    }
    return text;
}

std::string QueueListModel::cellText(int row, int column) const {
    const std::uint32_t queued = queueRow(row);
    if (queued == 0) return {};
    std::string text = cells_ ? cells_(*queue_, queued, column) : formatCell(queued, column);
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

std::string QueueListModel::keyText(int row) const {
    const std::uint32_t queued = queueRow(row);
    if (queued == 0) return {};
    std::string text = formatCell(queued, 0);
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

int QueueListModel::rowCount(const QModelIndex& parent) const {
    // The count the views were last told of: views learn of changes only through refresh().
    if (parent.isValid() || queue_ == nullptr) return 0;
    if (arrangement_) return static_cast<int>(shown_.size());
    return static_cast<int>(std::min<std::uint32_t>(seenRecords_, INT32_MAX));
}

int QueueListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns().size());
}

QVariant QueueListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) return toScreen(cellText(index.row(), index.column()));
    if (role == Qt::TextAlignmentRole) {
        const char align = columns()[static_cast<std::size_t>(index.column())].align;
        if (align == 'R' || align == 'D') return int(Qt::AlignRight | Qt::AlignVCenter);
        if (align == 'C') return int(Qt::AlignHCenter | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

QVariant QueueListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section < 0 || section >= static_cast<int>(columns().size())) return {};
    return toScreen(columns()[static_cast<std::size_t>(section)].header);
}

}  // namespace quillery
