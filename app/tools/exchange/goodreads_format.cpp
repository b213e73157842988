// Goodreads' CSV: columns by name, ISBNs as spreadsheet formulas (="0140449132"), dates as
// YYYY/MM/DD, reviews with HTML line breaks.
#include "app/tools/exchange/goodreads_format.h"

#include <array>
#include <cstdio>

#include "app/csv_format.h"
#include "app/tools/exchange/book_builder.h"
#include "app/tools/exchange/contents_note.h"
#include "app/tools/exchange/exported_book.h"
#include "app/tools/exchange/named_columns.h"
#include "runtime/dates.h"

namespace quillery::exchange {

namespace {

constexpr std::array<std::string_view, 24> kColumns{
    "Book Id",
    "Title",
    "Author",
    "Author l-f",
    "Additional Authors",
    "ISBN",
    "ISBN13",
    "My Rating",
    "Average Rating",
    "Publisher",
    "Binding",
    "Number of Pages",
    "Year Published",
    "Original Publication Year",
    "Date Read",
    "Date Added",
    "Bookshelves",
    "Bookshelves with positions",
    "Exclusive Shelf",
    "My Review",
    "Spoiler",
    "Private Notes",
    "Read Count",
    "Owned Copies",
};

// The text of a spreadsheet formula ="..." as Goodreads writes ISBNs; other text as it is.
std::string_view formulaText(std::string_view value) {
    value = trimmed(value);
    if (value.size() >= 3 && value.starts_with("=\"") && value.ends_with('"')) {
        return value.substr(2, value.size() - 3);
    }
    return value;
}

std::string asFormula(std::string_view text) {
    return "=\"" + std::string(text) + "\"";
}

// The shelves of `bookshelves` other than `exclusive`, which is the category already.
std::string otherShelves(std::string_view bookshelves, std::string_view exclusive) {
    std::string others;
    while (!bookshelves.empty()) {
        const std::size_t comma = bookshelves.find(',');
        const std::string_view shelf = trimmed(bookshelves.substr(0, comma));
        bookshelves = comma == std::string_view::npos ? "" : bookshelves.substr(comma + 1);
        if (shelf.empty() || shelf == exclusive) continue;
        if (!others.empty()) others += ", ";
        others += shelf;
    }
    return others;
}

std::optional<CsvProblem> readBook(const NamedColumns& columns, const CsvRow& row,
                                   QuilleryStamp now, ImportReport& report, QuilleryRecord& entry) {
    if (auto problem = columns.checkWidth(row)) return problem;
    const auto value = [&](std::string_view name) { return columns.value(row, name); };
    BookBuilder book(row.line, value("Title"), report);
    book.set("TITLE", value("Title"), "Title");
    book.setAuthor(value("Author l-f"), value("Author"), "Author");
    const std::string_view isbn13 = formulaText(value("ISBN13"));
    book.set("ISBN", isbn13.empty() ? formulaText(value("ISBN")) : isbn13, "ISBN");
    book.setRating(value("My Rating"), "My Rating");
    book.set("OTHER", value("Publisher"), "Publisher");
    book.set("EDITION", value("Binding"), "Binding");
    const std::string_view year = trimmed(value("Year Published"));
    const std::string_view original = trimmed(value("Original Publication Year"));
    book.set("PUBDATE", year.empty() ? original : year, "Year Published");
    const std::string_view shelf = trimmed(value("Exclusive Shelf"));
    book.set("CATEGORY", shelf, "Exclusive Shelf");
    book.setAdded(value("Date Added"), "Date Added");

    ContentsNote note;
    note.setPrivateText(
        lineBreaksFromExport(book.checked(value("Private Notes"), "Private Notes")));
    note.add(NoteLabel::kAdditionalAuthors,
             trimmed(book.checked(value("Additional Authors"), "Additional Authors")));
    note.add(NoteLabel::kShelves,
             otherShelves(book.checked(value("Bookshelves"), "Bookshelves"), shelf));
    note.add(NoteLabel::kPages, trimmed(value("Number of Pages")));
    if (!year.empty() && original != year) note.add(NoteLabel::kFirstPublished, original);
    note.add(NoteLabel::kDateRead, trimmed(value("Date Read")));
    if (const std::string_view count = trimmed(value("Read Count"));
        !count.empty() && count != "0" && count != "1") {
        note.add(NoteLabel::kReadCount, count);
    }
    note.add(NoteLabel::kReview,
             lineBreaksFromExport(book.checked(value("My Review"), "My Review")));
    return book.finish(note, now, entry);
}

std::string slashDate(std::int32_t day) {
    if (day < kFirstDayNumber || day > kLastDayNumber) return {};
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", YEAR(day), MONTH(day), DAY(day));
    return buffer;
}

}  // namespace

bool isGoodreadsHeader(std::span<const std::string> names) {
    const CsvRow header{1, {names.begin(), names.end()}};
    const NamedColumns columns(header);
    return columns.has("Title") && (columns.has("Author l-f") || columns.has("Exclusive Shelf") ||
                                    columns.has("Bookshelves"));
}

ExchangeImport readGoodreadsCsv(std::string_view csv, QuilleryStamp now) {
    ExchangeImport result;
    std::vector<CsvRow> rows;
    CsvProblem problem;
    if (!parseCsv(csv, rows, problem)) {
        result.problem = problem;
        return result;
    }
    if (rows.empty()) {
        result.problem =
            CsvProblem{1, "the file is empty; a Goodreads export starts with a header row"};
        return result;
    }
    const NamedColumns columns(rows[0]);
    if (!columns.has("Title") || (!columns.has("Author") && !columns.has("Author l-f"))) {
        result.problem = CsvProblem{
            rows[0].line, "not a Goodreads export: the header row needs \"Title\" and \"Author\""};
        return result;
    }
    readBooks(columns, rows, now, readBook, result);
    return result;
}

std::string writeGoodreadsCsv(std::span<const QuilleryRecord> records) {
    std::string out;
    appendCsvRow(out, std::vector<std::string>(kColumns.begin(), kColumns.end()));
    for (const QuilleryRecord& record : records) {
        const ExportedBook book(record);
        const ContentsNote& note = book.note();
        std::string shelves = book.category();
        if (const std::string others = note.value(NoteLabel::kShelves); !others.empty()) {
            shelves += (shelves.empty() ? "" : ", ") + others;
        }
        const std::string rating = book.rating();
        appendCsvRow(out, {
                              "",
                              book.title(),
                              book.authorPlain(),
                              book.authorSortable(),
                              note.value(NoteLabel::kAdditionalAuthors),
                              asFormula(book.isbn10()),
                              asFormula(book.isbn13()),
                              rating.empty() ? "0" : rating,
                              "",
                              book.field("OTHER"),
                              book.field("EDITION"),
                              note.value(NoteLabel::kPages),
                              book.field("PUBDATE"),
                              note.value(NoteLabel::kFirstPublished),
                              note.value(NoteLabel::kDateRead),
                              slashDate(record.CREATEDDATE),
                              shelves,
                              "",
                              book.category(),
                              lineBreaksAsHtml(note.value(NoteLabel::kReview)),
                              "",
                              lineBreaksAsHtml(note.privateText()),
                              note.value(NoteLabel::kReadCount),
                              "",
                          });
    }
    return out;
}

}  // namespace quillery::exchange
