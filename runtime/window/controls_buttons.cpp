// Buttons, tool buttons, check boxes, option groups and their radio buttons.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "runtime/window/button_face.h"
#include "runtime/window/control.h"
#include "runtime/window/picture_files.h"
#include "runtime/window/screen_text.h"
#include "runtime/window/window_impl.h"

namespace quillery {
namespace {

// The icon sizes a button's picture is drawn at, pixels.
constexpr int kSmallestIcon = 12;
constexpr int kLargestIcon = 32;
constexpr int kNaturalIcon = 16;  // a button of its natural size

class ButtonControl final : public Control {
  public:
    using Control::Control;

    void build() override {
        const bool onToolbar = parentWidget() != window_.client();
        if (onToolbar || (layout_.flags & ControlFlag::kIconOnly)) {
            auto* tool = new QToolButton(parentWidget());
            tool->setAutoRaise(onToolbar);
            button_ = tool;
        } else {
            // Tall enough for both, the picture stands above the text so the text keeps the
            // button's whole width.
            auto* push = new StackedPushButton(parentWidget());
            if (layout_.flags & ControlFlag::kDefault) {
                push->setDefault(true);
                push->setAutoDefault(true);
            }
            button_ = push;
        }
        widget_ = button_;
        setText(text_);
        setIcon(icon_);
        QObject::connect(button_, &QAbstractButton::clicked,
                         [this] { window_.post(EVENT::Accepted, field()); });
        adopt(button_);
    }

    void setText(const std::string& text) override {
        text_ = text;
        button_->setText((layout_.flags & ControlFlag::kIconOnly) ? QString() : toScreen(text));
        updateStyle();
    }

    void setIcon(const std::string& name) override {
        icon_ = name;
        const QIcon icon = iconOf(name);
        button_->setIcon(icon);
        if (!icon.isNull()) {
            // Room for the icon above a whole line of text, descenders included, within what
            // the button's height allows: the largest icon whose button still fits.
            const int height = window_.units().toPixelsY(at_.height);
            const int line = button_->text().isEmpty() ? 0 : button_->fontMetrics().height();
            int side = at_.height > 0 ? std::clamp(height - line, kSmallestIcon, kLargestIcon)
                                      : kNaturalIcon;
            button_->setIconSize(QSize(side, side));
            updateStyle();
            while (at_.height > 0 && side > kSmallestIcon &&
                   button_->sizeHint().height() > height) {
                --side;
                button_->setIconSize(QSize(side, side));
            }
        }
        updateStyle();
    }

  private:
    void updateStyle() {
        auto* tool = qobject_cast<QToolButton*>(button_);
        if (tool == nullptr) return;
        const bool hasIcon = !button_->icon().isNull();
        const bool hasText = !button_->text().isEmpty();
        tool->setToolButtonStyle(hasIcon && hasText ? Qt::ToolButtonTextUnderIcon
                                 : hasIcon          ? Qt::ToolButtonIconOnly
                                                    : Qt::ToolButtonTextOnly);
    }

    QAbstractButton* button_ = nullptr;
};

class CheckControl final : public Control {
  public:
    using Control::Control;

    void build() override {
        box_ = new QCheckBox(toScreen(text_), parentWidget());
        widget_ = box_;
        QObject::connect(box_, &QCheckBox::clicked, [this](bool checked) {
            use_.setNumber(checked ? 1 : 0);
            window_.post(EVENT::Accepted, field());
        });
        adopt(box_);
    }
    void display() override {
        if (use_.bound()) box_->setChecked(use_.number() != 0);
    }
    int choice() const override { return box_->isChecked() ? 1 : 0; }
    void setText(const std::string& text) override {
        text_ = text;
        box_->setText(toScreen(text));
    }

  private:
    QCheckBox* box_ = nullptr;
};

class RadioControl;

// An option group: its value is the number of the chosen radio, counted from 1 in layout order.
class OptionControl final : public Control {
  public:
    using Control::Control;

