// Catalogue records from and to CSV text.
#include "app/catalogue_csv.h"

#include "app/build_keys.h"
#include "app/catalogue_columns.h"
#include "runtime/codepage.h"
#include "runtime/dates.h"

namespace quillery {

namespace {

// What the header row says: the column of each position.
using HeaderColumns = std::vector<const CatalogueColumn*>;

std::optional<CsvProblem> readHeader(const CsvRow& header, HeaderColumns& columns) {
    columns.clear();
    for (std::size_t i = 0; i < header.fields.size(); ++i) {
        const std::string& name = header.fields[i];
        const CatalogueColumn* column = findCatalogueColumn(name);
        if (name.find_first_not_of(' ') == std::string::npos) {
            return CsvProblem{header.line,
                              "column " + std::to_string(i + 1) + " of the header row has no name"};
        }
        if (column == nullptr) {
            return CsvProblem{header.line, "unknown column \"" + name + "\""};
        }
        for (const CatalogueColumn* seen : columns) {
            if (seen == column) {
                return CsvProblem{header.line,
                                  "column " + std::string(column->name) + " appears twice"};
            }
        }
        columns.push_back(column);
    }
    return std::nullopt;
}

bool isOneOf(const CatalogueColumn* column, std::string_view a, std::string_view b) {
    return column->name == a || column->name == b;
}

// A stamp group is given when its date or its time has a value; else it is `fallback`.
void stampUnlessGiven(const HeaderColumns& columns, const CsvRow& row, std::string_view date,
                      std::string_view time, QuilleryStamp fallback, QuilleryStamp& stamp) {
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (isOneOf(columns[i], date, time) && !row.fields[i].empty()) return;
    }
    stamp = fallback;
}

// Derived keys given in the row must be the ones the names and title give: the import never
// keeps a sort key that disagrees with its entry, nor silently replaces one.
std::optional<std::string> checkDerivedKey(std::string_view name, const FixedString<50>& given,
                                           const FixedString<50>& derived) {
    if (given == derived) return std::nullopt;
    return std::string(name) + " differs from the key the names and title give: \"" +
           cp1252ToUtf8(derived.clipped()) + "\"";
}

std::optional<CsvProblem> readRecord(const HeaderColumns& columns, const CsvRow& row,
                                     QuilleryStamp now, QuilleryRecord& record) {
    const auto problemAt = [&](std::string message) {
        return CsvProblem{row.line, std::move(message)};
    };
    if (row.fields.size() != columns.size()) {
        const std::size_t n = row.fields.size();
        return problemAt(std::to_string(n) + (n == 1 ? " value" : " values") +
                         " where the header row names " + std::to_string(columns.size()) +
                         (columns.size() == 1 ? " column" : " columns"));
    }
    record = QuilleryRecord{};
    std::string problem;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (!parseColumnValue(*columns[i], row.fields[i], record, problem))
            return problemAt(problem);
    }
    if (record.LASTNAME.isBlank() && record.FIRSTNAME.isBlank()) {
        return problemAt(
            "LASTNAME and FIRSTNAME are both blank; the catalogue drops such entries when it is "
            "opened");
    }
    QuilleryStamp created = record.CREATED(), changed = record.CHANGED();
    stampUnlessGiven(columns, row, "CREATEDDATE", "CREATEDTIME", now, created);
    stampUnlessGiven(columns, row, "CHANGEDDATE", "CHANGEDTIME", now, changed);
    record.setCREATED(created);
    record.setCHANGED(changed);

    const QuilleryRecord given = record;
    BUILDKEYS(record);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (row.fields[i].empty()) continue;  // left to BUILDKEYS
        std::optional<std::string> mismatch;
        if (columns[i]->name == "NAMEKEY") {
            mismatch = checkDerivedKey("NAMEKEY", given.NAMEKEY, record.NAMEKEY);
        } else if (columns[i]->name == "TITLEKEY") {
            mismatch = checkDerivedKey("TITLEKEY", given.TITLEKEY, record.TITLEKEY);
        }
        if (mismatch) return problemAt(*mismatch);
    }
    return std::nullopt;
}

}  // namespace

CatalogueCsvImport readCatalogueCsv(std::string_view csv, QuilleryStamp now) {
    CatalogueCsvImport result;
    std::vector<CsvRow> rows;
    CsvProblem problem;
    if (!parseCsv(csv, rows, problem)) {
        result.problem = problem;
        return result;
    }
    if (rows.empty()) {
        result.problem = CsvProblem{1, "no header row; the first row must name the columns"};
        return result;
    }
    HeaderColumns columns;
    if ((result.problem = readHeader(rows[0], columns))) return result;
    result.records.resize(rows.size() - 1);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        if ((result.problem = readRecord(columns, rows[i], now, result.records[i - 1]))) {
            result.records.clear();
            return result;
        }
    }
    return result;
}

CatalogueCsvImport readCatalogueCsv(std::string_view csv) {
    // Read once, so every entry of one import carries the same stamp.
    const std::int32_t date = TODAY();
    return readCatalogueCsv(csv, QuilleryStamp{date, CLOCK()});
}

std::string catalogueCsvHeader() {
    std::vector<std::string> names;
    for (const CatalogueColumn& column : catalogueColumns())
        names.emplace_back(column.name);
    std::string out;
    appendCsvRow(out, names);
    return out;
}

void appendCatalogueCsvRow(std::string& out, const QuilleryRecord& record) {
    std::vector<std::string> values;
    values.reserve(catalogueColumns().size());
    for (const CatalogueColumn& column : catalogueColumns()) {
        values.push_back(formatColumnValue(column, record));
    }
    appendCsvRow(out, values);
}

std::string writeCatalogueCsv(std::span<const QuilleryRecord> records) {
    std::string out = catalogueCsvHeader();
    for (const QuilleryRecord& record : records)
        appendCatalogueCsvRow(out, record);
    return out;
}

}  // namespace quillery
