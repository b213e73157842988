// The operations on the current window's controls: POST, DISPLAY, SELECT, the ranges of
// DISABLE/ENABLE/HIDE/UNHIDE, run-time controls, alert keys, list binding and properties.
#include <QCursor>
#include <QScreen>
#include <algorithm>

#include "runtime/window/picture_files.h"
#include "runtime/window/screen_text.h"
#include "runtime/window/window.h"
#include "runtime/window/window_errors.h"
#include "runtime/window/window_impl.h"

namespace quillery {
namespace {

// Calls `action` for every control of the current window whose field lies in first..last.
template <class Action>
void forRange(int first, int last, Action action) {
    Window* window = currentWindow();
    if (window == nullptr) return;
    if (last == 0) last = first;
    if (last < first) std::swap(first, last);
    std::vector<Control*> hits;
    for (const auto& control : window->impl().controls()) {
        if (control->field() != 0 && control->field() >= first && control->field() <= last) {
            hits.push_back(control.get());
        }
    }
    for (Control* control : hits)
        action(*control);
}

WindowImpl& openImpl(Window& window) {
    if (!window.isOpen()) fatalWindowError(WindowError::kNotOpen);
    return window.impl();
}

void setWindowProp(WindowImpl& w, Prop prop, int index, const PropValue& value) {
    QWidget* frame = w.frame();
    const DialogUnits& du = w.units();
    const int n = static_cast<int>(value.integer());
    switch (prop) {
        case Prop::Text:
            frame->setWindowTitle(toScreen(value.text()));
            break;
        case Prop::Icon:
            // Procedures set the icon on every pass of their loop; read the file only once.
            if (w.iconName != toScreen(value.text())) {
                w.iconName = toScreen(value.text());
                frame->setWindowIcon(iconOf(value.text()));
            }
            break;
        case Prop::X:
            frame->move(du.toPixelsX(n), frame->y());
            break;
        case Prop::Y:
            frame->move(frame->x(), du.toPixelsY(n));
            break;
        case Prop::Width:
            w.resizeClient(du.toPixelsX(n), w.client()->height());
            break;
        case Prop::Height:
            w.resizeClient(w.client()->width(), du.toPixelsY(n) - w.toolbarPixels());
            break;
        case Prop::Timer:
            w.setTimerPeriod(n);
            break;
        case Prop::MinWidth:
            w.setMinimumWidthUnits(n);
            break;
        case Prop::MinHeight:
            w.setMinimumHeightUnits(n);
            break;
        case Prop::StatusText:
            w.setStatusText(index == 0 ? 1 : index, toScreen(value.text()));
            break;
        case Prop::Cursor:
            frame->setCursor(n == 32514 ? Qt::WaitCursor : Qt::ArrowCursor);
            break;
        default:
            break;
    }
}

PropValue windowProp(const WindowImpl& w, Prop prop, int index) {
    const QWidget* frame = w.frame();
    const DialogUnits& du = w.units();
    switch (prop) {
        case Prop::Text:
            return PropValue(fromScreen(frame->windowTitle()));
        case Prop::Icon:
            return PropValue(fromScreen(w.iconName));
        case Prop::X:
            return PropValue(du.toUnitsX(frame->x()));
        case Prop::Y:
            return PropValue(du.toUnitsY(frame->y()));
        case Prop::Width:
            return PropValue(w.clientWidthUnits());
        case Prop::Height:
            return PropValue(w.clientHeightUnits());
        case Prop::Timer:
            return PropValue(w.timerPeriod());
        case Prop::MinWidth:
            return PropValue(du.toUnitsX(frame->minimumWidth()));
        case Prop::MinHeight:
            return PropValue(du.toUnitsY(frame->minimumHeight()));
        case Prop::StatusText:
            return PropValue(fromScreen(w.statusText(index == 0 ? 1 : index)));
        default:
            return PropValue(0);
    }
}

}  // namespace

void fireTimer(Window& window) {
    window.impl().fireTimer();
}

void POST(EventCode event, int field) {
    Window* window = currentWindow();
    if (window == nullptr) return;
    window->impl().enqueue(event, field);
}

void POST(Window& window, EventCode event, int field) {
    openImpl(window).enqueue(event, field);
}

void DISPLAY(int first, int last) {
    if (first == 0) {
        if (Window* window = currentWindow()) {
            window->impl().refreshLists();
            window->impl().displayAll();
        }
        return;
    }
    forRange(first, last, [](Control& c) {
        c.refresh();
        c.display();
    });
}

void SELECT(int field, int start, int end) {
    Window* window = currentWindow();
    if (window == nullptr) return;
    if (Control* control = window->impl().control(field)) control->select(start, end);
}

void DISABLE(int first, int last) {
    forRange(first, last, [](Control& c) { c.setDisabled(true); });
}
void ENABLE(int first, int last) {
    forRange(first, last, [](Control& c) { c.setDisabled(false); });
}
void HIDE(int first, int last) {
    forRange(first, last, [](Control& c) { c.setHidden(true); });
}
void UNHIDE(int first, int last) {
    forRange(first, last, [](Control& c) { c.setHidden(false); });
}

void CREATE(int field, ControlKind kind, int parent) {
    Window* window = currentWindow();
    if (window == nullptr || field == 0) return;
    ControlLayout layout;
    layout.kind = kind;
    layout.field = field;
    layout.parent = parent;
    layout.flags = ControlFlag::kHidden;
    window->impl().createControl(layout);
}

void DESTROY(int first, int last) {
    Window* window = currentWindow();
    if (window == nullptr) return;
    std::vector<int> fields;
    forRange(first, last, [&](Control& c) { fields.push_back(c.field()); });
    for (int field : fields)
        window->impl().destroyControl(field);
}

void ALERT(int field, int key) {
    Window* window = currentWindow();
    if (window == nullptr) return;
    if (field == 0) {
        window->impl().windowAlerts().insert(key);
    } else if (Control* control = window->impl().control(field)) {
        control->alertKeys().insert(key);
    }
}

void ALERT_OFF(int field, int key) {
    Window* window = currentWindow();
    if (window == nullptr) return;
    std::set<int>* keys = nullptr;
    if (field == 0) {
        keys = &window->impl().windowAlerts();
    } else if (Control* control = window->impl().control(field)) {
        keys = &control->alertKeys();
    }
    if (keys == nullptr) return;
    if (key == KEY::None) {
        keys->clear();
    } else {
        keys->erase(key);
    }
}

void bindList(Window& window, int field, Queue& queue, int queueField) {
    Control* control = window.impl().control(field);
    if (auto* bound = dynamic_cast<QueueBound*>(control)) bound->bind(queue, queueField);
}

void bindList(int field, Queue& queue, int queueField) {
    if (Window* window = currentWindow()) bindList(*window, field, queue, queueField);
}

namespace {
ArrangedList* arrangedList(int field) {
    Window* window = currentWindow();
    return window ? dynamic_cast<ArrangedList*>(window->impl().control(field)) : nullptr;
}
}  // namespace

void arrangeList(int field, ListArrangement arrangement) {
    if (ArrangedList* list = arrangedList(field)) list->arrange(std::move(arrangement));
}

void supplyListColumns(int field, std::string_view format, ListCells cells) {
    if (ArrangedList* list = arrangedList(field)) list->supplyColumns(format, std::move(cells));
}

void markListOrder(int field, int column, bool descending) {
    if (ArrangedList* list = arrangedList(field)) list->markOrder(column, descending);
}

TypingLoss typingLoss(int field) {
    Window* window = currentWindow();
    if (window == nullptr) return {};
    Control* control = window->impl().control(field);
    return control ? control->typingLoss() : TypingLoss{};
}

PropertyRef& PropertyRef::operator=(const PropValue& value) {
    if (window_ == nullptr) return *this;
    WindowImpl& w = window_->impl();
    if (field_ == 0) {
        setWindowProp(w, prop_, index_, value);
    } else if (Control* control = w.control(field_)) {
        control->setProp(prop_, index_, value);
    }
    return *this;
}

PropValue PropertyRef::get() const {
    if (window_ == nullptr) return PropValue(0);
    const WindowImpl& w = window_->impl();
    if (field_ == 0) return windowProp(w, prop_, index_);
    const Control* control = w.control(field_);
    if (control == nullptr) return PropValue(0);
    return control->prop(prop_, index_).value_or(PropValue(0));
}

PropertyRef PROP(int field, Prop prop, int index) {
    return PropertyRef(currentWindow(), field, prop, index);
}

PropertyRef PROP(Window& window, int field, Prop prop, int index) {
    openImpl(window);
    return PropertyRef(&window, field, prop, index);
}

}  // namespace quillery
