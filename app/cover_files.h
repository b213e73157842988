// The covers of a catalogue's books: one picture per ISBN in a folder beside the catalogue,
// "Books.covers/9780140449136.jpg" for "Books.QLY". Only reading and writing files: nothing here
// goes online.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quillery {

// The folder of `catalogue`'s covers.
std::filesystem::path coversFolder(const std::filesystem::path& catalogue);
// Where the cover of the book with `isbn` is kept; empty when the ISBN cannot name a file
// (empty, or characters other than digits and X).
std::filesystem::path coverFile(const std::filesystem::path& catalogue, std::string_view isbn);

// Writes `bytes` as the cover of `isbn`, whole or not at all (a temporary file renamed into
// place); false with `error` set when it could not.
bool storeCover(const std::filesystem::path& catalogue, std::string_view isbn,
                std::string_view bytes, std::string& error);

}  // namespace quillery
