// The listed books' column texts, one string a book with the columns apart by a unit separator,
// and the search box's text index.
#include "app/window/listed_books.h"

#include <unordered_map>

namespace quillery {

namespace {

constexpr char kColumnSeparator = '\x1F';

struct ListedBooks {
    std::unordered_map<std::int32_t, std::string> columns;
    // The search box ignores case, as a person typing a few letters of a name expects.
    BookTextIndex texts{CaseRule::IgnoreCase};
};

ListedBooks& listed() {
    static ListedBooks books;
    return books;
}

}  // namespace

void rememberListedBook(std::int32_t position, const QuilleryRecord& record) {
    std::string joined;
    for (std::size_t c = 0; c < kBookColumnCount; ++c) {
        if (c > 0) joined += kColumnSeparator;
        joined += columnText(record, static_cast<BookColumn>(c));
    }
    listed().columns[position] = std::move(joined);
    listed().texts.put(position, record);
}

void forgetListedBook(std::int32_t position) {
    listed().columns.erase(position);
    listed().texts.remove(position);
}

void forgetListedBooks() {
    listed().columns.clear();
    listed().texts.clear();
}

std::string listedText(std::int32_t position, BookColumn column) {
    const auto it = listed().columns.find(position);
    if (it == listed().columns.end()) return {};
    std::size_t start = 0;
    for (std::size_t c = 0; c < static_cast<std::size_t>(column); ++c) {
        start = it->second.find(kColumnSeparator, start);
        if (start == std::string::npos) return {};
        ++start;
    }
    const std::size_t end = it->second.find(kColumnSeparator, start);
    return it->second.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

const BookTextIndex& listedBookTexts() {
    return listed().texts;
}

}  // namespace quillery
