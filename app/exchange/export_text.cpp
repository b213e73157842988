// UTF-16 with a byte-order mark brought to UTF-8; UTF-8's own mark dropped.
#include "app/exchange/export_text.h"

namespace quillery::exchange {

namespace {

ExportText fromUtf16(std::string_view bytes, bool bigEndian) {
    ExportText result;
    const auto unit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    int line = 1;
    const auto refuse = [&](std::string why) {
        result.text.clear();
        result.problem =
            CsvProblem{line, "the file is UTF-16 (it starts with a byte-order mark) but " + why};
        return result;
    };
    if (bytes.size() % 2 != 0) return refuse("has an odd number of bytes");
    result.text.reserve(bytes.size() / 2);
    for (std::size_t i = 2; i < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF) {
            const char16_t low = i + 3 < bytes.size() ? unit(i + 2) : 0;
            if (low < 0xDC00 || low > 0xDFFF) return refuse("holds a broken surrogate pair");
            c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return refuse("holds a broken surrogate pair");
        }
        if (c == '\n') ++line;
        appendUtf8(result.text, c);
    }
    return result;
}

}  // namespace

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

ExportText decodeExportText(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE")) return fromUtf16(bytes, false);
    if (bytes.starts_with("\xFE\xFF")) return fromUtf16(bytes, true);
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    return ExportText{std::string(bytes), std::nullopt};
}

}  // namespace quillery::exchange
