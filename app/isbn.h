// ISBNs as people type, scan and export them: hyphens and spaces dropped, the ISBN-10 and the
// ISBN-13 told apart and their check digits tried, and an ISBN-10 turned into its ISBN-13.
#pragma once

#include <string>
#include <string_view>

namespace quillery {

enum class IsbnForm {
    kEmpty,      // nothing but separators
    kIsbn10,     // ten characters, the check digit right
    kIsbn13,     // thirteen digits starting 978 or 979, the check digit right
    kBadCheck,   // the length and characters of an ISBN, but its check digit wrong
    kBadLength,  // digits (and a final X) of another length
    kNotAnIsbn,  // characters no ISBN has
};

struct TidiedIsbn {
    std::string text;  // the ISBN without separators; the text as given when it is no ISBN
    IsbnForm form = IsbnForm::kEmpty;
    bool valid() const { return form == IsbnForm::kIsbn10 || form == IsbnForm::kIsbn13; }
};

// `text` without blanks around it, hyphens and inner spaces; a lower-case final x of an
// ISBN-10 becomes "X". Text with other characters is kept as it stands (only trimmed).
TidiedIsbn tidyIsbn(std::string_view text);

// What is wrong with an ISBN as one sentence without a full stop ("the check digit of
// 9780140449137 is wrong; it should be 6"); empty for a valid or empty one.
std::string isbnProblem(const TidiedIsbn& isbn);

// The check digit of the first 9 (ISBN-10) or 12 (ISBN-13) digits of `digits`.
char isbn10CheckDigit(std::string_view digits);
char isbn13CheckDigit(std::string_view digits);

// The ISBN-13 of a valid ISBN-10 ("0140449132" is "9780140449136"); any other text as it is.
std::string isbn13Of(std::string_view isbn10);

}  // namespace quillery
