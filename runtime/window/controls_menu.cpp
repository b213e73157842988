// Menus of the menu bar, their items (check items bound to a variable) and separators.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "runtime/window/control.h"
#include "runtime/window/help.h"
#include "runtime/window/screen_text.h"
#include "runtime/window/window_impl.h"

namespace quillery {
namespace {

class MenuControl;

QMenu* menuOf(WindowImpl& window, int field);

class MenuControl final : public Control {
  public:
    using Control::Control;
    ~MenuControl() override { delete menu_.data(); }

    void build() override {
        if (QMenu* parent = menuOf(window_, layout_.parent)) {
            menu_ = parent->addMenu(toScreen(text_));
        } else {
            menu_ = window_.frame()->menuBar()->addMenu(toScreen(text_));
        }
        menu_->setObjectName(QString("field%1").arg(field()));
    }
    void place() override {}
    void applyState() override {
        menu_->menuAction()->setEnabled(!disabled_);
        menu_->menuAction()->setVisible(!hidden_);
    }
    void setText(const std::string& text) override {
        text_ = text;
        menu_->setTitle(toScreen(text));
    }
    QMenu* menu() const { return menu_; }

  private:
    QPointer<QMenu> menu_;
};

QMenu* menuOf(WindowImpl& window, int field) {
    auto* control = dynamic_cast<MenuControl*>(window.control(field));
    return control ? control->menu() : nullptr;
}

class ItemControl final : public Control {
  public:
    using Control::Control;
    ~ItemControl() override { delete action_.data(); }

    void build() override {
        QMenu* parent = menuOf(window_, layout_.parent);
        QWidget* owner = parent ? static_cast<QWidget*>(parent) : window_.frame()->menuBar();
        action_ = new QAction(owner);
        action_->setObjectName(QString("field%1").arg(field()));
        if (kind() == ControlKind::Separator) {
            action_->setSeparator(true);
        } else {
            action_->setText(toScreen(text_));
            if (!layout_.shortcut.empty()) {
                action_->setShortcut(QKeySequence(toScreen(layout_.shortcut)));
                action_->setShortcutContext(Qt::WindowShortcut);
            }
            if (!layout_.tip.empty()) {
                action_->setStatusTip(toScreen(layout_.tip));
                action_->setToolTip(toScreen(layout_.tip));
            }
            action_->setCheckable((layout_.flags & ControlFlag::kCheckable) != 0);
            QObject::connect(action_, &QAction::triggered,
                             [this](bool checked) { chosen(checked); });
        }
        owner->addAction(action_);
    }
    void place() override {}
    void applyState() override {
        action_->setEnabled(!disabled_);
        action_->setVisible(!hidden_);
    }
    void display() override {
        if (action_->isCheckable() && use_.bound()) action_->setChecked(use_.number() != 0);
    }
    void setText(const std::string& text) override {
        text_ = text;
        action_->setText(toScreen(text));
    }
    int choice() const override { return action_->isChecked() ? 1 : 0; }
    bool setProp(Prop prop, int index, const PropValue& value) override {
        if (prop == Prop::Checked) {
            action_->setChecked(value.integer() != 0);
            return true;
        }
        if (prop == Prop::Tip) {
            action_->setStatusTip(toScreen(value.text()));
            action_->setToolTip(toScreen(value.text()));
            return true;
        }
        return Control::setProp(prop, index, value);
    }
    std::optional<PropValue> prop(Prop prop, int index) const override {
        if (prop == Prop::Checked) return PropValue(action_->isChecked() ? 1 : 0);
        if (prop == Prop::Tip) return PropValue(fromScreen(action_->statusTip()));
        return Control::prop(prop, index);
    }
    QAction* action() const { return action_; }

  private:
    void chosen(bool checked) {
        if (layout_.flags & ControlFlag::kHelpContents) {
            openHelp(HelpRequest::Contents);
            return;
        }
        if (layout_.flags & ControlFlag::kHelpSearch) {
            openHelp(HelpRequest::Search);
            return;
        }
        if (action_->isCheckable() && use_.bound()) use_.setNumber(checked ? 1 : 0);
        window_.post(EVENT::Accepted, field());
    }

    QPointer<QAction> action_;
};

}  // namespace

QAction* menuActionOf(Control* control) {
    if (auto* item = dynamic_cast<ItemControl*>(control)) return item->action();
    if (auto* menu = dynamic_cast<MenuControl*>(control)) return menu->menu()->menuAction();
    return nullptr;
}

std::unique_ptr<Control> makeMenuControl(WindowImpl& window, const ControlLayout& layout,
                                         UseVariable use) {
    if (layout.kind == ControlKind::Menu) return std::make_unique<MenuControl>(window, layout, use);
    return std::make_unique<ItemControl>(window, layout, use);
}

}  // namespace quillery
