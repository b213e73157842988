// What the main window holds in memory of each listed book beside its queue row: the texts its
// list columns show, and its text for the search box. Kept in step with ALLQUEUE: a row added
// there is remembered here, a row removed is forgotten.
#pragma once

#include <cstdint>
#include <string>

#include "app/book_text_index.h"
#include "app/column_orders.h"
#include "app/quillery_record.h"

namespace quillery {

// Remembers `record`, the current book at record position `position`.
void rememberListedBook(std::int32_t position, const QuilleryRecord& record);
void forgetListedBook(std::int32_t position);
void forgetListedBooks();

// The text the book at `position` shows in `column`; empty for a book not remembered.
std::string listedText(std::int32_t position, BookColumn column);

// The search box's index of the listed books' texts.
const BookTextIndex& listedBookTexts();

}  // namespace quillery
