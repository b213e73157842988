// Checking and tidying ISBNs.
#include "app/isbn.h"

#include <algorithm>

namespace quillery {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool allDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), isDigit);
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

IsbnForm formOf(const std::string& isbn) {
    if (isbn.empty()) return IsbnForm::kEmpty;
    const std::string_view body(isbn.data(), isbn.size() - 1);
    const char last = isbn.back();
    if (!allDigits(body) || (!isDigit(last) && last != 'X')) return IsbnForm::kNotAnIsbn;
    if (isbn.size() == 10) {
        return isbn10CheckDigit(isbn) == last ? IsbnForm::kIsbn10 : IsbnForm::kBadCheck;
    }
    if (isbn.size() == 13 && last != 'X') {
        if (!isbn.starts_with("978") && !isbn.starts_with("979")) return IsbnForm::kBadLength;
        return isbn13CheckDigit(isbn) == last ? IsbnForm::kIsbn13 : IsbnForm::kBadCheck;
    }
    return IsbnForm::kBadLength;
}

}  // namespace

char isbn10CheckDigit(std::string_view digits) {
    int sum = 0;
    for (int i = 0; i < 9; ++i)
        sum += (10 - i) * (digits[i] - '0');
    const int check = (11 - sum % 11) % 11;
    return check == 10 ? 'X' : static_cast<char>('0' + check);
}

char isbn13CheckDigit(std::string_view digits) {
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (i % 2 == 0 ? 1 : 3) * (digits[i] - '0');
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

TidiedIsbn tidyIsbn(std::string_view text) {
    text = trimmed(text);
    std::string kept;
    kept.reserve(text.size());
    for (const char c : text) {
        if (c == '-' || c == ' ') continue;
        kept += c == 'x' ? 'X' : c;
    }
    TidiedIsbn isbn{kept, formOf(kept)};
    // Only an X that ends an ISBN-10-shaped text is taken as a check digit; elsewhere the text
    // is no ISBN and stays as the person gave it.
    if (isbn.form == IsbnForm::kNotAnIsbn) isbn.text = std::string(text);
    return isbn;
}

std::string isbnProblem(const TidiedIsbn& isbn) {
    switch (isbn.form) {
        case IsbnForm::kEmpty:
        case IsbnForm::kIsbn10:
        case IsbnForm::kIsbn13:
            return {};
        case IsbnForm::kBadCheck: {
            const char right =
                isbn.text.size() == 10 ? isbn10CheckDigit(isbn.text) : isbn13CheckDigit(isbn.text);
            return "the check digit of " + isbn.text + " is wrong; it should be " + right;
        }
        case IsbnForm::kBadLength:
            if (isbn.text.back() == 'X' && isbn.text.size() == 13) {
                return isbn.text + " is no ISBN: only an ISBN-10 ends in X";
            }
            if (isbn.text.size() == 13) {
                return isbn.text + " is no ISBN-13: it must begin 978 or 979";
            }
            return isbn.text + " has " + std::to_string(isbn.text.size()) +
                   " characters; an ISBN has 10 or 13";
        case IsbnForm::kNotAnIsbn:
            return "\"" + isbn.text + "\" is not an ISBN: only digits, hyphens and a final X";
    }
    return {};
}

std::string isbn13Of(std::string_view isbn10) {
    const TidiedIsbn isbn = tidyIsbn(isbn10);
    if (isbn.form != IsbnForm::kIsbn10) return std::string(isbn10);
    std::string result = "978" + isbn.text.substr(0, 9);
    result += isbn13CheckDigit(result);
    return result;
}

}  // namespace quillery
