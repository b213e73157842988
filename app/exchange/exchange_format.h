// The file formats quillery-data imports and exports: its own catalogue CSV and the exports
// of the book-cataloguing services people bring their records from.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/exchange/import_report.h"
#include "app/quillery_record.h"

namespace quillery::exchange {

enum class ExchangeFormat { kQuillery, kGoodreads, kLibraryThing, kCalibre };

// "quillery", "goodreads", "librarything" or "calibre", in any case.
std::optional<ExchangeFormat> exchangeFormatNamed(std::string_view name);
// "Quillery CSV", "Goodreads export", "LibraryThing export", "Calibre catalogue".
std::string_view exchangeFormatTitle(ExchangeFormat format);
// "goodreads, librarything, calibre and quillery", for messages.
std::string exchangeFormatNames(bool exportable);
// Whether entries can be written in `format` (Calibre's is read only).
bool canExport(ExchangeFormat format);
// Every format, or every one entries can be written in, in the table's order.
std::vector<ExchangeFormat> exchangeFormats(bool exportable);
// The extension of the format's files with its dot: ".csv", ".tsv".
std::string_view exchangeFormatExtension(ExchangeFormat format);

// The format `bytes` is in, told from its header (or its JSON); the catalogue's own CSV when
// it is no service's.
ExchangeFormat detectExchangeFormat(std::string_view bytes);

// Every entry of `bytes` read in `format`, or the first problem; nothing is half read. A
// file in UTF-16 with a byte-order mark is read as such.
ExchangeImport readExchange(ExchangeFormat format, std::string_view bytes, QuilleryStamp now);
// "2 entries, no problems found" or "300 entries of a Goodreads export, 4 of them named
// above", for the line after an import's report.
std::string importSummary(ExchangeFormat format, const ExchangeImport& imported);

// The entries in `format`; canExport(format) must hold.
std::string writeExchange(ExchangeFormat format, std::span<const QuilleryRecord> records);

}  // namespace quillery::exchange
