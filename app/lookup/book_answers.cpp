// Reading the book service's answers.
#include "app/lookup/book_answers.h"

#include <algorithm>

#include "app/exchange/json_reader.h"

namespace quillery::lookup {

namespace {

using exchange::JsonValue;

BookAnswer bad(std::string problem) {
    BookAnswer answer;
    answer.problem = std::move(problem);
    return answer;
}

std::string textOf(const JsonValue* value) {
    if (value == nullptr) return {};
    if (value->kind == JsonValue::Kind::kString || value->kind == JsonValue::Kind::kNumber) {
        return value->text;
    }
    return {};
}

// The strings of a list of strings or of objects with a "name" (or `member`).
std::vector<std::string> namesOf(const JsonValue* list, std::string_view member = "name") {
    std::vector<std::string> names;
    if (list == nullptr || list->kind != JsonValue::Kind::kArray) return names;
    for (const JsonValue& item : list->items) {
        std::string name =
            item.kind == JsonValue::Kind::kObject ? textOf(item.member(member)) : textOf(&item);
        if (!name.empty()) names.push_back(std::move(name));
    }
    return names;
}

std::string fullTitle(const JsonValue& book) {
    std::string title = textOf(book.member("title"));
    const std::string subtitle = textOf(book.member("subtitle"));
    if (!subtitle.empty()) title += (title.empty() ? "" : ": ") + subtitle;
    return title;
}

bool parsed(std::string_view json, JsonValue& value, std::string& problem) {
    CsvProblem fault;
    if (!exchange::parseJson(json, value, fault)) {
        problem = "it is not JSON (" + fault.text() + ")";
        return false;
    }
    if (value.kind != JsonValue::Kind::kObject) {
        problem = "it is not a JSON object";
        return false;
    }
    return true;
}

}  // namespace

BookAnswer readBooksAnswer(std::string_view json, std::string_view isbn) {
    JsonValue root;
    std::string problem;
    if (!parsed(json, root, problem)) return bad(problem);
    const JsonValue* book = root.member("ISBN:" + std::string(isbn));
    if (book == nullptr) {
        BookAnswer answer;
        answer.kind = root.names.empty() ? AnswerKind::kNotFound : AnswerKind::kBad;
        if (!root.names.empty()) answer.problem = "it names no book with this ISBN";
        return answer;
    }
    if (book->kind != JsonValue::Kind::kObject) return bad("its book is not an object");
    BookAnswer answer;
    answer.kind = AnswerKind::kBook;
    answer.book.title = fullTitle(*book);
    answer.book.authors = namesOf(book->member("authors"));
    answer.book.publishers = namesOf(book->member("publishers"));
    answer.book.publishDate = textOf(book->member("publish_date"));
    answer.book.pages = textOf(book->member("number_of_pages"));
    answer.book.subjects = namesOf(book->member("subjects"));
    if (answer.book.title.empty()) return bad("its book has no title");
    return answer;
}

BookAnswer readEditionRecord(std::string_view json) {
    JsonValue root;
    std::string problem;
    if (!parsed(json, root, problem)) return bad(problem);
    if (textOf(root.member("error")) == "notfound") {
        BookAnswer answer;
        answer.kind = AnswerKind::kNotFound;
        return answer;
    }
    BookAnswer answer;
    answer.kind = AnswerKind::kBook;
    answer.book.title = fullTitle(root);
    for (const std::string& key : namesOf(root.member("authors"), "key")) {
        if (std::string path = authorRecordPath(key); !path.empty()) {
            answer.book.authorKeys.push_back(std::move(path));
        }
    }
    answer.book.publishers = namesOf(root.member("publishers"));
    answer.book.publishDate = textOf(root.member("publish_date"));
    answer.book.pages = textOf(root.member("number_of_pages"));
    answer.book.subjects = namesOf(root.member("subjects"));
    if (answer.book.title.empty()) return bad("the edition has no title");
    return answer;
}

std::string readAuthorName(std::string_view json) {
    JsonValue root;
    std::string problem;
    if (!parsed(json, root, problem)) return {};
    std::string name = textOf(root.member("name"));
    return name.empty() ? textOf(root.member("personal_name")) : name;
}

std::string authorRecordPath(std::string_view key) {
    constexpr std::string_view kPrefix = "/authors/";
    if (!key.starts_with(kPrefix) || key.size() == kPrefix.size() || key.size() > 40) return {};
    const std::string_view id = key.substr(kPrefix.size());
    const bool plain = std::all_of(id.begin(), id.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    });
    return plain ? std::string(key) : std::string();
}

}  // namespace quillery::lookup
