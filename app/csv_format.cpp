// Reading and writing comma-separated rows.
#include "app/csv_format.h"

namespace quillery {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Walks the text one row at a time, counting physical lines.
class CsvScanner {
  public:
    explicit CsvScanner(std::string_view text) : text_(text) {
        if (text_.starts_with(kByteOrderMark)) text_.remove_prefix(kByteOrderMark.size());
    }

    bool atEnd() const { return pos_ >= text_.size(); }

    // Reads the row at the current position; `blank` tells whether its line was empty.
    [[nodiscard]] bool readRow(CsvRow& row, bool& blank, CsvProblem& problem) {
        row.line = line_;
        blank = atLineEnd();
        row.fields.clear();
        for (;;) {
            std::string field;
            if (!readField(row.line, field, problem)) return false;
            row.fields.push_back(std::move(field));
            if (atEnd()) return true;
            const char c = text_[pos_];
            if (c == ',') {
                ++pos_;
                continue;
            }
            skipLineEnd();  // readField stops only at a comma, a line end or the end
            return true;
        }
    }

  private:
    bool atLineEnd() const { return text_[pos_] == '\n' || text_[pos_] == '\r'; }

    // Consumes one line end (CRLF counts once) and counts the line.
    void skipLineEnd() {
        if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
        ++pos_;
        ++line_;
    }

    [[nodiscard]] bool readField(int rowLine, std::string& field, CsvProblem& problem) {
        if (!atEnd() && text_[pos_] == '"') return readQuotedField(rowLine, field, problem);
        const std::size_t start = pos_;
        while (!atEnd() && text_[pos_] != ',' && !atLineEnd()) {
            if (text_[pos_] == '"') {
                problem = {rowLine, "quote inside an unquoted value"};
                return false;
            }
            ++pos_;
        }
        field.assign(text_.substr(start, pos_ - start));
        return true;
    }

    [[nodiscard]] bool readQuotedField(int rowLine, std::string& field, CsvProblem& problem) {
        ++pos_;  // the opening quote
        for (;;) {
            if (atEnd()) {
                problem = {rowLine, "quoted value not closed before the end of the file"};
                return false;
            }
            const char c = text_[pos_];
            if (c == '"') {
                if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
                    field.push_back('"');
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                break;
            }
            if (c == '\r' || c == '\n') {
                // Kept byte for byte; only the line count needs to know.
                const bool crlf = c == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n';
                field.append(text_.substr(pos_, crlf ? 2 : 1));
                pos_ += crlf ? 2 : 1;
                ++line_;
                continue;
            }
            field.push_back(c);
            ++pos_;
        }
        if (!atEnd() && text_[pos_] != ',' && !atLineEnd()) {
            problem = {rowLine, "text after the closing quote of a value"};
            return false;
        }
        return true;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

}  // namespace

std::string CsvProblem::text() const {
    return "line " + std::to_string(line) + ": " + message;
}

bool parseCsv(std::string_view text, std::vector<CsvRow>& rows, CsvProblem& problem) {
    rows.clear();
    CsvScanner scanner(text);
    // Blank lines at the end are dropped; they are counted until a real row follows.
    std::size_t blankTail = 0;
    while (!scanner.atEnd()) {
        CsvRow row;
        bool blank = false;
        if (!scanner.readRow(row, blank, problem)) return false;
        blankTail = blank ? blankTail + 1 : 0;
        rows.push_back(std::move(row));
    }
    rows.resize(rows.size() - blankTail);
    return true;
}

std::string csvField(std::string_view value) {
    const bool needsQuotes = value.find_first_of(",\"\r\n") != std::string_view::npos ||
                             (!value.empty() && (value.front() == ' ' || value.back() == ' '));
    if (!needsQuotes) return std::string(value);
    std::string out = "\"";
    for (char c : value) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

void appendCsvRow(std::string& out, const std::vector<std::string>& fields,
                  std::string_view lineEnd) {
    // A lone empty field would read back as a blank line.
    if (fields.size() == 1 && fields[0].empty()) {
        out += "\"\"";
        out += lineEnd;
        return;
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out.push_back(',');
        out += csvField(fields[i]);
    }
    out += lineEnd;
}

}  // namespace quillery
