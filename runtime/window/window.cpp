// The Window handle and property values.
#include "runtime/window/window.h"

#include <cstdlib>

#include "runtime/window/window_impl.h"

namespace quillery {

void forgetWindow(Window* window);  // accept_loop.cpp

namespace {

std::string numberText(double value) {
    if (value == static_cast<double>(static_cast<long long>(value))) {
        return std::to_string(static_cast<long long>(value));
    }
    std::string text = std::to_string(value);
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    return text;
}

}  // namespace

PropValue::PropValue(std::string_view text) : text_(text), isText_(true) {
    number_ = std::strtod(text_.c_str(), nullptr);
}

PropValue::PropValue(double number) : text_(numberText(number)), number_(number) {}

Window::Window(const WindowLayout& layout, std::initializer_list<UseVariable> uses)
    : Window(layout, std::vector<UseVariable>(uses)) {}

Window::Window(const WindowLayout& layout, std::vector<UseVariable> uses)
    : impl_(std::make_unique<WindowImpl>(*this, layout, std::move(uses))) {}

Window::~Window() {
    impl_->close();
    forgetWindow(this);
}

std::string Window::name() const {
    return impl_->name();
}
bool Window::isOpen() const {
    return impl_->isOpen();
}
const WindowLayout& Window::layout() const {
    return impl_->layout();
}
QWidget* Window::widget() const {
    return impl_->frame();
}

QWidget* Window::controlWidget(int field) const {
    const Control* control = impl_->control(field);
    return control ? control->widget() : nullptr;
}

bool Window::hasControl(int field) const {
    return impl_->control(field) != nullptr;
}

std::vector<int> Window::fields() const {
    std::vector<int> list;
    for (const auto& control : impl_->controls()) {
        if (control->field() != 0) list.push_back(control->field());
    }
    return list;
}

}  // namespace quillery
