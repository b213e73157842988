// List boxes and drop-down combination boxes over queues.
#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QResizeEvent>
#include <QTreeView>
#include <functional>

#include "runtime/queue.h"
#include "runtime/window/control.h"
#include "runtime/window/focus_line_edit.h"
#include "runtime/window/list_format.h"
#include "runtime/window/queue_list_model.h"
#include "runtime/window/screen_text.h"
#include "runtime/window/use_format.h"
#include "runtime/window/window_impl.h"

namespace quillery {
namespace {

class ListView final : public QTreeView {
  public:
    ListView(QWidget* parent, Control& control) : QTreeView(parent), control_(control) {}

    std::function<void()> resized;

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QTreeView::resizeEvent(event);
        if (resized) resized();
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            control_.window().post(EVENT::Accepted, control_.field());
            return;
        }
        QTreeView::keyPressEvent(event);
    }
    void focusInEvent(QFocusEvent* event) override {
        QTreeView::focusInEvent(event);
        control_.window().focusArrived(control_.field(), event->reason());
    }

  private:
    Control& control_;
};

class ListControl final : public Control, public QueueBound, public ArrangedList {
  public:
    using Control::Control;

    void build() override {
        view_ = new ListView(parentWidget(), *this);
        model_ = new QueueListModel(view_);
        columns_ = parseListFormat(layout_.format);
        model_->bind(nullptr, 1, columns_);
        view_->setModel(model_);
        view_->setRootIsDecorated(false);
        view_->setItemsExpandable(false);
        view_->setUniformRowHeights(true);
        view_->setAllColumnsShowFocus(true);
        view_->setSelectionMode(QAbstractItemView::SingleSelection);
        view_->setSelectionBehavior(QAbstractItemView::SelectRows);
        view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view_->setHorizontalScrollBarPolicy((layout_.flags & ControlFlag::kHScroll)
                                                ? Qt::ScrollBarAsNeeded
                                                : Qt::ScrollBarAlwaysOff);
        view_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        view_->setHeaderHidden(!hasHeaders(columns_));
        view_->header()->setStretchLastSection(true);
        view_->header()->setSectionsClickable(true);
        view_->header()->setSectionsMovable(false);
        view_->header()->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(view_->header(), &QHeaderView::sectionClicked,
                         [this](int section) { pressHeader(section, KEY::MouseLeft); });
        QObject::connect(view_->header(), &QHeaderView::customContextMenuRequested,
                         [this](const QPoint& at) {
                             pressHeader(view_->header()->logicalIndexAt(at), KEY::MouseRight);
                         });
        applyColumnWidths();
        view_->resized = [this] { applyColumnWidths(); };
        QObject::connect(view_, &QTreeView::doubleClicked,
                         [this](const QModelIndex&) { window_.post(EVENT::Accepted, field()); });
        connectSelection();
        widget_ = view_;
        adopt(view_);
    }

    void bind(Queue& queue, int queueField) override {
        const int row = choice();
        model_->bind(&queue, queueField, columns_);
        connectSelection();
        applyColumnWidths();
        setChoice(row > 0 ? std::min(row, static_cast<int>(queue.recordCount())) : 0);
    }

    void refresh() override {
        const int row = choice();
        if (model_->refresh()) {
            setChoice(std::min(row, static_cast<int>(model_->queue()->recordCount())));
        }
    }

    // Rows are counted as the queue counts them, whatever order the list shows them in.
    int choice() const override {
        const QModelIndex current = view_->currentIndex();
        return current.isValid() ? static_cast<int>(model_->queueRow(current.row())) : 0;
    }

    void setChoice(int row) override {
        model_->refresh();
        quiet_ = true;
        const int shown = row >= 1 ? model_->shownRow(static_cast<std::uint32_t>(row)) : -1;
        if (shown >= 0) {
            const QModelIndex index = model_->index(shown, 0);
            view_->setCurrentIndex(index);
            view_->scrollTo(index);
        } else {
            view_->setCurrentIndex(QModelIndex());
            view_->clearSelection();
        }
        quiet_ = false;
    }

    // SELECT(list, row) chooses the row; SELECT(list) only gives the list the focus.
    void select(int start, int) override {
        model_->refresh();  // the row may have been added just now
        if (start > 0) setChoice(start);
        view_->setFocus(Qt::OtherFocusReason);
    }

    void display() override { refresh(); }

    std::optional<PropValue> prop(Prop prop, int index) const override {
        if (prop == Prop::Items) return PropValue(model_->rowCount());
        if (prop == Prop::Text && view_->currentIndex().isValid()) {
            return PropValue(model_->keyText(view_->currentIndex().row()));
        }
        if (prop == Prop::HeaderColumn) return PropValue(pressedColumn_);
        return Control::prop(prop, index);
    }

    void arrange(ListArrangement arrangement) override {
        const int row = choice();
        model_->arrange(std::move(arrangement));
        setChoice(row);
    }

    void supplyColumns(std::string_view format, ListCells cells) override {
        const int row = choice();
        const std::vector<ListColumn> supplied = parseListFormat(format);
        model_->supplyColumns(supplied, std::move(cells));
        view_->setHeaderHidden(!hasHeaders(model_->columns()));
        applyColumnWidths();
        setChoice(row);
    }

