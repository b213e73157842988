// Before an entry is saved, its ISBN: tidied as typed (hyphens and spaces dropped, so a
// hyphenated ISBN-13 keeps all 13 digits; an ISBN-10 turned into its ISBN-13 when the person
// asked for that), a new or changed ISBN with a wrong check digit or length questioned, and a
// new book whose ISBN another current book has named. Both questions offer "Save anyway" and
// "Go back"; neither is an error, as a collector may keep two copies.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "app/quillery_record.h"

namespace quillery {

class Window;

// True when the entry may be saved; false when the person chose to go back, with the focus on
// the ISBN field.
bool isbnAccepted();

// Whether the person chose "Go back" at the last question.
bool isbnQuestionDeclined();

// The ISBN entry of `window` drops hyphens and spaces as they are typed or pasted, so that a
// hyphenated ISBN-13 fits the field whole.
void tidyIsbnAsTyped(Window& window);

// Whether an ISBN-10 typed into the entry is stored as its ISBN-13 (off unless the settings
// file asks for it).
bool isbn13Preferred();
void setIsbn13Preferred(bool preferred);

// "Title by First Last" of `entry` (its own text, Windows-1252).
std::string titleByAuthor(const QuilleryRecord& entry);

// The tidied ISBN of every current book of the catalogue, with that book's "Title by First
// Last" (UTF-8). The record buffer is left as it was.
std::map<std::string, std::string> currentIsbns();

// The question with the buttons "Save anyway" (BUTTON::Yes) and "Go back" (BUTTON::No), the
// latter the default; true for "Save anyway".
bool saveAnywayAsked(std::string_view text);

}  // namespace quillery
