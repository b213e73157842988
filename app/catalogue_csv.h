// A catalogue's entries as a UTF-8 CSV file with a header row naming the book fields, and
// back. The whole file is read into records before anything is written anywhere, so a bad row
// costs nothing but its report.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/csv_format.h"
#include "app/quillery_record.h"

namespace quillery {

struct CatalogueCsvImport {
    std::vector<QuilleryRecord> records;  // empty when there is a problem
    std::optional<CsvProblem> problem;    // the first bad row
    bool ok() const { return !problem.has_value(); }
};

// Reads every row of `csv` into a new entry. A column the header leaves out is blank or zero;
// the derived keys are formed by BUILDKEYS (NAMEKEY and TITLEKEY values in the file must agree
// with them); a stamp whose date and time are both left empty is `now`. Bad rows: an unknown
// or repeated column, a wrong number of values, a malformed quote, a value that is not UTF-8,
// holds a character Windows-1252 lacks or is longer than its field, a number or date out of
// form, and an entry with neither last nor first name (the catalogue drops those when opened).
CatalogueCsvImport readCatalogueCsv(std::string_view csv, QuilleryStamp now);
// The same, stamping with today's date and the time now.
CatalogueCsvImport readCatalogueCsv(std::string_view csv);

// The header row and one row per record, every field of the record in catalogueColumns()
// order, so that reading the text back gives the same records byte for byte.
std::string catalogueCsvHeader();
void appendCatalogueCsvRow(std::string& out, const QuilleryRecord& record);
std::string writeCatalogueCsv(std::span<const QuilleryRecord> records);

}  // namespace quillery
