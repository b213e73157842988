// Calibre's catalogue CSV: authors joined by " & ", ISO timestamps, comments in HTML, tags
// and identifiers as comma-separated lists.
#include "app/exchange/calibre_format.h"

#include <array>

#include "app/exchange/book_builder.h"
#include "app/exchange/contents_note.h"
#include "app/exchange/html_text.h"
#include "app/exchange/named_columns.h"

namespace quillery::exchange {

namespace {

constexpr std::string_view kDateForms = "YYYY-MM-DD";

// The parts of `text` between each `separator`, trimmed, empty ones left out.
std::vector<std::string_view> parts(std::string_view text, std::string_view separator) {
    std::vector<std::string_view> out;
    for (std::size_t from = 0; from <= text.size();) {
        const std::size_t at = std::min(text.find(separator, from), text.size());
        if (const std::string_view part = trimmed(text.substr(from, at - from)); !part.empty()) {
            out.push_back(part);
        }
        from = at + separator.size();
    }
    return out;
}

// The date of an ISO timestamp ("2021-07-30T10:12:33+00:00"). Calibre writes the year 101
// for a publication date nobody gave; that is no date.
std::string_view isoDate(std::string_view timestamp) {
    const std::string_view date = trimmed(timestamp).substr(0, 10);
    return date.starts_with("0101-") ? std::string_view() : date;
}

// The ISBN among identifiers such as "goodreads:12345,isbn:9780306406157".
std::string_view isbnIdentifier(std::string_view identifiers) {
    for (const std::string_view each : parts(identifiers, ",")) {
        if (each.starts_with("isbn:")) return trimmed(each.substr(5));
    }
    return {};
}

// "The Lantern Cycle" and "2.0" as "The Lantern Cycle #2".
std::string series(std::string_view name, std::string_view index) {
    name = trimmed(name);
    index = trimmed(index);
    if (name.empty()) return {};
    if (index.ends_with(".0")) index.remove_suffix(2);
    return index.empty() ? std::string(name) : std::string(name) + " #" + std::string(index);
}

std::optional<CsvProblem> readBook(const NamedColumns& columns, const CsvRow& row,
                                   QuilleryStamp now, ImportReport& report, QuilleryRecord& entry) {
    if (auto problem = columns.checkWidth(row)) return problem;
    const auto value = [&](std::string_view name) { return columns.value(row, name); };
    BookBuilder book(row.line, value("title"), report);
    book.set("TITLE", value("title"), "title");

    const std::string authorsText = book.checked(value("authors"), "authors");
    const std::vector<std::string_view> authors = parts(authorsText, " & ");
    const std::vector<std::string_view> sorted = parts(value("author_sort"), " & ");
    book.setAuthor(sorted.empty() ? "" : sorted[0], authors.empty() ? "" : authors[0],
                   sorted.empty() ? "authors" : "author_sort");

    std::string_view isbn = trimmed(value("isbn"));
    if (isbn.empty()) isbn = isbnIdentifier(value("identifiers"));
    book.set("ISBN", isbn, "isbn");
    book.setRating(value("rating"), "rating");
    book.set("OTHER", value("publisher"), "publisher");
    book.set("PUBDATE", isoDate(value("pubdate")), "pubdate");
    const std::string tagsText = book.checked(value("tags"), "tags");
    const std::vector<std::string_view> tags = parts(tagsText, ",");
    book.set("CATEGORY", tags.empty() ? "" : tags[0], "tags");
    book.setAdded(isoDate(value("timestamp")), "timestamp", kDateForms);

    ContentsNote note;
    std::string others;
    for (std::size_t i = 1; i < authors.size(); ++i)
        others += (others.empty() ? "" : "; ") + std::string(authors[i]);
    note.add(NoteLabel::kAdditionalAuthors, others);
    std::string otherTags;
    for (std::size_t i = 1; i < tags.size(); ++i)
        otherTags += (otherTags.empty() ? "" : ", ") + std::string(tags[i]);
    note.add(NoteLabel::kTags, otherTags);
    note.add(NoteLabel::kSeries,
             series(book.checked(value("series"), "series"), value("series_index")));
    note.add(NoteLabel::kLanguages, trimmed(value("languages")));
    note.add(NoteLabel::kComments, htmlAsText(book.checked(value("comments"), "comments")));
    return book.finish(note, now, entry);
}

}  // namespace

bool isCalibreHeader(std::span<const std::string> names) {
    const CsvRow header{1, {names.begin(), names.end()}};
    const NamedColumns columns(header);
    return columns.has("title") && columns.has("authors") &&
           (columns.has("author_sort") || columns.has("uuid") || columns.has("identifiers") ||
            columns.has("library_name"));
}

ExchangeImport readCalibreCsv(std::string_view csv, QuilleryStamp now) {
    static constexpr ExportShape kShape{
        "a Calibre catalogue",
        [](const NamedColumns& header) { return header.has("title") && header.has("authors"); },
        "\"title\" and \"authors\"", readBook};
    std::vector<CsvRow> rows;
    CsvProblem problem;
    const bool parsed = parseCsv(csv, rows, problem);
    return readExportRows(parsed, problem, rows, kShape, now);
}

}  // namespace quillery::exchange