    void build() override {
        if (layout_.flags & ControlFlag::kNoFrame || text_.empty()) {
            widget_ = new QWidget(parentWidget());
        } else {
            widget_ = new QGroupBox(toScreen(text_), parentWidget());
        }
        group_ = new QButtonGroup(widget_);
        adopt(widget_);
    }

    void addRadio(QAbstractButton* button) {
        const int number = static_cast<int>(group_->buttons().size()) + 1;
        group_->addButton(button, number);
        QObject::connect(button, &QAbstractButton::clicked, [this, number] {
            use_.setNumber(number);
            window_.post(EVENT::Accepted, field());
        });
    }
    void removeRadio(QAbstractButton* button) { group_->removeButton(button); }

    void display() override {
        if (use_.bound()) setChoice(static_cast<int>(use_.number()));
    }
    int choice() const override {
        const int id = group_->checkedId();
        return id < 0 ? 0 : id;
    }
    void setChoice(int number) override {
        if (QAbstractButton* button = group_->button(number)) {
            button->setChecked(true);
            return;
        }
        // No radio has that number: none is chosen.
        group_->setExclusive(false);
        for (QAbstractButton* b : group_->buttons())
            b->setChecked(false);
        group_->setExclusive(true);
    }
    void setText(const std::string& text) override {
        text_ = text;
        if (auto* box = qobject_cast<QGroupBox*>(widget_.data())) box->setTitle(toScreen(text));
    }

  private:
    QButtonGroup* group_ = nullptr;
};

class RadioControl final : public Control {
  public:
    using Control::Control;
    ~RadioControl() override {
        if (auto* option = dynamic_cast<OptionControl*>(window_.control(layout_.parent))) {
            if (button_) option->removeRadio(button_);
        }
    }

    void build() override {
        if (layout_.flags & ControlFlag::kIconOnly) {
            auto* tool = new QToolButton(parentWidget());
            tool->setCheckable(true);
            tool->setAutoRaise(false);
            tool->setToolButtonStyle(Qt::ToolButtonIconOnly);
            button_ = tool;
        } else {
            button_ = new QRadioButton(parentWidget());
        }
        widget_ = button_;
        setText(text_);
        setIcon(icon_);
        if (auto* option = dynamic_cast<OptionControl*>(window_.control(layout_.parent))) {
            option->addRadio(button_);
        }
        adopt(button_);
    }
    void setText(const std::string& text) override {
        text_ = text;
        if (!(layout_.flags & ControlFlag::kIconOnly)) button_->setText(toScreen(text));
        if (button_->toolTip().isEmpty() && (layout_.flags & ControlFlag::kIconOnly)) {
            button_->setToolTip(toScreen(text).remove('&'));
        }
    }
    void setIcon(const std::string& name) override {
        icon_ = name;
        const QIcon icon = iconOf(name);
        button_->setIcon(icon);
        if ((layout_.flags & ControlFlag::kIconOnly) && icon.isNull()) {
            // Without its picture an icon button still shows what it stands for.
            auto* tool = qobject_cast<QToolButton*>(button_.data());
            if (tool) tool->setToolButtonStyle(Qt::ToolButtonTextOnly);
            button_->setText(toScreen(text_).remove('&'));
        }
    }

  private:
    QPointer<QAbstractButton> button_;
};

}  // namespace

std::unique_ptr<Control> makeButtonControl(WindowImpl& window, const ControlLayout& layout,
                                           UseVariable use) {
    switch (layout.kind) {
        case ControlKind::Check:
            return std::make_unique<CheckControl>(window, layout, use);
        case ControlKind::Option:
            return std::make_unique<OptionControl>(window, layout, use);
        case ControlKind::Radio:
            return std::make_unique<RadioControl>(window, layout, use);
        default:
            return std::make_unique<ButtonControl>(window, layout, use);
    }
}

}  // namespace quillery
