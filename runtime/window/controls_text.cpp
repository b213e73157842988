// Text controls: prompts, strings, one-line entries through pictures, multi-line text boxes.
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "runtime/window/control.h"
#include "runtime/window/focus_line_edit.h"
#include "runtime/window/screen_text.h"
#include "runtime/window/use_format.h"
#include "runtime/window/window_impl.h"

namespace quillery {
namespace {

Qt::Alignment alignmentOf(unsigned flags) {
    if (flags & ControlFlag::kRight) return Qt::AlignRight | Qt::AlignVCenter;
    if (flags & ControlFlag::kCenter) return Qt::AlignHCenter | Qt::AlignVCenter;
    return Qt::AlignLeft | Qt::AlignVCenter;
}

class LabelControl final : public Control {
  public:
    using Control::Control;

    void build() override {
        label_ = new QLabel(parentWidget());
        widget_ = label_;
        label_->setAlignment(alignmentOf(layout_.flags));
        label_->setTextFormat(Qt::PlainText);
        if (kind() == ControlKind::Prompt) {
            label_->setText(toScreen(text_));
        } else {
            label_->setText(toScreen(text_).remove('&'));
            label_->setWordWrap(layout_.at.height > 0 && !(layout_.flags & ControlFlag::kCenter));
        }
        adopt(label_);
    }

    void display() override {
        if (use_.bound()) {
            text_ = formatUse(use_, layout_.picture);
            label_->setText(toScreen(text_));
        }
    }

    void setText(const std::string& text) override {
        text_ = text;
        label_->setText(kind() == ControlKind::Prompt ? toScreen(text)
                                                      : toScreen(text).remove('&'));
    }

    void applyState() override {
        Control::applyState();
        // A prompt's '&' letter leads to the control that follows it in the layout.
        if (kind() == ControlKind::Prompt && label_->buddy() == nullptr) {
            const auto& all = window_.controls();
            for (std::size_t i = 0; i + 1 < all.size(); ++i) {
                if (all[i].get() == this && all[i + 1]->widget() != nullptr) {
                    label_->setBuddy(all[i + 1]->widget());
                    break;
                }
            }
        }
    }

    bool setProp(Prop prop, int index, const PropValue& value) override {
        if (prop == Prop::Color) {
            QPalette palette = label_->palette();
            palette.setColor(QPalette::WindowText,
                             QColor::fromRgb(static_cast<QRgb>(value.integer())));
            label_->setPalette(palette);
            return true;
        }
        return Control::setProp(prop, index, value);
    }
    std::optional<PropValue> prop(Prop prop, int index) const override {
        // The colour the text shows in: the layout's font colour, a colour the program set,
        // or the style's own, as 0xRRGGBB.
        if (prop == Prop::Color) {
            return PropValue(
                static_cast<int>(label_->palette().color(QPalette::WindowText).rgb() & 0xFFFFFFu));
        }
        return Control::prop(prop, index);
    }

  private:
    QLabel* label_ = nullptr;
};

class EntryControl final : public Control {
  public:
    using Control::Control;

    void build() override {
        edit_ = new FocusLineEdit(parentWidget(), *this);
        widget_ = edit_;
        edit_->setReadOnly(layout_.flags & ControlFlag::kReadOnly);
        if (layout_.flags & ControlFlag::kRight) edit_->setAlignment(Qt::AlignRight);
        QObject::connect(edit_, &QLineEdit::editingFinished, [this] { edit_->complete(); });
        if (layout_.flags & ControlFlag::kImmediate) {
            // Each change of the text is news to the program, before the typing is complete.
            QObject::connect(edit_, &QLineEdit::textChanged,
                             [this] { window_.post(EVENT::NewSelection, field()); });
        }
        adopt(edit_);
    }

    void display() override {
        if (!use_.bound()) return;
        QString shown = toScreen(formatUse(use_, layout_.picture));
        // Text pictures show their value without the trailing blanks of the field.
        if (use_.isText()) {
            while (shown.endsWith(' '))
                shown.chop(1);
        }
        edit_->setText(shown);
        edit_->setModified(false);
        typingLoss_ = {};
    }

    void select(int start, int end) override {
        edit_->setFocus(Qt::OtherFocusReason);
        if (start <= 0) return;
        if (end < start) end = start;
        edit_->setSelection(start - 1, end - start + 1);
    }

