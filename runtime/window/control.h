// The engine's side of one control: its layout, its use variable, its widget (or menu action)
// and what each kind does on display, selection, properties and run-time changes.
#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>
#include <set>

#include "runtime/window/layout.h"
#include "runtime/window/use_variable.h"
#include "runtime/window/window.h"

namespace quillery {

class WindowImpl;

class Control {
  public:
    Control(WindowImpl& window, const ControlLayout& layout, UseVariable use);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    int field() const { return layout_.field; }
    ControlKind kind() const { return layout_.kind; }
    const ControlLayout& layout() const { return layout_; }
    const UseVariable& use() const { return use_; }
    WindowImpl& window() const { return window_; }

    // The widget that shows the control; nullptr for menus and menu items.
    virtual QWidget* widget() const { return widget_; }

    // Builds the widget. Called once, after every control before it in the layout exists.
    virtual void build() = 0;
    // Places the widget from its dialog-unit rectangle.
    virtual void place();
    // Copies the use variable into the control.
    virtual void display() {}
    // The chosen row, tab or option; 0 for none.
    virtual int choice() const { return 0; }
    // Focus, and for text controls the characters start..end (from 1), for lists row start.
    virtual void select(int start, int end);
    // Programmatic choice (lists, sheets, options); no event follows.
    virtual void setChoice(int) {}
    // Keeps a bound queue's display in step with the queue; called whenever a loop waits.
    virtual void refresh() {}
    // Text typed and not yet completed goes into the use variable now, with its
    // EVENT:Accepted, as leaving the control would do.
    virtual void settle() {}

    // The program's enabled and hidden states; what shows also depends on the tab it sits on.
    void setDisabled(bool disabled);
    void setHidden(bool hidden);
    bool disabled() const { return disabled_; }
    bool hidden() const { return hidden_; }
    // Re-applies visibility and availability to the widget.
    virtual void applyState();
    // True when the control shows: not hidden, and every tab it sits on selected.
    bool visibleOnScreen() const;

    // Properties this kind knows; nullopt passes the property to the common handling.
    virtual bool setProp(Prop prop, int index, const PropValue& value);
    virtual std::optional<PropValue> prop(Prop prop, int index) const;

    // Text and picture of the control as the program sets and reads them.
    virtual void setText(const std::string& text);
    virtual std::string text() const { return text_; }
    virtual void setIcon(const std::string& name);

    // The rectangle in dialog units, relative to the client area (or to the tool bar).
    Rect at() const { return at_; }
    void setAt(const Rect& at);

    std::set<int>& alertKeys() { return alertKeys_; }
    TypingLoss& typingLoss() { return typingLoss_; }

  protected:
    // Tags `widget` and its children with the field, and lets the window watch its input.
    void adopt(QWidget* widget);
    QWidget* parentWidget() const;
    QFont controlFont() const;

    WindowImpl& window_;
    ControlLayout layout_;
    UseVariable use_;
    QPointer<QWidget> widget_;
    std::string text_;
    std::string icon_;
    Rect at_;
    bool disabled_ = false;
    bool hidden_ = false;
    std::set<int> alertKeys_;
    TypingLoss typingLoss_;
};

// Makes the control of `layout`'s kind.
std::unique_ptr<Control> makeControl(WindowImpl& window, const ControlLayout& layout,
                                     UseVariable use);

// Kind-specific makers, one per file of controls.
std::unique_ptr<Control> makeTextControl(WindowImpl&, const ControlLayout&, UseVariable);
std::unique_ptr<Control> makeButtonControl(WindowImpl&, const ControlLayout&, UseVariable);
std::unique_ptr<Control> makeListControl(WindowImpl&, const ControlLayout&, UseVariable);
std::unique_ptr<Control> makeSheetControl(WindowImpl&, const ControlLayout&, UseVariable);
std::unique_ptr<Control> makeMenuControl(WindowImpl&, const ControlLayout&, UseVariable);
std::unique_ptr<Control> makeSpinControl(WindowImpl&, const ControlLayout&, UseVariable);
std::unique_ptr<Control> makeGraphicControl(WindowImpl&, const ControlLayout&, UseVariable);

// The control kinds that bind to a queue.
class QueueBound {
  public:
    virtual ~QueueBound() = default;
    virtual void bind(Queue& queue, int queueField) = 0;
};

// Lists whose rows the program arranges and whose columns it may supply.
class ArrangedList {
  public:
    virtual ~ArrangedList() = default;
    virtual void arrange(ListArrangement arrangement) = 0;
    virtual void supplyColumns(std::string_view format, ListCells cells) = 0;
    virtual void markOrder(int column, bool descending) = 0;
};

// The control kinds that own tabs.
class TabOwner {
  public:
    virtual ~TabOwner() = default;
    virtual void addTab(Control& tab) = 0;
    virtual void removeTab(Control& tab) = 0;
    virtual void setTabText(Control& tab, const QString& text) = 0;
    virtual void setTabVisible(Control& tab, bool visible) = 0;
    virtual bool isTabSelected(const Control& tab) const = 0;
    virtual void selectTab(const Control& tab) = 0;
};

}  // namespace quillery
