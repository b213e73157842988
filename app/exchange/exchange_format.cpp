// The table of formats: each one's name, title, how it is recognised, reader and writer.
#include "app/exchange/exchange_format.h"

#include <array>
#include <vector>

#include "app/catalogue_csv.h"
#include "app/exchange/calibre_format.h"
#include "app/exchange/export_text.h"
#include "app/exchange/goodreads_format.h"
#include "app/exchange/librarything_format.h"
#include "runtime/case_compare.h"

namespace quillery::exchange {

namespace {

// The header row of a comma-separated first line, or nothing.
std::vector<std::string> csvHeader(std::string_view text) {
    std::vector<CsvRow> rows;
    CsvProblem problem;
    const std::string_view firstLine = text.substr(0, text.find_first_of("\r\n"));
    if (!parseCsv(firstLine, rows, problem) || rows.empty()) return {};
    return std::move(rows[0].fields);
}

bool isGoodreads(std::string_view text) {
    return isGoodreadsHeader(csvHeader(text));
}
bool isCalibre(std::string_view text) {
    return isCalibreHeader(csvHeader(text));
}

ExchangeImport readQuillery(std::string_view text, QuilleryStamp now) {
    CatalogueCsvImport own = readCatalogueCsv(text, now);
    ExchangeImport result;
    result.records = std::move(own.records);
    result.problem = std::move(own.problem);
    return result;
}

struct FormatRow {
    ExchangeFormat format;
    std::string_view name;
    std::string_view title;
    std::string_view extension;
    bool (*recognises)(std::string_view text);  // nullptr: the fallback
    ExchangeImport (*read)(std::string_view text, QuilleryStamp now);
    std::string (*write)(std::span<const QuilleryRecord> records);  // nullptr: read only
};

// In the order formats are tried when a file does not say; the catalogue's own CSV last.
constexpr std::array kFormats{
    FormatRow{ExchangeFormat::kGoodreads, "goodreads", "Goodreads export", ".csv", isGoodreads,
              readGoodreadsCsv, writeGoodreadsCsv},
    FormatRow{ExchangeFormat::kLibraryThing, "librarything", "LibraryThing export", ".tsv",
              isLibraryThingExport, readLibraryThing, writeLibraryThingTsv},
    FormatRow{ExchangeFormat::kCalibre, "calibre", "Calibre catalogue", ".csv", isCalibre,
              readCalibreCsv, nullptr},
    FormatRow{ExchangeFormat::kQuillery, "quillery", "Quillery CSV", ".csv", nullptr, readQuillery,
              writeCatalogueCsv},
};

const FormatRow& rowOf(ExchangeFormat format) {
    for (const FormatRow& each : kFormats) {
        if (each.format == format) return each;
    }
    return kFormats.back();
}

}  // namespace

std::optional<ExchangeFormat> exchangeFormatNamed(std::string_view name) {
    for (const FormatRow& each : kFormats) {
        if (equalsIgnoringCase(each.name, name)) return each.format;
    }
    return std::nullopt;
}

std::string_view exchangeFormatTitle(ExchangeFormat format) {
    return rowOf(format).title;
}

std::string exchangeFormatNames(bool exportable) {
    std::vector<std::string_view> names;
    for (const FormatRow& each : kFormats) {
        if (!exportable || each.write != nullptr) names.push_back(each.name);
    }
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
        text += names[i];
    }
    return text;
}

bool canExport(ExchangeFormat format) {
    return rowOf(format).write != nullptr;
}

std::vector<ExchangeFormat> exchangeFormats(bool exportable) {
    std::vector<ExchangeFormat> formats;
    for (const FormatRow& each : kFormats) {
        if (!exportable || each.write != nullptr) formats.push_back(each.format);
    }
    return formats;
}

std::string_view exchangeFormatExtension(ExchangeFormat format) {
    return rowOf(format).extension;
}

ExchangeFormat detectExchangeFormat(std::string_view bytes) {
    const ExportText decoded = decodeExportText(bytes);
    for (const FormatRow& each : kFormats) {
        if (each.recognises != nullptr && each.recognises(decoded.text)) return each.format;
    }
    return ExchangeFormat::kQuillery;
}

ExchangeImport readExchange(ExchangeFormat format, std::string_view bytes, QuilleryStamp now) {
    ExportText decoded = decodeExportText(bytes);
    if (decoded.problem) {
        ExchangeImport refused;
        refused.problem = std::move(decoded.problem);
        return refused;
    }
    return rowOf(format).read(decoded.text, now);
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
    const FormatRow& row = rowOf(format);
    return row.write != nullptr ? row.write(records) : std::string();
}

}  // namespace quillery::exchange
