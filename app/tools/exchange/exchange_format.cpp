// Choosing the reader and writer of a format.
#include "app/tools/exchange/exchange_format.h"

#include <array>
#include <vector>

#include "app/catalogue_csv.h"
#include "app/tools/exchange/goodreads_format.h"
#include "app/tools/exchange/librarything_format.h"
#include "app/tools/exchange/tab_separated.h"
#include "runtime/case_compare.h"

namespace quillery::exchange {

namespace {

struct FormatName {
    std::string_view name;
    std::string_view title;
    ExchangeFormat format;
};

constexpr std::array kFormats{
    FormatName{"quillery", "Quillery CSV", ExchangeFormat::kQuillery},
    FormatName{"goodreads", "Goodreads export", ExchangeFormat::kGoodreads},
    FormatName{"librarything", "LibraryThing export", ExchangeFormat::kLibraryThing},
};

}  // namespace

std::optional<ExchangeFormat> exchangeFormatNamed(std::string_view name) {
    for (const FormatName& each : kFormats) {
        if (equalsIgnoringCase(each.name, name)) return each.format;
    }
    return std::nullopt;
}

std::string_view exchangeFormatTitle(ExchangeFormat format) {
    for (const FormatName& each : kFormats) {
        if (each.format == format) return each.title;
    }
    return {};
}

ExchangeFormat detectExchangeFormat(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    const std::string_view firstLine = text.substr(0, text.find_first_of("\r\n"));
    if (firstLine.find('\t') != std::string_view::npos) {
        const std::vector<CsvRow> rows = parseTabSeparated(firstLine);
        if (!rows.empty() && isLibraryThingHeader(rows[0].fields)) {
            return ExchangeFormat::kLibraryThing;
        }
    }
    std::vector<CsvRow> rows;
    CsvProblem problem;
    if (parseCsv(firstLine, rows, problem) && !rows.empty() && isGoodreadsHeader(rows[0].fields)) {
        return ExchangeFormat::kGoodreads;
    }
    return ExchangeFormat::kQuillery;
}

ExchangeImport readExchange(ExchangeFormat format, std::string_view text, QuilleryStamp now) {
    switch (format) {
        case ExchangeFormat::kGoodreads:
            return readGoodreadsCsv(text, now);
        case ExchangeFormat::kLibraryThing:
            return readLibraryThingTsv(text, now);
        case ExchangeFormat::kQuillery:
            break;
    }
    CatalogueCsvImport own = readCatalogueCsv(text, now);
    ExchangeImport result;
    result.records = std::move(own.records);
    result.problem = std::move(own.problem);
    return result;
}

std::string importSummary(ExchangeFormat format, const ExchangeImport& imported) {
    std::string summary = std::to_string(imported.records.size()) + " entries";
    if (format != ExchangeFormat::kQuillery) {
        summary += " of a " + std::string(exchangeFormatTitle(format));
    }
    const std::size_t named = imported.report.booksNamed();
    if (named == 0) return summary + ", no problems found";
    return summary + ", " + std::to_string(named) + " of them named above";
}

std::string writeExchange(ExchangeFormat format, std::span<const QuilleryRecord> records) {
    switch (format) {
        case ExchangeFormat::kGoodreads:
            return writeGoodreadsCsv(records);
        case ExchangeFormat::kLibraryThing:
            return writeLibraryThingTsv(records);
        case ExchangeFormat::kQuillery:
            break;
    }
    return writeCatalogueCsv(records);
}

}  // namespace quillery::exchange
