// Reading and writing use variables by their bound type.
#include "runtime/window/use_variable.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace quillery {
namespace {

template <class T>
T clampTo(double value) {
    if (std::isnan(value)) return 0;
    value = std::trunc(value);
    value = std::clamp(value, static_cast<double>(std::numeric_limits<T>::min()),
                       static_cast<double>(std::numeric_limits<T>::max()));
    return static_cast<T>(value);
}

template <class T>
void store(void* address, T value) {
    std::memcpy(address, &value, sizeof value);
}

template <class T>
T load(const void* address) {
    T value;
    std::memcpy(&value, address, sizeof value);
    return value;
}

std::string numberText(double value) {
    if (value == std::trunc(value) && std::abs(value) < 1e15) {
        return std::to_string(static_cast<long long>(value));
    }
    std::string text = std::to_string(value);
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}

}  // namespace

double UseVariable::number() const {
    switch (type) {
        case UseType::None:
            return 0;
        case UseType::Text: {
            std::string t(static_cast<const char*>(address), size);
            return std::strtod(t.c_str(), nullptr);
        }
        case UseType::Bool:
            return load<bool>(address) ? 1 : 0;
        case UseType::Int8:
            return load<std::int8_t>(address);
        case UseType::UInt8:
            return load<std::uint8_t>(address);
        case UseType::Int16:
            return load<std::int16_t>(address);
        case UseType::UInt16:
            return load<std::uint16_t>(address);
        case UseType::Int32:
            return load<std::int32_t>(address);
        case UseType::UInt32:
            return load<std::uint32_t>(address);
        case UseType::Double:
            return load<double>(address);
    }
    return 0;
}

std::string UseVariable::text() const {
    if (type == UseType::None) return {};
    if (type == UseType::Text) return std::string(static_cast<const char*>(address), size);
    return numberText(number());
}

void UseVariable::setNumber(double value) const {
    switch (type) {
        case UseType::None:
            return;
        case UseType::Text:
            setText(numberText(value));
            return;
        case UseType::Bool:
            store<bool>(address, value != 0);
            return;
        case UseType::Int8:
            store(address, clampTo<std::int8_t>(value));
            return;
        case UseType::UInt8:
            store(address, clampTo<std::uint8_t>(value));
            return;
        case UseType::Int16:
            store(address, clampTo<std::int16_t>(value));
            return;
        case UseType::UInt16:
            store(address, clampTo<std::uint16_t>(value));
            return;
        case UseType::Int32:
            store(address, clampTo<std::int32_t>(value));
            return;
        case UseType::UInt32:
            store(address, clampTo<std::uint32_t>(value));
            return;
        case UseType::Double:
            store(address, value);
            return;
    }
}

void UseVariable::setText(std::string_view value) const {
    if (type == UseType::None) return;
    if (type != UseType::Text) {
        std::string t(value);
        setNumber(std::strtod(t.c_str(), nullptr));
        return;
    }
    char* out = static_cast<char*>(address);
    const std::size_t n = std::min(value.size(), size);
    std::memcpy(out, value.data(), n);
    std::memset(out + n, ' ', size - n);
}

}  // namespace quillery
