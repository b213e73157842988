// The import report's lines.
#include "app/exchange/import_report.h"

#include <algorithm>

namespace quillery::exchange {

void ImportReport::replacedCharacters(int line, std::string_view title, std::size_t count) {
    note(
        line, title,
        std::to_string(count) + (count == 1 ? " character" : " characters") + " not representable");
}

void ImportReport::cut(int line, std::string_view title, std::string_view field, std::size_t from,
                       std::size_t to) {
    note(line, title,
         std::string(field) + " cut from " + std::to_string(from) + " to " + std::to_string(to) +
             " characters");
}

void ImportReport::note(int line, std::string_view title, std::string_view message) {
    const std::string name = title.empty() ? std::string("(no title)") : std::string(title);
    books_.emplace(line, line > 0 ? std::string() : name);
    // Findings made after the reading (an ISBN already there, say) join their book's lines.
    const auto at = line > 0 ? std::upper_bound(lineOf_.begin(), lineOf_.end(), line,
                                                [](int a, int b) { return a < b || b == 0; })
                             : lineOf_.end();
    const auto index = at - lineOf_.begin();
    lineOf_.insert(at, line);
    lines_.insert(lines_.begin() + index,
                  (line > 0 ? "line " + std::to_string(line) + ": " : std::string()) + name + ": " +
                      std::string(message));
}

ExchangeImport readExportRows(bool parsed, const CsvProblem& parseProblem,
                              std::span<const CsvRow> rows, const ExportShape& shape,
                              QuilleryStamp now) {
    ExchangeImport result;
    if (!parsed) {
        result.problem = parseProblem;
        return result;
    }
    if (rows.empty()) {
        result.problem = CsvProblem{
            1, "the file is empty; " + std::string(shape.called) + " starts with a header row"};
        return result;
    }
    const NamedColumns columns(rows[0]);
    if (!shape.hasColumns(columns)) {
        result.problem = CsvProblem{rows[0].line, "not " + std::string(shape.called) +
                                                      ": the header row needs " +
                                                      std::string(shape.neededColumns)};
        return result;
    }
    result.records.resize(rows.size() - 1);
    for (std::size_t i = 1; i < rows.size(); ++i)
        result.lines.push_back(rows[i].line);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        if ((result.problem =
                 shape.readBook(columns, rows[i], now, result.report, result.records[i - 1]))) {
            result.records.clear();
            result.lines.clear();
            return result;
        }
    }
    return result;
}

}  // namespace quillery::exchange
