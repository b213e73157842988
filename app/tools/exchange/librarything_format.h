// A LibraryThing export (tab-separated, columns named in its first line) read into catalogue
// entries, and entries written in the same form for LibraryThing's importer. The mapping is
// in docs/import-export.md.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "app/quillery_record.h"
#include "app/tools/exchange/import_report.h"

namespace quillery::exchange {

// Whether a header row names the columns of a LibraryThing export.
bool isLibraryThingHeader(std::span<const std::string> names);

// Every book of `tsv`, stamped `now` where the export gives no entry date.
ExchangeImport readLibraryThingTsv(std::string_view tsv, QuilleryStamp now);

std::string writeLibraryThingTsv(std::span<const QuilleryRecord> records);

}  // namespace quillery::exchange