    void setText(const std::string& text) override {
        text_ = text;
        edit_->setText(toScreen(text));
    }
    std::string text() const override { return fromScreen(edit_->text()); }
    void settle() override { edit_->complete(); }

  private:
    FocusLineEdit* edit_ = nullptr;
};

class TextBoxEdit final : public QPlainTextEdit {
  public:
    TextBoxEdit(QWidget* parent, Control& control) : QPlainTextEdit(parent), control_(control) {}
    bool changedSinceFocus = false;

  protected:
    // Tab and Shift+Tab leave the box, as in every other control; Ctrl+Tab types a tab.
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Tab && event->modifiers() == Qt::ControlModifier) {
            insertPlainText("\t");
            return;
        }
        QPlainTextEdit::keyPressEvent(event);
    }
    void focusInEvent(QFocusEvent* event) override {
        QPlainTextEdit::focusInEvent(event);
        changedSinceFocus = false;
        control_.window().focusArrived(control_.field(), event->reason());
    }
    void focusOutEvent(QFocusEvent* event) override {
        QPlainTextEdit::focusOutEvent(event);
        if (event->reason() != Qt::ActiveWindowFocusReason) complete();
    }

  public:
    // The variable follows every key; what is left is to tell the window, once.
    void complete() {
        if (!changedSinceFocus) return;
        changedSinceFocus = false;
        control_.window().post(EVENT::Accepted, control_.field());
    }

  private:
    Control& control_;
};

// A multi-line box: its text is the variable's, line ends stored as CR LF; typing changes the
// variable at once.
class TextBoxControl final : public Control {
  public:
    using Control::Control;

    void build() override {
        edit_ = new TextBoxEdit(parentWidget(), *this);
        edit_->setTabChangesFocus(true);
        widget_ = edit_;
        edit_->setReadOnly(layout_.flags & ControlFlag::kReadOnly);
        edit_->setLineWrapMode((layout_.flags & ControlFlag::kHScroll)
                                   ? QPlainTextEdit::NoWrap
                                   : QPlainTextEdit::WidgetWidth);
        edit_->setVerticalScrollBarPolicy((layout_.flags & ControlFlag::kVScroll)
                                              ? Qt::ScrollBarAlwaysOn
                                              : Qt::ScrollBarAsNeeded);
        QObject::connect(edit_, &QPlainTextEdit::textChanged, [this] { typed(); });
        adopt(edit_);
    }

    void display() override {
        if (!use_.bound()) return;
        std::string value = use_.text();
        while (!value.empty() && value.back() == ' ')
            value.pop_back();
        QString shown = toScreen(value);
        shown.replace("\r\n", "\n");
        updating_ = true;
        edit_->setPlainText(shown);
        updating_ = false;
    }

    std::string text() const override {
        QString t = edit_->toPlainText();
        t.replace("\n", "\r\n");
        return fromScreen(t);
    }
    void setText(const std::string& text) override {
        text_ = text;
        QString shown = toScreen(text);
        shown.replace("\r\n", "\n");
        edit_->setPlainText(shown);
    }
    void settle() override { edit_->complete(); }

  private:
    void typed() {
        if (updating_) return;
        edit_->changedSinceFocus = true;
        if (!use_.bound()) return;
        std::string value = text();
        if (use_.isText() && value.size() > use_.size) {
            // The field holds no more; the box gives back what does not fit.
            value.resize(use_.size);
            updating_ = true;
            const int cursor = edit_->textCursor().position();
            QString shown = toScreen(value);
            shown.replace("\r\n", "\n");
            edit_->setPlainText(shown);
            QTextCursor c = edit_->textCursor();
            c.setPosition(std::min(cursor, static_cast<int>(shown.size())));
            edit_->setTextCursor(c);
            updating_ = false;
        }
        use_.setText(value);
    }

    TextBoxEdit* edit_ = nullptr;
    bool updating_ = false;
};

}  // namespace

std::unique_ptr<Control> makeTextControl(WindowImpl& window, const ControlLayout& layout,
                                         UseVariable use) {
    switch (layout.kind) {
        case ControlKind::Entry:
            return std::make_unique<EntryControl>(window, layout, use);
        case ControlKind::Text:
            return std::make_unique<TextBoxControl>(window, layout, use);
        default:
            return std::make_unique<LabelControl>(window, layout, use);
    }
}

}  // namespace quillery
