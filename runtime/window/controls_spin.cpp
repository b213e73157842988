// Spin boxes: a number within a range. The arrows move within the range (EVENT:NewSelection);
// a typed number is checked against it: outside it the box raises EVENT:Rejected with the
// reason and leaves the variable alone, inside it the variable takes it (EVENT:Accepted).
#include <QFocusEvent>
#include <QLineEdit>
#include <QSpinBox>
#include <climits>

#include "runtime/window/control.h"
#include "runtime/window/window_impl.h"

namespace quillery {
namespace {

class SpinControl;

// Accepts any whole number as typed text, so that the range check is the control's own.
class RangeSpinBox final : public QSpinBox {
  public:
    RangeSpinBox(QWidget* parent, SpinControl& control);
    int low = 1;
    int high = 100;
    int step = 1;

  protected:
    void stepBy(int steps) override;
    StepEnabled stepEnabled() const override {
        StepEnabled enabled = StepNone;
        if (value() < high) enabled |= StepUpEnabled;
        if (value() > low) enabled |= StepDownEnabled;
        return enabled;
    }
    void focusInEvent(QFocusEvent* event) override;

  public:
    using QSpinBox::lineEdit;

  private:
    SpinControl& control_;
};

class SpinControl final : public Control {
  public:
    using Control::Control;

    void build() override {
        spin_ = new RangeSpinBox(parentWidget(), *this);
        spin_->low = layout_.low;
        spin_->high = std::max(layout_.low, layout_.high);
        spin_->step = std::max(1, layout_.step);
        spin_->setRange(INT_MIN, INT_MAX);
        spin_->setKeyboardTracking(false);
        spin_->setValue(spin_->low);
        QObject::connect(spin_, &QAbstractSpinBox::editingFinished, [this] { typed(); });
        widget_ = spin_;
        adopt(spin_);
    }

    void display() override {
        if (use_.bound()) spin_->setValue(static_cast<int>(use_.number()));
    }

    int choice() const override { return spin_->value(); }

    void stepped(int value) {
        spin_->setValue(value);
        use_.setNumber(value);
        window_.post(EVENT::NewSelection, field());
    }

    void typed() {
        const int value = spin_->value();
        if (use_.bound() && value == static_cast<int>(use_.number())) return;
        if (value > spin_->high) {
            window_.post(EVENT::Rejected, field(), 0, RejectReason::AboveRange);
            return;
        }
        if (value < spin_->low) {
            window_.post(EVENT::Rejected, field(), 0, RejectReason::BelowRange);
            return;
        }
        use_.setNumber(value);
        window_.post(EVENT::Accepted, field());
    }

    void settle() override {
        if (!use_.bound()) return;
        spin_->interpretText();
        typed();
    }

    void select(int start, int end) override {
        spin_->setFocus(Qt::OtherFocusReason);
        if (start > 0) spin_->lineEdit()->setSelection(start - 1, std::max(1, end - start + 1));
    }

    std::string text() const override { return spin_->text().toStdString(); }

    bool setProp(Prop prop, int index, const PropValue& value) override {
        const int n = static_cast<int>(value.integer());
        switch (prop) {
            case Prop::RangeLow:
                spin_->low = n;
                return true;
            case Prop::RangeHigh:
                spin_->high = n;
                return true;
            case Prop::Step:
                spin_->step = std::max(1, n);
                return true;
            default:
                return Control::setProp(prop, index, value);
        }
    }
    std::optional<PropValue> prop(Prop prop, int index) const override {
        switch (prop) {
            case Prop::RangeLow:
                return PropValue(spin_->low);
            case Prop::RangeHigh:
                return PropValue(spin_->high);
            case Prop::Step:
                return PropValue(spin_->step);
            default:
                return Control::prop(prop, index);
        }
    }

  private:
    RangeSpinBox* spin_ = nullptr;
};

RangeSpinBox::RangeSpinBox(QWidget* parent, SpinControl& control)
    : QSpinBox(parent), control_(control) {}

void RangeSpinBox::stepBy(int steps) {
    const long long next = static_cast<long long>(value()) + static_cast<long long>(steps) * step;
    const int clamped = static_cast<int>(std::clamp<long long>(next, low, high));
    if (clamped != value()) control_.stepped(clamped);
}

void RangeSpinBox::focusInEvent(QFocusEvent* event) {
    QSpinBox::focusInEvent(event);
    control_.window().focusArrived(control_.field(), event->reason());
}

}  // namespace

std::unique_ptr<Control> makeSpinControl(WindowImpl& window, const ControlLayout& layout,
                                         UseVariable use) {
    return std::make_unique<SpinControl>(window, layout, use);
}

}  // namespace quillery
