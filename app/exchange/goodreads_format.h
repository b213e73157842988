// A Goodreads library export (CSV) read into catalogue entries, and entries written as a CSV
// in the same columns, which Goodreads' importer takes. The mapping is in
// docs/import-export.md.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "app/exchange/import_report.h"
#include "app/quillery_record.h"

namespace quillery::exchange {

// Whether a header row names the columns of a Goodreads export.
bool isGoodreadsHeader(std::span<const std::string> names);

// Every book of `csv`, stamped `now` where the export gives no date added.
ExchangeImport readGoodreadsCsv(std::string_view csv, QuilleryStamp now);

std::string writeGoodreadsCsv(std::span<const QuilleryRecord> records);

}  // namespace quillery::exchange
