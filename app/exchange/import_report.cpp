// The import report's lines.
#include "app/exchange/import_report.h"

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
    if (line != lastLine_) ++books_;
    lastLine_ = line;
    lines_.push_back("line " + std::to_string(line) + ": " +
                     (title.empty() ? std::string("(no title)") : std::string(title)) + ": " +
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
    for (std::size_t i = 1; i < rows.size(); ++i) {
        if ((result.problem =
                 shape.readBook(columns, rows[i], now, result.report, result.records[i - 1]))) {
            result.records.clear();
            return result;
        }
    }
    return result;
}

}  // namespace quillery::exchange
