// The file formats quillery-data imports and exports: its own catalogue CSV and the exports
// of the book-cataloguing services people bring their records from.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/quillery_record.h"
#include "app/tools/exchange/import_report.h"

namespace quillery::exchange {

enum class ExchangeFormat { kQuillery, kGoodreads, kLibraryThing };

// "quillery", "goodreads" or "librarything", in any case.
std::optional<ExchangeFormat> exchangeFormatNamed(std::string_view name);
// "Quillery CSV", "Goodreads export", "LibraryThing export".
std::string_view exchangeFormatTitle(ExchangeFormat format);

// The format whose header the first line of `text` is; the catalogue's own CSV when it is
// neither service's.
ExchangeFormat detectExchangeFormat(std::string_view text);

// Every entry of `text` read in `format`, or the first problem; nothing is half read.
ExchangeImport readExchange(ExchangeFormat format, std::string_view text, QuilleryStamp now);
// "2 entries, no problems found" or "300 entries of a Goodreads export, 4 of them named
// above", for the line after an import's report.
std::string importSummary(ExchangeFormat format, const ExchangeImport& imported);

std::string writeExchange(ExchangeFormat format, std::span<const QuilleryRecord> records);

}  // namespace quillery::exchange
