// What an import from another service's export did to each book beyond copying it: characters
// the catalogue's code page lacks, values cut where their field ends, and the like. One line
// per finding, in the order of the file.
#pragma once

#include <cstddef>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/csv_format.h"
#include "app/exchange/named_columns.h"
#include "app/quillery_record.h"

namespace quillery::exchange {

class ImportReport {
  public:
    // "line N: TITLE: 2 characters not representable"
    void replacedCharacters(int line, std::string_view title, std::size_t count);
    // "line N: TITLE: LASTNAME cut from 23 to 20 characters"
    void cut(int line, std::string_view title, std::string_view field, std::size_t from,
             std::size_t to);
    // "line N: TITLE: MESSAGE"; "TITLE: MESSAGE" when the line is not known (0)
    void note(int line, std::string_view title, std::string_view message);

    const std::vector<std::string>& lines() const { return lines_; }
    // How many books have at least one line.
    std::size_t booksNamed() const { return books_.size(); }

  private:
    std::vector<std::string> lines_;  // in the order of the file's lines, unknown lines last
    std::vector<int> lineOf_;         // lines_[i] is about line lineOf_[i]
    std::set<std::pair<int, std::string>> books_;
};

// The entries an export gives, or the first thing wrong with it; nothing is half read.
struct ExchangeImport {
    std::vector<QuilleryRecord> records;  // empty when there is a problem
    std::vector<int> lines;               // each record's line in the file, where known
    std::optional<CsvProblem> problem;
    ImportReport report;
    bool ok() const { return !problem.has_value(); }
};

// Reads one book of an export's row into `entry`, noting in `report` what it had to change.
using BookReader = std::optional<CsvProblem> (*)(const NamedColumns& columns, const CsvRow& row,
                                                 QuilleryStamp now, ImportReport& report,
                                                 QuilleryRecord& entry);

// What a reader needs to know of its export: what the file is called in messages ("a
// Goodreads export"), whether a header row has the columns a book needs and, if not, which
// those are ("\"Title\" and \"Author\""), and how one row becomes a book.
struct ExportShape {
    std::string_view called;
    bool (*hasColumns)(const NamedColumns& header);
    std::string_view neededColumns;
    BookReader readBook;
};

// The reading every export shares: the rows as parsed (or the problem parsing them), an
// empty file or a header without the needed columns refused, then each row after the header
// read with the shape's reader; the first problem ends the reading and keeps no entries.
ExchangeImport readExportRows(bool parsed, const CsvProblem& parseProblem,
                              std::span<const CsvRow> rows, const ExportShape& shape,
                              QuilleryStamp now);

}  // namespace quillery::exchange
