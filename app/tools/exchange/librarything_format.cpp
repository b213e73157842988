// LibraryThing's tab-separated export: columns by name, ISBNs as a list, collections as a
// comma-separated list whose first is the book's category.
#include "app/tools/exchange/librarything_format.h"

#include <array>
#include <cstdio>

#include "app/tools/exchange/book_builder.h"
#include "app/tools/exchange/contents_note.h"
#include "app/tools/exchange/exported_book.h"
#include "app/tools/exchange/named_columns.h"
#include "app/tools/exchange/tab_separated.h"
#include "runtime/dates.h"

namespace quillery::exchange {

namespace {

constexpr std::array<std::string_view, 18> kColumns{
    "Title",           "Primary Author", "Secondary Author",
    "Publication",     "Date",           "ISBNs",
    "Media",           "Tags",           "Collections",
    "Rating",          "Review",         "Comments",
    "Private Comment", "Page Count",     "Date Read",
    "Acquired",        "Purchase Price", "Entry Date",
};

bool isIsbnCharacter(char c) {
    return (c >= '0' && c <= '9') || c == 'X' || c == 'x';
}

// The ISBN-13 of a list such as "[0140449132, 9780140449136]" where there is one, else its
// first ISBN, else the text as it stands.
std::string_view chosenIsbn(std::string_view list) {
    list = trimmed(list);
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
    return first.empty() ? list : first;
}

// The publisher of a publication such as "Harbour Books (2003), Paperback": what comes before
// the year in parentheses.
std::string_view publisherOf(std::string_view publication) {
    return trimmed(publication.substr(0, publication.find(" (")));
}

std::optional<CsvProblem> readBook(const NamedColumns& columns, const CsvRow& row,
                                   QuilleryStamp now, ImportReport& report, QuilleryRecord& entry) {
    if (auto problem = columns.checkWidth(row)) return problem;
    const auto value = [&](std::string_view name) { return columns.value(row, name); };
    BookBuilder book(row.line, value("Title"), report);
    book.set("TITLE", value("Title"), "Title");
    book.setAuthor(value("Primary Author"), "", "Primary Author");
    book.set("ISBN", chosenIsbn(columns.firstOf(row, {"ISBNs", "ISBN"})), "ISBNs");
    book.setRating(value("Rating"), "Rating");
    const std::string_view publication = trimmed(value("Publication"));
    book.set("OTHER", publisherOf(publication), "Publication");
    book.set("EDITION", value("Media"), "Media");
    book.set("PUBDATE", value("Date"), "Date");
    book.set("BUYDATE", value("Acquired"), "Acquired");
    book.set("VALUE", value("Purchase Price"), "Purchase Price");
    std::string_view collections = trimmed(value("Collections"));
    const std::size_t comma = collections.find(',');
    book.set("CATEGORY", collections.substr(0, comma), "Collections");
    collections = comma == std::string_view::npos ? "" : trimmed(collections.substr(comma + 1));
    book.setAdded(value("Entry Date"), "Entry Date");

    ContentsNote note;
    note.setPrivateText(
        lineBreaksFromExport(book.checked(value("Private Comment"), "Private Comment")));
    note.add(NoteLabel::kAdditionalAuthors,
             trimmed(book.checked(value("Secondary Author"), "Secondary Author")));
    note.add(NoteLabel::kTags, trimmed(book.checked(value("Tags"), "Tags")));
    note.add(NoteLabel::kCollections, book.checked(collections, "Collections"));
    if (publication != publisherOf(publication)) {
        note.add(NoteLabel::kPublication, book.checked(publication, "Publication"));
    }
    note.add(NoteLabel::kPages, trimmed(value("Page Count")));
    note.add(NoteLabel::kDateRead, trimmed(value("Date Read")));
    note.add(NoteLabel::kComments, lineBreaksFromExport(book.checked(
                                       columns.firstOf(row, {"Comments", "Comment"}), "Comments")));
    note.add(NoteLabel::kReview, lineBreaksFromExport(book.checked(value("Review"), "Review")));
    return book.finish(note, now, entry);
}

std::string dashDate(std::int32_t day) {
    if (day < kFirstDayNumber || day > kLastDayNumber) return {};
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", YEAR(day), MONTH(day), DAY(day));
    return buffer;
}

}  // namespace

bool isLibraryThingHeader(std::span<const std::string> names) {
    const CsvRow header{1, {names.begin(), names.end()}};
    return NamedColumns(header).has("Primary Author");
}

ExchangeImport readLibraryThingTsv(std::string_view tsv, QuilleryStamp now) {
    ExchangeImport result;
    const std::vector<CsvRow> rows = parseTabSeparated(tsv);
    if (rows.empty()) {
        result.problem =
            CsvProblem{1, "the file is empty; a LibraryThing export starts with a header line"};
        return result;
    }
    const NamedColumns columns(rows[0]);
    if (!columns.has("Title") || !columns.has("Primary Author")) {
        result.problem =
            CsvProblem{1,
                       "not a LibraryThing export: the header line needs \"Title\" and "
                       "\"Primary Author\", separated by tabs"};
        return result;
    }
    readBooks(columns, rows, now, readBook, result);
    return result;
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
        const std::string isbn = book.isbn13().empty() ? book.isbn10() : book.isbn13();
        std::string tags = note.value(NoteLabel::kTags);
        if (tags.empty()) tags = note.value(NoteLabel::kShelves);
        appendTabSeparatedRow(out, {
                                       book.title(),
                                       book.authorSortable(),
                                       note.value(NoteLabel::kAdditionalAuthors),
                                       publication.empty() ? book.field("OTHER") : publication,
                                       book.field("PUBDATE"),
                                       isbn,
                                       book.field("EDITION"),
                                       tags,
                                       collections,
                                       book.rating(),
                                       lineBreaksAsHtml(note.value(NoteLabel::kReview)),
                                       lineBreaksAsHtml(note.value(NoteLabel::kComments)),
                                       lineBreaksAsHtml(note.privateText()),
                                       note.value(NoteLabel::kPages),
                                       note.value(NoteLabel::kDateRead),
                                       book.field("BUYDATE"),
                                       book.field("VALUE"),
                                       dashDate(record.CREATEDDATE),
                                   });
    }
    return out;
}

}  // namespace quillery::exchange
