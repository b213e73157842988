// Reading and writing tab-separated rows.
#include "app/exchange/tab_separated.h"

namespace quillery::exchange {

std::vector<CsvRow> parseTabSeparated(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::vector<CsvRow> rows;
    int line = 1;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        CsvRow row{line, {}};
        const std::string_view content = text.substr(start, end - start);
        for (std::size_t from = 0;;) {
            const std::size_t tab = content.find('\t', from);
            row.fields.emplace_back(content.substr(from, tab - from));
            if (tab == std::string_view::npos) break;
            from = tab + 1;
        }
        rows.push_back(std::move(row));
        ++line;
        start = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
    }
    while (!rows.empty() && rows.back().fields.size() == 1 && rows.back().fields[0].empty()) {
        rows.pop_back();
    }
    return rows;
}

void appendTabSeparatedRow(std::string& out, const std::vector<std::string>& values) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) out += '\t';
        for (const char c : values[i])
            out += c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
    }
    out += "\r\n";
}

}  // namespace quillery::exchange
