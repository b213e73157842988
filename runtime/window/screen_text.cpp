// Conversions at the widget boundary, through the runtime's code page tables.
#include "runtime/window/screen_text.h"

#include "runtime/codepage.h"

namespace quillery {

QString toScreen(std::string_view text) {
    const std::u16string wide = cp1252ToUtf16(text);
    return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

std::string fromScreen(const QString& text) {
    return utf16ToCp1252(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), text.size()));
}

QString toScreenClipped(std::string_view text) {
    std::size_t n = text.size();
    while (n > 0 && text[n - 1] == ' ')
        --n;
    return toScreen(text.substr(0, n));
}

}  // namespace quillery
