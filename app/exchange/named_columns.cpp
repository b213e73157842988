// Export columns by name.
#include "app/exchange/named_columns.h"

#include "runtime/case_compare.h"

namespace quillery::exchange {

namespace {

bool sameName(std::string_view a, std::string_view b) {
    return equalsIgnoringCase(trimmed(a), trimmed(b));
}

}  // namespace

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const std::size_t start = text.find_first_not_of(kBlanks);
    if (start == std::string_view::npos) return {};
    return text.substr(start, text.find_last_not_of(kBlanks) - start + 1);
}

NamedColumns::NamedColumns(const CsvRow& header) : names_(header.fields) {}

std::optional<std::size_t> NamedColumns::indexOf(std::string_view name) const {
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (sameName(names_[i], name)) return i;
    }
    return std::nullopt;
}

std::string_view NamedColumns::value(const CsvRow& row, std::string_view name) const {
    const std::optional<std::size_t> index = indexOf(name);
    if (!index || *index >= row.fields.size()) return {};
    return row.fields[*index];
}

std::string_view NamedColumns::firstOf(const CsvRow& row,
                                       std::initializer_list<std::string_view> names) const {
    for (std::string_view name : names) {
        if (has(name)) return value(row, name);
    }
    return {};
}

std::optional<CsvProblem> NamedColumns::checkWidth(const CsvRow& row) const {
    if (row.fields.size() == names_.size()) return std::nullopt;
    const std::size_t n = row.fields.size();
    return CsvProblem{row.line, std::to_string(n) + (n == 1 ? " value" : " values") +
                                    " where the header row names " + std::to_string(names_.size()) +
                                    " columns"};
}

}  // namespace quillery::exchange
