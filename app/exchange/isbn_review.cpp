// Looking over the ISBNs of an import.
#include "app/exchange/isbn_review.h"

#include "app/isbn.h"
#include "runtime/codepage.h"

namespace quillery::exchange {

namespace {

std::string titleOf(const QuilleryRecord& book) {
    return cp1252ToUtf8(book.TITLE.clipped());
}

}  // namespace

std::string bookDescription(const QuilleryRecord& book) {
    std::string author(book.LASTNAME.clipped());
    if (!book.FIRSTNAME.isBlank()) {
        if (!author.empty()) author += ", ";
        author += book.FIRSTNAME.clipped();
    }
    std::string title = titleOf(book);
    if (title.empty()) title = "(no title)";
    return author.empty() ? title : title + " by " + cp1252ToUtf8(author);
}

void IsbnIndex::add(const QuilleryRecord& book) {
    const TidiedIsbn isbn = tidyIsbn(book.ISBN.clipped());
    if (isbn.form == IsbnForm::kEmpty) return;
    books_.try_emplace(isbn.text, bookDescription(book));
}

const std::string* IsbnIndex::find(std::string_view isbn) const {
    const TidiedIsbn tidied = tidyIsbn(isbn);
    if (tidied.form == IsbnForm::kEmpty) return nullptr;
    const auto found = books_.find(tidied.text);
    return found == books_.end() ? nullptr : &found->second;
}

bool storeTidiedIsbn(QuilleryRecord& book, std::string_view typed, bool toIsbn13) {
    TidiedIsbn isbn = tidyIsbn(typed);
    if (toIsbn13 && isbn.form == IsbnForm::kIsbn10) isbn.text = isbn13Of(isbn.text);
    if (isbn.text.size() > book.ISBN.size()) return false;
    book.ISBN = isbn.text;
    return true;
}

void reviewImportedIsbns(ExchangeImport& imported, IsbnIndex catalogue,
                         const IsbnReviewOptions& options) {
    for (std::size_t i = 0; i < imported.records.size(); ++i) {
        QuilleryRecord& book = imported.records[i];
        const int line = i < imported.lines.size() ? imported.lines[i] : 0;
        const std::string title = titleOf(book);
        const std::string given(book.ISBN.clipped());
        const TidiedIsbn isbn = tidyIsbn(given);
        if (const std::string problem = isbnProblem(isbn); !problem.empty()) {
            imported.report.note(line, title, "ISBN: " + problem);
        }
        storeTidiedIsbn(book, given, options.toIsbn13);
        if (options.toIsbn13 && isbn.form == IsbnForm::kIsbn10) {
            imported.report.note(
                line, title,
                "ISBN " + isbn.text + " stored as its ISBN-13 " + std::string(book.ISBN.clipped()));
        }
        if (const std::string* other = catalogue.find(book.ISBN.clipped())) {
            imported.report.note(
                line, title,
                "ISBN " + std::string(book.ISBN.clipped()) + " is already that of " + *other);
        }
        catalogue.add(book);
    }
}

}  // namespace quillery::exchange
