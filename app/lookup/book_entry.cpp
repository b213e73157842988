// From a found book to a catalogue entry.
#include "app/lookup/book_entry.h"

#include "app/build_keys.h"
#include "app/exchange/book_builder.h"
#include "app/exchange/contents_note.h"

namespace quillery::lookup {

namespace {

std::string joined(const std::vector<std::string>& values, std::size_t from = 0) {
    std::string text;
    for (std::size_t i = from; i < values.size(); ++i) {
        if (!text.empty()) text += ", ";
        text += values[i];
    }
    return text;
}

}  // namespace

QuilleryRecord entryOfFoundBook(const FoundBook& book, std::string_view isbn,
                                std::string_view category, QuilleryStamp now,
                                exchange::ImportReport& report) {
    namespace NoteLabel = exchange::NoteLabel;
    exchange::BookBuilder builder(0, book.title, report);
    builder.set("TITLE", book.title, "title");
    builder.setAuthor("", book.authors.empty() ? std::string() : book.authors.front(), "authors");
    builder.set("ISBN", isbn, "ISBN");
    builder.set("PUBDATE", book.publishDate, "publish_date");
    builder.set("OTHER", joined(book.publishers), "publishers");
    builder.set("CATEGORY", category, "category");

    exchange::ContentsNote note;
    note.add(NoteLabel::kAdditionalAuthors, builder.checked(joined(book.authors, 1), "authors"));
    note.add(NoteLabel::kPages, book.pages);
    note.add(NoteLabel::kSubjects, builder.checked(joined(book.subjects), "subjects"));
    QuilleryRecord entry{};
    // The builder fails only on values an export gives (ratings, dates), none of which a
    // found book carries.
    (void)builder.finish(note, now, entry);
    return entry;
}

QuilleryRecord entryOfUnknownBook(std::string_view isbn, std::string_view category,
                                  QuilleryStamp now) {
    QuilleryRecord entry{};
    entry.ISBN = isbn;
    entry.TITLE = "ISBN " + std::string(isbn);
    entry.CATEGORY = category;
    entry.setCREATED(now);
    entry.setCHANGED(now);
    BUILDKEYS(entry);
    return entry;
}

}  // namespace quillery::lookup
