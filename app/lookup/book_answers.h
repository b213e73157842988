// The answers of the book service read into what a catalogue entry needs: the books API's
// answer for one ISBN, and the edition and author records of its fallback.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillery::lookup {

// A book as the service describes it, UTF-8 throughout.
struct FoundBook {
    std::string title;
    std::vector<std::string> authors;     // names as written ("Aubrey Lindqvist")
    std::vector<std::string> authorKeys;  // the fallback's author records ("/authors/OL7A")
    std::vector<std::string> publishers;
    std::string publishDate;
    std::string pages;
    std::vector<std::string> subjects;
};

enum class AnswerKind { kBook, kNotFound, kBad };

struct BookAnswer {
    AnswerKind kind = AnswerKind::kBad;
    FoundBook book;
    std::string problem;  // for kBad: what was wrong with the answer
};

// The books API's answer to bibkeys=ISBN:<isbn>&format=json&jscmd=data: an object with the
// member "ISBN:<isbn>" for a known book, "{}" for an unknown one.
BookAnswer readBooksAnswer(std::string_view json, std::string_view isbn);

// An edition record (/isbn/<isbn>.json): authors only by their records' keys.
BookAnswer readEditionRecord(std::string_view json);

// The name of an author record (/authors/<id>.json); empty when it has none or is no record.
std::string readAuthorName(std::string_view json);

// "/authors/OL7A" when `key` is such a key, so that it can be fetched as "<key>.json"; empty
// for anything else (a key must never lead elsewhere).
std::string authorRecordPath(std::string_view key);

}  // namespace quillery::lookup