    void markOrder(int column, bool descending) override {
        QHeaderView* header = view_->header();
        header->setSortIndicatorShown(column > 0);
        header->setSortIndicator(column > 0 ? column - 1 : -1,
                                 descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    }

    QueueListModel* model() const { return model_; }

  private:
    static bool hasHeaders(const std::vector<ListColumn>& columns) {
        for (const auto& c : columns)
            if (!c.header.empty()) return true;
        return false;
    }

    void pressHeader(int section, int key) {
        if (section < 0) return;
        pressedColumn_ = section + 1;
        window_.post(EVENT::HeaderPressed, field(), key);
    }

    void connectSelection() {
        QItemSelectionModel* selection = view_->selectionModel();
        if (selection == connected_) return;
        connected_ = selection;
        QObject::connect(selection, &QItemSelectionModel::currentRowChanged, view_,
                         [this](const QModelIndex& current, const QModelIndex&) {
                             if (quiet_ || !current.isValid()) return;
                             if (use_.bound()) use_.setText(model_->keyText(current.row()));
                             window_.post(EVENT::NewSelection, field());
                         });
    }

    // Columns get their designed widths. A list with headings that is wider than their sum
    // shares the extra room among them in proportion, so a large window shows wider columns
    // rather than one wide last column.
    void applyColumnWidths() {
        const DialogUnits& du = window_.units();
        const std::vector<ListColumn>& columns = model_->columns();
        std::vector<int> widths;
        int designed = 0;
        for (const ListColumn& column : columns) {
            widths.push_back(du.toPixelsX(std::min(column.width, 2000)));
            designed += widths.back();
        }
        const int room = view_->viewport()->width();
        const bool spread = hasHeaders(columns) && designed > 0 && room > designed;
        for (std::size_t c = 0; c + 1 < widths.size(); ++c) {
            const int width =
                spread ? static_cast<int>(static_cast<long long>(widths[c]) * room / designed)
                       : widths[c];
            view_->setColumnWidth(static_cast<int>(c), width);
        }
    }

    ListView* view_ = nullptr;
    QueueListModel* model_ = nullptr;
    std::vector<ListColumn> columns_;
    bool quiet_ = false;
    int pressedColumn_ = 0;
    QPointer<QItemSelectionModel> connected_;
};

class ComboBox final : public QComboBox {
  public:
    ComboBox(QWidget* parent, QueueListModel*& model) : QComboBox(parent), model_(model) {}

    void showPopup() override {
        // The drop list shows the queue as it is now.
        if (model_) model_->refresh();
        QComboBox::showPopup();
    }

  private:
    QueueListModel*& model_;
};

// An entry with a drop-down list: the entry edits the use variable through the picture; a
// row chosen from the list replaces its text.
class ComboControl final : public Control, public QueueBound {
  public:
    using Control::Control;

    void build() override {
        combo_ = new ComboBox(parentWidget(), model_);
        combo_->setEditable(true);
        edit_ = new FocusLineEdit(combo_, *this);
        combo_->setLineEdit(edit_);
        combo_->setInsertPolicy(QComboBox::NoInsert);
        combo_->setCompleter(nullptr);
        model_ = new QueueListModel(combo_);
        model_->bind(nullptr, 1, {});
        combo_->setModel(model_);
        QObject::connect(combo_, qOverload<int>(&QComboBox::activated), [this](int row) {
            edit_->setText(toScreen(model_->cellText(row, 0)));
            edit_->setModified(true);
            edit_->complete();
        });
        QObject::connect(edit_, &QLineEdit::editingFinished, [this] { edit_->complete(); });
        widget_ = combo_;
        adopt(combo_);
    }

    void bind(Queue& queue, int queueField) override {
        const QString shown = edit_->text();
        model_->bind(&queue, queueField, {});
        edit_->setText(shown);
    }

    void refresh() override {
        if (combo_->view()->isVisible()) return;
        const QString shown = edit_->text();
        const bool modified = edit_->isModified();
        if (model_->refresh()) {
            edit_->setText(shown);
            edit_->setModified(modified);
        }
    }

    void display() override {
        if (!use_.bound()) return;
        QString shown = toScreen(formatUse(use_, layout_.picture));
        while (shown.endsWith(' '))
            shown.chop(1);
        edit_->setText(shown);
        edit_->setModified(false);
        typingLoss_ = {};
    }

    int choice() const override {
        const QString shown = edit_->text();
        for (int row = 0; row < model_->rowCount(); ++row) {
            if (toScreen(model_->cellText(row, 0)) == shown) return row + 1;
        }
        return 0;
    }

    void select(int start, int end) override {
        edit_->setFocus(Qt::OtherFocusReason);
        if (start > 0) edit_->setSelection(start - 1, std::max(1, end - start + 1));
    }

    std::string text() const override { return fromScreen(edit_->text()); }
    void setText(const std::string& text) override {
        text_ = text;
        edit_->setText(toScreen(text));
    }
    void settle() override { edit_->complete(); }
    std::optional<PropValue> prop(Prop prop, int index) const override {
        if (prop == Prop::Items) return PropValue(model_->rowCount());
        return Control::prop(prop, index);
    }

  private:
    ComboBox* combo_ = nullptr;
    FocusLineEdit* edit_ = nullptr;
    QueueListModel* model_ = nullptr;
};

}  // namespace

std::unique_ptr<Control> makeListControl(WindowImpl& window, const ControlLayout& layout,
                                         UseVariable use) {
    if (layout.kind == ControlKind::Combo) {
        return std::make_unique<ComboControl>(window, layout, use);
    }
    return std::make_unique<ListControl>(window, layout, use);
}

}  // namespace quillery
