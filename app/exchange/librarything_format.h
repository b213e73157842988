// LibraryThing's exports read into catalogue entries (its tab-separated, comma-separated and
// JSON files alike), and entries written as its tab-separated export for its importer. The
// mapping is in docs/import-export.md.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "app/exchange/import_report.h"
#include "app/quillery_record.h"

namespace quillery::exchange {

// Whether the first line of `text` is the header of a LibraryThing export, or `text` is its
// JSON export.
bool isLibraryThingExport(std::string_view text);

// Every book of `text`, whichever of the three layouts it has, stamped `now` where the
// export gives no entry date.
ExchangeImport readLibraryThing(std::string_view text, QuilleryStamp now);

std::string writeLibraryThingTsv(std::span<const QuilleryRecord> records);

}  // namespace quillery::exchange
