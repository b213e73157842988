// Use variables: program variables bound to controls by address and type, so the engine can
// copy a value into its control on display and typed text back before EVENT:Accepted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/fixed_string.h"

namespace quillery {

enum class UseType { None, Text, Bool, Int8, UInt8, Int16, UInt16, Int32, UInt32, Double };

struct UseVariable {
    void* address = nullptr;
    UseType type = UseType::None;
    std::size_t size = 0;  // bytes; the length of a text field

    bool bound() const { return address != nullptr && type != UseType::None; }
    bool isText() const { return type == UseType::Text; }

    // The value as a number; a text field gives its clipped text read as a number (0 if none).
    double number() const;
    // The value as text: a text field whole (blanks included), a number in decimal.
    std::string text() const;
    // Stores a number; integers are rounded toward zero and kept within their type's range.
    void setNumber(double value) const;
    // Stores text: a text field is blank-padded or cut; a number field reads it as a number.
    void setText(std::string_view value) const;
};

template <std::size_t N>
UseVariable use(FixedString<N>& v) {
    return {v.data, UseType::Text, N};
}
inline UseVariable use(bool& v) {
    return {&v, UseType::Bool, sizeof v};
}
inline UseVariable use(std::int8_t& v) {
    return {&v, UseType::Int8, sizeof v};
}
inline UseVariable use(std::uint8_t& v) {
    return {&v, UseType::UInt8, sizeof v};
}
inline UseVariable use(std::int16_t& v) {
    return {&v, UseType::Int16, sizeof v};
}
inline UseVariable use(std::uint16_t& v) {
    return {&v, UseType::UInt16, sizeof v};
}
inline UseVariable use(std::int32_t& v) {
    return {&v, UseType::Int32, sizeof v};
}
inline UseVariable use(std::uint32_t& v) {
    return {&v, UseType::UInt32, sizeof v};
}
inline UseVariable use(double& v) {
    return {&v, UseType::Double, sizeof v};
}

}  // namespace quillery
