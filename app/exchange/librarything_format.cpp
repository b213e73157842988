// LibraryThing's exports: columns by name, dates and ISBNs in brackets, authors as
// "Last, First" with their roles in a parallel list, collections whose first is the book's
// category.
#include "app/exchange/librarything_format.h"

#include <array>
#include <cstdio>

#include "app/catalogue_columns.h"
#include "app/exchange/book_builder.h"
#include "app/exchange/contents_note.h"
#include "app/exchange/exported_book.h"
#include "app/exchange/librarything_json.h"
#include "app/exchange/named_columns.h"
#include "app/exchange/tab_separated.h"
#include "app/exchange/text_to_cp1252.h"
#include "runtime/dates.h"

namespace quillery::exchange {

namespace {

// The columns of LibraryThing's own export, in its order and spelling.
constexpr std::array<std::string_view, 49> kColumns{
    "Book Id",
    "Title",
    "Sort Character",
    "Primary Author",
    "Primary Author Role",
    "Secondary Author",
    "Secondary Author Roles",
    "Publication",
    "Date",
    "Review",
    "Rating",
    "Comment",
    "Private Comment",
    "Summary",
    "Media",
    "Physical Description",
    "Weight",
    "Height",
    "Thickness",
    "Length",
    "Dimensions",
    "Page Count",
    "LCCN",
    "Acquired",
    "Date Started",
    "Date Read",
    "Barcode",
    "BCID",
    "Tags",
    "Collections",
    "Languages",
    "Original Languages",
    "LC Classification",
    "ISBN",
    "ISBNs",
    "Subjects",
    "Dewey Decimal",
    "Dewey Wording",
    "Other Call Number",
    "Copies",
    "Source",
    "Entry Date",
    "From Where",
    "OCLC",
    "Work id",
    "Lending Patron",
    "Lending Status",
    "Lending Start",
    "Lending End",
};

constexpr std::string_view kDateForms = "[YYYY-MM-DD], YYYY-MM-DD or [YYYY]";

// The note parts that go back to columns of their own on export; the rest ride in the
// private comment.
constexpr std::initializer_list<std::string_view> kCarried{
    NoteLabel::kAuthorRole,  NoteLabel::kAdditionalAuthors,
    NoteLabel::kTags,        NoteLabel::kCollections,
    NoteLabel::kPublication, NoteLabel::kPages,
    NoteLabel::kFromWhere,   NoteLabel::kBcid,
    NoteLabel::kDateStarted, NoteLabel::kDateRead,
    NoteLabel::kComments,    NoteLabel::kReview,
};

bool isIsbnCharacter(char c) {
    return (c >= '0' && c <= '9') || c == 'X' || c == 'x';
}

// The ISBN-13 of a list such as "[0140449132, 9780140449136]" where there is one, else its
// first ISBN-10; empty when the list has neither.
std::string_view chosenIsbn(std::string_view list) {
    std::string_view first;
    for (std::size_t i = 0; i < list.size();) {
        if (!isIsbnCharacter(list[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < list.size() && isIsbnCharacter(list[end]))
            ++end;
        const std::string_view isbn = list.substr(i, end - i);
        if (isbn.size() == 13) return isbn;
        if (first.empty() && isbn.size() == 10) first = isbn;
        i = end;
    }
    return first;
}

// An ISBN cell without LibraryThing's brackets: "[2266062328]" is "2266062328".
std::string_view unbracketed(std::string_view value) {
    value = trimmed(value);
    if (value.size() >= 2 && value.front() == '[' && value.back() == ']') {
        return trimmed(value.substr(1, value.size() - 2));
    }
    return value;
}

// Where the year of a publication statement such as "MGM (Video & DVD) (1997), DVD" opens:
// the last " (" followed by four digits and ")"; npos without a year.
std::size_t yearAt(std::string_view publication) {
    for (std::size_t at = publication.rfind(" ("); at != std::string_view::npos;
         at = at == 0 ? std::string_view::npos : publication.rfind(" (", at - 1)) {
        const std::string_view year = publication.substr(at + 2, 5);
        if (year.size() == 5 && year[4] == ')' &&
            year.substr(0, 4).find_first_not_of("0123456789") == std::string_view::npos) {
            return at;
        }
    }
    return std::string_view::npos;
}

// The publisher of a publication statement: what comes before its year, or all of it.
std::string_view publisherOf(std::string_view publication) {
    return trimmed(publication.substr(0, yearAt(publication)));
}

// Splits `text` at each `separator`, the parts trimmed.
std::vector<std::string_view> split(std::string_view text, std::string_view separator) {
    std::vector<std::string_view> parts;
    if (trimmed(text).empty()) return parts;
    for (std::size_t from = 0;;) {
        const std::size_t at = text.find(separator, from);
        parts.push_back(trimmed(text.substr(from, at - from)));
        if (at == std::string_view::npos) return parts;
        from = at + separator.size();
    }
}

// "Brix, Tomas" as "Tomas Brix"; a name with no comma, or more than one, as it stands.
std::string plainName(std::string_view sortable) {
    const std::size_t comma = sortable.find(',');
    if (comma == std::string_view::npos ||
        sortable.find(',', comma + 1) != std::string_view::npos) {
        return std::string(sortable);
    }
    return std::string(trimmed(sortable.substr(comma + 1))) + " " +
           std::string(trimmed(sortable.substr(0, comma)));
}

// "Tomas Brix" as "Brix, Tomas": the last word first. plainName() undoes it exactly.
std::string sortableName(std::string_view plain) {
    const std::size_t space = plain.rfind(' ');
    if (plain.find(',') != std::string_view::npos || space == std::string_view::npos) {
        return std::string(plain);
    }
    return std::string(plain.substr(space + 1)) + ", " + std::string(plain.substr(0, space));
}

// The secondary authors and their roles ("Brix, Tomas|Olave, Ines", "Translator|") as the
// note writes them: "Tomas Brix (Translator); Ines Olave".
std::string additionalAuthors(std::string_view names, std::string_view roles) {
    const std::vector<std::string_view> each = split(names, "|");
    const std::vector<std::string_view> role = split(roles, "|");
    std::string note;
    for (std::size_t i = 0; i < each.size(); ++i) {
        if (each[i].empty()) continue;
        if (!note.empty()) note += "; ";
        note += plainName(each[i]);
        if (i < role.size() && !role[i].empty()) note += " (" + std::string(role[i]) + ")";
    }
    return note;
}

struct AuthorColumns {
    std::string names;
    std::string roles;
};

// The note's additional authors back as LibraryThing's two columns. A note from before the
// authors were separated by semicolons has them separated by commas.
AuthorColumns authorColumns(std::string_view note) {
    const std::string_view separator =
        note.find(';') == std::string_view::npos && note.find(", ") != std::string_view::npos
            ? ", "
            : "; ";
    AuthorColumns columns;
    bool first = true;
    for (std::string_view author : split(note, separator)) {
        std::string_view role;
        if (author.ends_with(')')) {
            if (const std::size_t open = author.rfind(" ("); open != std::string_view::npos) {
                role = author.substr(open + 2, author.size() - open - 3);
                author = author.substr(0, open);
            }
        }
        if (!first) {
            columns.names += '|';
            columns.roles += '|';
        }
        first = false;
        columns.names += sortableName(author);
        columns.roles += role;
    }
    return columns;
}

std::optional<CsvProblem> readBook(const NamedColumns& columns, const CsvRow& row,
                                   QuilleryStamp now, ImportReport& report, QuilleryRecord& entry) {
    if (auto problem = columns.checkWidth(row)) return problem;
    const auto value = [&](std::string_view name) { return columns.value(row, name); };
    BookBuilder book(row.line, value("Title"), report);
    book.set("TITLE", value("Title"), "Title");
    book.setAuthor(value("Primary Author"), "", "Primary Author");
    std::string_view isbn = chosenIsbn(value("ISBNs"));
    if (isbn.empty()) isbn = unbracketed(value("ISBN"));
    book.set("ISBN", isbn, columns.has("ISBNs") && !value("ISBNs").empty() ? "ISBNs" : "ISBN");
    book.setRating(value("Rating"), "Rating");
    const std::string publication = book.checked(trimmed(value("Publication")), "Publication");
    const std::string_view publisher = publisherOf(publication);
    book.set("OTHER", publisher, "Publication");
    book.set("EDITION", value("Media"), "Media");
    book.set("PUBDATE", unbracketedDate(value("Date")), "Date");
    book.set("BUYDATE", unbracketedDate(value("Acquired")), "Acquired");
    book.set("VALUE", value("Purchase Price"), "Purchase Price");
    const std::string collections = book.checked(value("Collections"), "Collections");
    const std::size_t comma = collections.find(',');
    book.set("CATEGORY", std::string_view(collections).substr(0, comma), "Collections");
    book.setAdded(value("Entry Date"), "Entry Date", kDateForms);

    ContentsNote note = ContentsNote::read(
        lineBreaksFromExport(book.checked(value("Private Comment"), "Private Comment")));
    if (const std::string role =
            book.checked(trimmed(value("Primary Author Role")), "Primary Author Role");
        !role.empty() && role != "Author") {
        note.add(NoteLabel::kAuthorRole, role);
    }
    const std::string_view rolesColumn =
        columns.has("Secondary Author Roles") ? "Secondary Author Roles" : "Secondary Author Role";
    note.add(NoteLabel::kAdditionalAuthors,
             additionalAuthors(book.checked(value("Secondary Author"), "Secondary Author"),
                               book.checked(value(rolesColumn), rolesColumn)));
    note.add(NoteLabel::kTags, trimmed(book.checked(value("Tags"), "Tags")));
    if (comma != std::string::npos) {
        note.add(NoteLabel::kCollections, trimmed(std::string_view(collections).substr(comma + 1)));
    }
    // The whole statement is kept where the publisher alone does not say all of it, or is
    // too long for its field.
    if (publication != publisher ||
        textToCp1252(publisher).text.size() > findCatalogueColumn("OTHER")->width) {
        note.add(NoteLabel::kPublication, publication);
    }
    note.add(NoteLabel::kPages, trimmed(value("Page Count")));
    note.add(NoteLabel::kFromWhere, trimmed(book.checked(value("From Where"), "From Where")));
    note.add(NoteLabel::kBcid, trimmed(book.checked(value("BCID"), "BCID")));
    note.add(NoteLabel::kDateStarted, unbracketedDate(value("Date Started")));
    note.add(NoteLabel::kDateRead, unbracketedDate(value("Date Read")));
    const std::string_view commentColumn = columns.has("Comment") ? "Comment" : "Comments";
    note.add(NoteLabel::kComments,
             lineBreaksFromExport(book.checked(value(commentColumn), commentColumn)));
    note.add(NoteLabel::kReview, lineBreaksFromExport(book.checked(value("Review"), "Review")));
    return book.finish(note, now, entry);
}

std::string dashDate(std::int32_t day) {
    if (day < kFirstDayNumber || day > kLastDayNumber) return {};
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", YEAR(day), MONTH(day), DAY(day));
    return buffer;
}

bool isHeader(const NamedColumns& columns) {
    return columns.has("Title") && columns.has("Primary Author");
}

// The rows of a tab- or comma-separated export, told apart by the header line.
bool readRows(std::string_view text, std::vector<CsvRow>& rows, CsvProblem& problem) {
    const std::string_view firstLine = text.substr(0, text.find_first_of("\r\n"));
    if (firstLine.find('\t') != std::string_view::npos) {
        rows = parseTabSeparated(text);
        return true;
    }
    return parseCsv(text, rows, problem);
}

}  // namespace

bool isLibraryThingExport(std::string_view text) {
    if (isLibraryThingJson(text)) return true;
    const std::string_view firstLine = text.substr(0, text.find_first_of("\r\n"));
    std::vector<CsvRow> rows;
    CsvProblem problem;
    return readRows(firstLine, rows, problem) && !rows.empty() && isHeader(NamedColumns(rows[0]));
}

ExchangeImport readLibraryThing(std::string_view text, QuilleryStamp now) {
    static constexpr ExportShape kShape{
        "a LibraryThing export", [](const NamedColumns& header) { return isHeader(header); },
        "\"Title\" and \"Primary Author\", separated by tabs or commas", readBook};
    std::vector<CsvRow> rows;
    CsvProblem problem;
    const bool parsed = isLibraryThingJson(text) ? readLibraryThingJson(text, rows, problem)
                                                 : readRows(text, rows, problem);
    return readExportRows(parsed, problem, rows, kShape, now);
}

std::string writeLibraryThingTsv(std::span<const QuilleryRecord> records) {
    std::string out;
    appendTabSeparatedRow(out, std::vector<std::string>(kColumns.begin(), kColumns.end()));
    for (const QuilleryRecord& record : records) {
        const ExportedBook book(record);
        const ContentsNote& note = book.note();
        std::string collections = book.category();
        if (const std::string others = note.value(NoteLabel::kCollections); !others.empty()) {
            collections += (collections.empty() ? "" : ", ") + others;
        }
        const std::string publication = note.value(NoteLabel::kPublication);
        const std::string isbn = book.field("ISBN");
        const AuthorColumns authors = authorColumns(note.value(NoteLabel::kAdditionalAuthors));
        std::vector<std::string> row(kColumns.size());
        const auto put = [&](std::string_view column, std::string value) {
            for (std::size_t i = 0; i < kColumns.size(); ++i) {
                if (kColumns[i] == column) row[i] = std::move(value);
            }
        };
        put("Title", book.title());
        put("Primary Author", book.authorSortable());
        put("Primary Author Role", note.value(NoteLabel::kAuthorRole));
        put("Secondary Author", authors.names);
        put("Secondary Author Roles", authors.roles);
        put("Publication", publication.empty() ? book.field("OTHER") : publication);
        put("Date", book.field("PUBDATE"));
        put("Review", lineBreaksAsHtml(note.value(NoteLabel::kReview)));
        put("Rating", book.rating());
        put("Comment", lineBreaksAsHtml(note.value(NoteLabel::kComments)));
        put("Private Comment", lineBreaksAsHtml(note.textWithout(kCarried)));
        put("Media", book.field("EDITION"));
        put("Page Count", note.value(NoteLabel::kPages));
        put("Acquired", bracketedDate(book.field("BUYDATE")));
        put("Date Started", bracketedDate(note.value(NoteLabel::kDateStarted)));
        put("Date Read", bracketedDate(note.value(NoteLabel::kDateRead)));
        put("BCID", note.value(NoteLabel::kBcid));
        put("Tags", note.value(NoteLabel::kTags));
        put("Collections", collections);
        put("ISBN", isbn.empty() ? std::string() : "[" + isbn + "]");
        put("ISBNs", isbn);
        put("Entry Date", bracketedDate(dashDate(record.CREATEDDATE)));
        put("From Where", note.value(NoteLabel::kFromWhere));
        appendTabSeparatedRow(out, row);
    }
    return out;
}

}  // namespace quillery::exchange
