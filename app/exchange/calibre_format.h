// Calibre's catalogue CSV read into catalogue entries. Its columns are the ones the user
// chose, so each is read by name and any may be missing. The mapping is in
// docs/import-export.md.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "app/exchange/import_report.h"
#include "app/quillery_record.h"

namespace quillery::exchange {

// Whether a header row names the columns of a Calibre catalogue.
bool isCalibreHeader(std::span<const std::string> names);

// Every book of `csv`, stamped `now` where the catalogue gives no timestamp.
ExchangeImport readCalibreCsv(std::string_view csv, QuilleryStamp now);

}  // namespace quillery::exchange
