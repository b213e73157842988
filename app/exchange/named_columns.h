// The columns of an export file by the names its first row gives them, so a reader takes each
// value by name and never by position.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/csv_format.h"

namespace quillery::exchange {

class NamedColumns {
  public:
    // Reads the header row; names are matched ignoring case and surrounding blanks.
    explicit NamedColumns(const CsvRow& header);

    bool has(std::string_view name) const { return indexOf(name).has_value(); }
    std::size_t count() const { return names_.size(); }
    // The value of column `name` in `row`, empty when the file has no such column.
    std::string_view value(const CsvRow& row, std::string_view name) const;
    // The first of `names` the file has, or empty.
    std::string_view firstOf(const CsvRow& row,
                             std::initializer_list<std::string_view> names) const;

    // "line N: 3 values where the header row names 24 columns" when `row` does not fit.
    std::optional<CsvProblem> checkWidth(const CsvRow& row) const;

  private:
    std::optional<std::size_t> indexOf(std::string_view name) const;
    std::vector<std::string> names_;
};

// `text` without blanks, tabs and line breaks around it.
std::string_view trimmed(std::string_view text);

}  // namespace quillery::exchange
