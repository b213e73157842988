// LibraryThing's JSON keys as its export's columns.
#include "app/exchange/librarything_json.h"

#include <array>
#include <string>

#include "app/exchange/json_reader.h"

namespace quillery::exchange {

namespace {

struct KeyColumn {
    std::string_view key;
    std::string_view column;
};

// Keys whose value, flattened to one line, is the column's cell.
constexpr std::array kKeyColumns{
    KeyColumn{"books_id", "Book Id"},
    KeyColumn{"title", "Title"},
    KeyColumn{"primaryauthor", "Primary Author"},
    KeyColumn{"primaryauthorrole", "Primary Author Role"},
    KeyColumn{"publication", "Publication"},
    KeyColumn{"date", "Date"},
    KeyColumn{"isbn", "ISBNs"},
    KeyColumn{"originalisbn", "ISBN"},
    KeyColumn{"rating", "Rating"},
    KeyColumn{"review", "Review"},
    KeyColumn{"comment", "Comment"},
    KeyColumn{"privatecomment", "Private Comment"},
    KeyColumn{"format", "Media"},
    KeyColumn{"pages", "Page Count"},
    KeyColumn{"tags", "Tags"},
    KeyColumn{"collections", "Collections"},
    KeyColumn{"entrydate", "Entry Date"},
    KeyColumn{"datestarted", "Date Started"},
    KeyColumn{"dateread", "Date Read"},
    KeyColumn{"dateacquired", "Acquired"},
    KeyColumn{"fromwhere", "From Where"},
    KeyColumn{"bcid", "BCID"},
};
constexpr std::string_view kSecondaryAuthor = "Secondary Author";
constexpr std::string_view kSecondaryRoles = "Secondary Author Roles";

std::string text(const JsonValue* value) {
    return value == nullptr ? std::string() : value->flattened();
}

// The authors after the primary one as the two pipe-separated columns. Each author is an
// object of "lf" (Last, First), "fl" (First Last) and "role".
void secondaryAuthors(const JsonValue& book, std::string& names, std::string& roles) {
    const JsonValue* authors = book.member("authors");
    if (authors == nullptr) return;
    const std::string primary = text(book.member("primaryauthor"));
    bool first = true;
    for (const JsonValue& author : authors->items) {
        std::string name = text(author.member("lf"));
        if (name.empty()) name = text(author.member("fl"));
        if (name.empty() || (first && name == primary)) {
            first = false;
            continue;
        }
        first = false;
        if (!names.empty()) {
            names += '|';
            roles += '|';
        }
        names += name;
        roles += text(author.member("role"));
    }
}

CsvRow bookRow(const JsonValue& book) {
    CsvRow row{book.line, {}};
    for (const KeyColumn& each : kKeyColumns)
        row.fields.push_back(text(book.member(each.key)));
    std::string names, roles;
    secondaryAuthors(book, names, roles);
    row.fields.push_back(std::move(names));
    row.fields.push_back(std::move(roles));
    // A book with neither ISBN list nor original ISBN may still carry its EAN.
    if (row.fields[6].empty() && row.fields[7].empty()) row.fields[7] = text(book.member("ean"));
    return row;
}

}  // namespace

bool isLibraryThingJson(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && (text[first] == '{' || text[first] == '[');
}

bool readLibraryThingJson(std::string_view text, std::vector<CsvRow>& rows, CsvProblem& problem) {
    JsonValue document;
    if (!parseJson(text, document, problem)) return false;
    CsvRow header{1, {}};
    for (const KeyColumn& each : kKeyColumns)
        header.fields.emplace_back(each.column);
    header.fields.emplace_back(kSecondaryAuthor);
    header.fields.emplace_back(kSecondaryRoles);
    rows = {std::move(header)};
    const auto add = [&](const JsonValue& book, std::string_view id) {
        if (book.kind != JsonValue::Kind::kObject) {
            problem = CsvProblem{book.line, "book " + std::string(id) + " is not a JSON object"};
            return false;
        }
        rows.push_back(bookRow(book));
        return true;
    };
    if (document.kind == JsonValue::Kind::kObject) {
        for (std::size_t i = 0; i < document.values.size(); ++i) {
            if (!add(document.values[i], "\"" + document.names[i] + "\"")) return false;
        }
        return true;
    }
    if (document.kind == JsonValue::Kind::kArray) {
        for (std::size_t i = 0; i < document.items.size(); ++i) {
            if (!add(document.items[i], std::to_string(i + 1))) return false;
        }
        return true;
    }
    problem = CsvProblem{document.line, "not a LibraryThing export: the JSON holds no books"};
    return false;
}

}  // namespace quillery::exchange
