// Tab sheets and their tabs. A sheet is a tab bar over a framed pane; the controls that belong
// to a tab sit on the window's client area and show only while their tab is selected, so their
// layout positions stay window positions. Tabs can be created, relabelled and destroyed at run
// time and keep their field numbers; a sheet's choice is the selected tab's position from 1.
// Controls stack in layout order, so the sheet (listed before its tabs' controls) stays below.
#include <QPainter>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>

#include "runtime/window/control.h"
#include "runtime/window/screen_text.h"
#include "runtime/window/window_impl.h"

namespace quillery {
namespace {

class SheetPane final : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    // Only the frame: the pane shows the window's own background, as the controls on it do,
    // where styles would fill it with a shade of their own.
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

class SheetControl final : public Control, public TabOwner {
  public:
    using Control::Control;

    void build() override {
        widget_ = new QWidget(parentWidget());
        auto* column = new QVBoxLayout(widget_);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(0);
        bar_ = new QTabBar(widget_);
        bar_->setDrawBase(false);
        bar_->setExpanding(false);
        bar_->setUsesScrollButtons(true);
        column->addWidget(bar_);
        column->addWidget(new SheetPane(widget_), 1);
        QObject::connect(bar_, &QTabBar::currentChanged, [this](int) {
            if (quiet_) return;
            if (use_.bound()) use_.setNumber(choice());
            window_.applyStates();
            window_.post(EVENT::NewSelection, field());
        });
        adopt(widget_);
    }

    int choice() const override { return bar_->currentIndex() + 1; }
    void display() override {
        if (use_.bound() && use_.number() > 0) setChoice(static_cast<int>(use_.number()));
    }
    void setChoice(int position) override {
        if (position < 1 || position > bar_->count()) return;
        quietly([&] { bar_->setCurrentIndex(position - 1); });
        window_.applyStates();
    }

    void addTab(Control& tab) override {
        tabs_.push_back(&tab);
        quietly([&] { bar_->addTab(toScreen(tab.text())); });
        remeasure();
    }
    void removeTab(Control& tab) override {
        auto it = std::find(tabs_.begin(), tabs_.end(), &tab);
        if (it == tabs_.end()) return;
        const int index = static_cast<int>(it - tabs_.begin());
        tabs_.erase(it);
        quietly([&] { bar_->removeTab(index); });
        remeasure();
        window_.applyStates();
    }
    void setTabText(Control& tab, const QString& text) override {
        if (int index = indexOf(tab); index >= 0) {
            bar_->setTabText(index, text);
            remeasure();
        }
    }
    void setTabVisible(Control& tab, bool visible) override {
        if (int index = indexOf(tab); index >= 0) {
            quietly([&] { bar_->setTabVisible(index, visible); });
            remeasure();
        }
    }
    bool isTabSelected(const Control& tab) const override {
        return indexOf(tab) == bar_->currentIndex() && bar_->currentIndex() >= 0;
    }
    void selectTab(const Control& tab) override {
        if (int index = indexOf(tab); index >= 0) setChoice(index + 1);
    }
    void setTabEnabled(const Control& tab, bool enabled) {
        if (int index = indexOf(tab); index >= 0) bar_->setTabEnabled(index, enabled);
    }

    bool setProp(Prop prop, int index, const PropValue& value) override {
        return Control::setProp(prop, index, value);
    }
    std::optional<PropValue> prop(Prop prop, int index) const override {
        if (prop == Prop::Items) return PropValue(bar_->count());
        return Control::prop(prop, index);
    }

    QTabBar* bar() const { return bar_; }

  private:
    int indexOf(const Control& tab) const {
        auto it = std::find(tabs_.begin(), tabs_.end(), &tab);
        return it == tabs_.end() ? -1 : static_cast<int>(it - tabs_.begin());
    }
    // A tab bar on a window not yet shown keeps its changes to itself, so the sheet's column
    // would keep the row at the height it measured with no tabs; ask it to measure again.
    void remeasure() {
        bar_->updateGeometry();
        if (QLayout* column = widget_->layout()) column->invalidate();
    }
    template <class F>
    void quietly(F f) {
        const bool was = quiet_;
        quiet_ = true;
        f();
        quiet_ = was;
    }

    QTabBar* bar_ = nullptr;
    std::vector<Control*> tabs_;
    bool quiet_ = false;
};

class TabControl final : public Control {
  public:
    using Control::Control;
    ~TabControl() override {
        if (SheetControl* s = sheet()) s->removeTab(*this);
    }

    void build() override {
        if (SheetControl* s = sheet()) {
            s->addTab(*this);
            s->setTabVisible(*this, !hidden_);
        }
    }
    void applyState() override {
        if (SheetControl* s = sheet()) {
            s->setTabVisible(*this, !hidden_);
            s->setTabEnabled(*this, !disabled_);
        }
    }
    void setText(const std::string& text) override {
        text_ = text;
        if (SheetControl* s = sheet()) s->setTabText(*this, toScreen(text));
    }
    void select(int, int) override {
        if (SheetControl* s = sheet()) s->selectTab(*this);
    }
    int choice() const override {
        const SheetControl* s = sheet();
        return s ? s->choice() : 0;
    }

  private:
    SheetControl* sheet() const {
        return dynamic_cast<SheetControl*>(window_.control(layout_.parent));
    }
};

}  // namespace

std::unique_ptr<Control> makeSheetControl(WindowImpl& window, const ControlLayout& layout,
                                          UseVariable use) {
    if (layout.kind == ControlKind::Tab) return std::make_unique<TabControl>(window, layout, use);
    return std::make_unique<SheetControl>(window, layout, use);
}

}  // namespace quillery
