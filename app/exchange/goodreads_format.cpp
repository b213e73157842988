// Goodreads' CSV: columns by name, ISBNs as spreadsheet formulas (="0140449132"), dates as
// YYYY/MM/DD, reviews with HTML line breaks.
#include "app/exchange/goodreads_format.h"

#include <array>
#include <cstdio>

#include "app/csv_format.h"
#include "app/exchange/book_builder.h"
#include "app/exchange/contents_note.h"
#include "app/exchange/exported_book.h"
#include "app/exchange/named_columns.h"
#include "runtime/dates.h"

namespace quillery::exchange {

namespace {

// The columns of Goodreads' own export, in its order and spelling.
constexpr std::array<std::string_view, 31> kColumns{
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
    "Recommended For",
    "Recommended By",
    "Owned Copies",
    "Original Purchase Date",
    "Original Purchase Location",
    "Condition",
    "Condition Description",
    "BCID",
};

constexpr std::string_view kDateForms = "YYYY/MM/DD";

// The note parts that go back to columns of their own on export; the rest ride in the
// private notes.
constexpr std::initializer_list<std::string_view> kCarried{
    NoteLabel::kAdditionalAuthors,
    NoteLabel::kShelves,
    NoteLabel::kPages,
    NoteLabel::kFirstPublished,
    NoteLabel::kDateRead,
    NoteLabel::kReadCount,
    NoteLabel::kRecommendedFor,
    NoteLabel::kRecommendedBy,
    NoteLabel::kOwnedCopies,
    NoteLabel::kConditionDescription,
    NoteLabel::kBcid,
    NoteLabel::kSpoiler,
    NoteLabel::kReview,
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

bool isIsbn(std::string_view text) {
    if (text.size() != 10 && text.size() != 13) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool checkX = i == 9 && text.size() == 10 && (c == 'X' || c == 'x');
        if (!checkX && (c < '0' || c > '9')) return false;
    }
    return true;
}

// Runs of blanks as one, for comparing two spellings of a name.
std::string singleSpaced(std::string_view text) {
    std::string out;
    for (const char c : trimmed(text)) {
        if (c == ' ' && !out.empty() && out.back() == ' ') continue;
        out += c;
    }
    return out;
}

// Whether "Last, First" is the Author column's "First Last" turned round. Goodreads' own
// "Author l-f" is sometimes not ("Jr., Kurt Vonnegut", "Homer, Homer").
bool isSortableFormOf(std::string_view sortable, std::string_view plain) {
    const std::size_t comma = sortable.find(',');
    if (comma == std::string_view::npos) return singleSpaced(sortable) == singleSpaced(plain);
    const std::string_view last = trimmed(sortable.substr(0, comma));
    const std::string_view first = trimmed(sortable.substr(comma + 1));
    if (isNameSuffix(last)) return false;
    return singleSpaced(std::string(first) + " " + std::string(last)) == singleSpaced(plain);
}

// Additional authors as the note keeps them, separated by semicolons.
std::string semicolonList(std::string_view commaList) {
    std::string out;
    while (!trimmed(commaList).empty()) {
        const std::size_t comma = commaList.find(',');
        const std::string_view name = trimmed(commaList.substr(0, comma));
        commaList = comma == std::string_view::npos ? "" : commaList.substr(comma + 1);
        if (name.empty()) continue;
        if (!out.empty()) out += "; ";
        out += name;
    }
    return out;
}

std::string commaList(std::string_view semicolonList) {
    std::string out(semicolonList);
    for (std::size_t at = out.find("; "); at != std::string::npos; at = out.find("; ", at))
        out.replace(at, 2, ", ");
    return out;
}

// A count worth keeping: Goodreads writes 0 or 1 for every book.
std::string_view countAboveOne(std::string_view count) {
    count = trimmed(count);
    return count == "0" || count == "1" ? std::string_view() : count;
}

std::optional<CsvProblem> readBook(const NamedColumns& columns, const CsvRow& row,
                                   QuilleryStamp now, ImportReport& report, QuilleryRecord& entry) {
    if (auto problem = columns.checkWidth(row)) return problem;
    const auto value = [&](std::string_view name) { return columns.value(row, name); };
    BookBuilder book(row.line, value("Title"), report);
    book.set("TITLE", value("Title"), "Title");
    const std::string_view sortable = trimmed(value("Author l-f"));
    const std::string_view plain = trimmed(value("Author"));
    if (!sortable.empty() && !plain.empty() && !isSortableFormOf(sortable, plain)) {
        report.note(row.line, trimmed(value("Title")),
                    "Author l-f \"" + book.checked(sortable, "Author l-f") +
                        "\" is not the author's name turned round; the name is taken from Author");
        book.setAuthor("", plain, "Author");
    } else {
        book.setAuthor(sortable, plain, "Author");
    }
    std::string_view isbn = formulaText(value("ISBN13"));
    if (!isbn.empty() && !isIsbn(isbn)) {
        report.note(row.line, trimmed(value("Title")),
                    "ISBN13 \"" + book.checked(isbn, "ISBN13") + "\" is not an ISBN; not stored");
        isbn = {};
    }
    book.set("ISBN", isbn.empty() ? formulaText(value("ISBN")) : isbn, "ISBN");
    book.setRating(value("My Rating"), "My Rating");
    book.set("OTHER", value("Publisher"), "Publisher");
    book.set("EDITION", value("Binding"), "Binding");
    const std::string_view year = trimmed(value("Year Published"));
    const std::string_view original = trimmed(value("Original Publication Year"));
    book.set("PUBDATE", year.empty() ? original : year, "Year Published");
    const std::string_view shelf = trimmed(value("Exclusive Shelf"));
    book.set("CATEGORY", shelf, "Exclusive Shelf");
    book.set("CONDITION", value("Condition"), "Condition");
    book.set("LOCATION", value("Original Purchase Location"), "Original Purchase Location");
    book.set("BUYDATE", value("Original Purchase Date"), "Original Purchase Date");
    book.setAdded(value("Date Added"), "Date Added", kDateForms);

    ContentsNote note = ContentsNote::read(
        lineBreaksFromExport(book.checked(value("Private Notes"), "Private Notes")));
    note.add(NoteLabel::kAdditionalAuthors,
             semicolonList(book.checked(value("Additional Authors"), "Additional Authors")));
    note.add(NoteLabel::kShelves,
             otherShelves(book.checked(value("Bookshelves"), "Bookshelves"), shelf));
    note.add(NoteLabel::kPages, trimmed(value("Number of Pages")));
    if (!year.empty() && original != year) note.add(NoteLabel::kFirstPublished, original);
    if (const std::string_view owned = trimmed(value("Owned Copies")); owned != "0") {
        note.add(NoteLabel::kOwnedCopies, owned);
    }
    note.add(NoteLabel::kConditionDescription,
             trimmed(book.checked(value("Condition Description"), "Condition Description")));
    note.add(NoteLabel::kBcid, trimmed(book.checked(value("BCID"), "BCID")));
    note.add(NoteLabel::kRecommendedFor,
             trimmed(book.checked(value("Recommended For"), "Recommended For")));
    note.add(NoteLabel::kRecommendedBy,
             trimmed(book.checked(value("Recommended By"), "Recommended By")));
    note.add(NoteLabel::kDateRead, trimmed(value("Date Read")));
    note.add(NoteLabel::kReadCount, countAboveOne(value("Read Count")));
    if (const std::string_view spoiler = trimmed(value("Spoiler"));
        !spoiler.empty() && spoiler != "false") {
        note.add(NoteLabel::kSpoiler, spoiler);
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

// A full date written with dashes ("2021-03-04", LibraryThing's form) in Goodreads' slashes;
// any other text as it stands.
std::string slashedDate(std::string_view text) {
    std::string date(unbracketedDate(text));
    if (date.size() == 10 && date[4] == '-' && date[7] == '-' && exportDate(date)) {
        date[4] = date[7] = '/';
    }
    return date;
}

}  // namespace

bool isGoodreadsHeader(std::span<const std::string> names) {
    const CsvRow header{1, {names.begin(), names.end()}};
    const NamedColumns columns(header);
    return columns.has("Title") && (columns.has("Author l-f") || columns.has("Exclusive Shelf") ||
                                    columns.has("Bookshelves"));
}

ExchangeImport readGoodreadsCsv(std::string_view csv, QuilleryStamp now) {
    static constexpr ExportShape kShape{
        "a Goodreads export",
        [](const NamedColumns& header) {
            return header.has("Title") && (header.has("Author") || header.has("Author l-f"));
        },
        "\"Title\" and \"Author\"", readBook};
    std::vector<CsvRow> rows;
    CsvProblem problem;
    const bool parsed = parseCsv(csv, rows, problem);
    return readExportRows(parsed, problem, rows, kShape, now);
}

std::string writeGoodreadsCsv(std::span<const QuilleryRecord> records) {
    std::string out;
    appendCsvRow(out, std::vector<std::string>(kColumns.begin(), kColumns.end()), "\n");
    for (const QuilleryRecord& record : records) {
        const ExportedBook book(record);
        const ContentsNote& note = book.note();
        std::string shelves = book.category();
        if (const std::string others = note.value(NoteLabel::kShelves); !others.empty()) {
            shelves += (shelves.empty() ? "" : ", ") + others;
        }
        const std::string rating = book.rating();
        std::string readCount = note.value(NoteLabel::kReadCount);
        if (readCount.empty()) readCount = book.category() == "read" ? "1" : "0";
        const std::string owned = note.value(NoteLabel::kOwnedCopies);
        appendCsvRow(out,
                     {
                         "",
                         book.title(),
                         book.authorPlain(),
                         book.authorSortable(),
                         commaList(note.value(NoteLabel::kAdditionalAuthors)),
                         asFormula(book.isbn10()),
                         asFormula(book.isbn13()),
                         rating.empty() ? "0" : rating,
                         "",
                         book.field("OTHER"),
                         book.field("EDITION"),
                         note.value(NoteLabel::kPages),
                         book.field("PUBDATE"),
                         note.value(NoteLabel::kFirstPublished),
                         slashedDate(note.value(NoteLabel::kDateRead)),
                         slashDate(record.CREATEDDATE),
                         shelves,
                         "",
                         book.category(),
                         lineBreaksAsHtml(note.value(NoteLabel::kReview)),
                         note.value(NoteLabel::kSpoiler),
                         lineBreaksAsHtml(note.textWithout(kCarried)),
                         readCount,
                         note.value(NoteLabel::kRecommendedFor),
                         note.value(NoteLabel::kRecommendedBy),
                         owned.empty() ? "0" : owned,
                         slashedDate(book.field("BUYDATE")),
                         book.field("LOCATION"),
                         book.field("CONDITION"),
                         note.value(NoteLabel::kConditionDescription),
                         note.value(NoteLabel::kBcid),
                     },
                     "\n");
    }
    return out;
}

}  // namespace quillery::exchange
