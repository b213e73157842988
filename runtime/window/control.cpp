// What every control shares: placement, the program's hidden and disabled states, and the
// common properties.
#include "runtime/window/control.h"

#include <QCursor>

#include "runtime/window/screen_text.h"
#include "runtime/window/window_impl.h"

namespace quillery {
namespace {

Qt::CursorShape cursorOf(long number) {
    switch (number) {
        case 32513:
            return Qt::IBeamCursor;
        case 32514:
            return Qt::WaitCursor;
        case 32515:
            return Qt::CrossCursor;
        case 32516:
            return Qt::UpArrowCursor;
        case 32642:
            return Qt::SizeFDiagCursor;
        case 32643:
            return Qt::SizeBDiagCursor;
        case 32644:
            return Qt::SizeHorCursor;
        case 32645:
            return Qt::SizeVerCursor;
        case 32646:
            return Qt::SizeAllCursor;
        case 32648:
            return Qt::ForbiddenCursor;
        case 32649:
            return Qt::PointingHandCursor;
        case 32650:
            return Qt::BusyCursor;
        default:
            return Qt::ArrowCursor;
    }
}

}  // namespace

Control::Control(WindowImpl& window, const ControlLayout& layout, UseVariable use)
    : window_(window),
      layout_(layout),
      use_(use),
      text_(layout.text),
      icon_(layout.icon),
      at_(layout.at) {
    disabled_ = (layout.flags & ControlFlag::kDisabled) != 0;
    hidden_ = (layout.flags & ControlFlag::kHidden) != 0;
}

Control::~Control() {
    delete widget_.data();
}

QWidget* Control::parentWidget() const {
    return window_.containerFor(layout_.parent);
}

QFont Control::controlFont() const {
    return fontOf(layout_.font, window_.font());
}

void Control::adopt(QWidget* widget) {
    widget->setProperty(kFieldProperty, layout_.field);
    widget->setObjectName(QString("field%1").arg(layout_.field));
    widget->installEventFilter(window_.frame());
    for (QWidget* child : widget->findChildren<QWidget*>()) {
        child->installEventFilter(window_.frame());
    }
    if (!layout_.tip.empty()) widget->setToolTip(toScreen(layout_.tip));
    if (!layout_.font.family.empty() || layout_.font.points != 0 || layout_.font.style != 0) {
        widget->setFont(controlFont());
    }
    if (layout_.font.color != kNoColor) {
        QPalette palette = widget->palette();
        const QColor color = QColor::fromRgb(static_cast<QRgb>(layout_.font.color));
        palette.setColor(QPalette::WindowText, color);
        palette.setColor(QPalette::Text, color);
        palette.setColor(QPalette::ButtonText, color);
        widget->setPalette(palette);
    }
}

void Control::place() {
    QWidget* w = widget();
    if (w == nullptr || kind() == ControlKind::Toolbar) return;
    const DialogUnits& du = window_.units();
    QRect r = du.toPixels(at_);
    const QSize natural = w->sizeHint();
    if (at_.width <= 0) r.setWidth(natural.isValid() ? natural.width() : 0);
    if (at_.height <= 0) r.setHeight(natural.isValid() ? natural.height() : 0);
    w->setGeometry(r);
}

void Control::setAt(const Rect& at) {
    at_ = at;
    place();
}

void Control::select(int, int) {
    if (QWidget* w = widget()) w->setFocus(Qt::OtherFocusReason);
}

void Control::setDisabled(bool disabled) {
    disabled_ = disabled;
    applyState();
    // Controls inside this one follow it.
    for (const auto& other : window_.controls()) {
        if (other->layout().parent == field() && other.get() != this) other->applyState();
    }
}

void Control::setHidden(bool hidden) {
    hidden_ = hidden;
    window_.applyStates();
}

bool Control::visibleOnScreen() const {
    if (hidden_) return false;
    const Control* child = this;
    for (int guard = 0; guard < 16; ++guard) {
        const Control* parent = window_.control(child->layout().parent);
        if (parent == nullptr || parent == child) return true;
        if (parent->hidden_) return false;
        if (parent->kind() == ControlKind::Tab) {
            const Control* sheet = window_.control(parent->layout().parent);
            const auto* owner = dynamic_cast<const TabOwner*>(sheet);
            if (owner != nullptr && !owner->isTabSelected(*parent)) return false;
        }
        child = parent;
    }
    return true;
}

void Control::applyState() {
    QWidget* w = widget();
    if (w == nullptr) return;
    bool enabled = !disabled_;
    for (const Control* p = window_.control(layout_.parent); p != nullptr && enabled;
         p = (p->layout().parent == p->field()) ? nullptr : window_.control(p->layout().parent)) {
        if (p->disabled_ && p->kind() != ControlKind::Toolbar) enabled = false;
    }
    w->setEnabled(enabled);
    w->setVisible(visibleOnScreen());
}

void Control::setText(const std::string& text) {
    text_ = text;
}

void Control::setIcon(const std::string& name) {
    icon_ = name;
}

bool Control::setProp(Prop prop, int, const PropValue& value) {
    const int n = static_cast<int>(value.integer());
    switch (prop) {
        case Prop::Text:
            setText(value.text());
            return true;
        case Prop::Icon:
            setIcon(value.text());
            return true;
        case Prop::X:
            setAt({n, at_.y, at_.width, at_.height});
            return true;
        case Prop::Y:
            setAt({at_.x, n, at_.width, at_.height});
            return true;
        case Prop::Width:
            setAt({at_.x, at_.y, n, at_.height});
            return true;
        case Prop::Height:
            setAt({at_.x, at_.y, at_.width, n});
            return true;
        case Prop::Hide:
            setHidden(n != 0);
            return true;
        case Prop::Disable:
            setDisabled(n != 0);
            return true;
        case Prop::Tip:
            if (widget()) widget()->setToolTip(toScreen(value.text()));
            return true;
        case Prop::Cursor:
            if (widget()) widget()->setCursor(cursorOf(n));
            return true;
        case Prop::Choice:
            setChoice(n);
            return true;
        case Prop::Value:
            use_.setText(value.text());
            display();
            return true;
        default:
            return false;
    }
}

std::optional<PropValue> Control::prop(Prop prop, int) const {
    switch (prop) {
        case Prop::Text:
            return PropValue(text());
        case Prop::Icon:
            return PropValue(icon_);
        case Prop::X:
            return PropValue(at_.x);
        case Prop::Y:
            return PropValue(at_.y);
        case Prop::Width:
            if (at_.width <= 0 && widget())
                return PropValue(window_.units().toUnitsX(widget()->width()));
            return PropValue(at_.width);
        case Prop::Height:
            if (at_.height <= 0 && widget())
                return PropValue(window_.units().toUnitsY(widget()->height()));
            return PropValue(at_.height);
        case Prop::Hide:
            return PropValue(hidden_ ? 1 : 0);
        case Prop::Disable:
            return PropValue(disabled_ ? 1 : 0);
        case Prop::Tip:
            return PropValue(widget() ? fromScreen(widget()->toolTip()) : std::string());
        case Prop::Choice:
            return PropValue(choice());
        case Prop::Value:
            return PropValue(use_.text());
        default:
            return std::nullopt;
    }
}

std::unique_ptr<Control> makeControl(WindowImpl& window, const ControlLayout& layout,
                                     UseVariable use) {
    switch (layout.kind) {
        case ControlKind::Prompt:
        case ControlKind::String:
        case ControlKind::Entry:
        case ControlKind::Text:
            return makeTextControl(window, layout, use);
        case ControlKind::Button:
        case ControlKind::Check:
        case ControlKind::Option:
        case ControlKind::Radio:
            return makeButtonControl(window, layout, use);
        case ControlKind::List:
        case ControlKind::Combo:
            return makeListControl(window, layout, use);
        case ControlKind::Sheet:
        case ControlKind::Tab:
            return makeSheetControl(window, layout, use);
        case ControlKind::Menu:
        case ControlKind::Item:
        case ControlKind::Separator:
            return makeMenuControl(window, layout, use);
        case ControlKind::Spin:
            return makeSpinControl(window, layout, use);
        default:
            return makeGraphicControl(window, layout, use);
    }
}

}  // namespace quillery
