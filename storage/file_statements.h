// The program's file statements. Each calls the driver's entry point with its operation code and
// posts the answer as the current error with the file (a success clears it), so the program
// tests errorCode() after a statement as after any other. Files are named by their
// declarations; the run-time state behind each declaration is kept for the program's life.
//
//   OPEN(QUILLERY);  SET(QUILLERY);  NEXT(QUILLERY);  if (errorCode()) ...
//   SET(keyOf(QUILLERY, QuilleryKey::AUTHORKEY));  LOGOUT(1, QUILLERY);  PUT(QUILLERY);  COMMIT();
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "storage/access_mode.h"
#include "storage/file_control_block.h"
#include "storage/table_definition_declaration.h"

namespace quillery {

using FileDeclaration = storage::TableDeclaration;

// A key of a file: its declaration and its number in the key list, from 0.
struct FileKey {
    const FileDeclaration* file;
    std::size_t number;
};
inline FileKey keyOf(const FileDeclaration& file, std::size_t number) {
    return {&file, number};
}
template <class E>
requires std::is_enum_v<E> FileKey keyOf(const FileDeclaration& file, E key) {
    return {&file, static_cast<std::size_t>(key)};
}

// The access mode of an open: read/write, deny write.
inline constexpr int kDefaultAccessMode =
    storage::AccessMode::kReadWrite | storage::AccessMode::kDenyWrite;

void CREATE(const FileDeclaration& file);
void OPEN(const FileDeclaration& file, int accessMode = kDefaultAccessMode);
void CLOSE(const FileDeclaration& file);
// Closes `file` without writing to it, dropping what was not committed; for a file found
// damaged, which must be left as it is. Posts no error.
void closeWithoutWriting(const FileDeclaration& file);

void ADD(const FileDeclaration& file);
void APPEND(const FileDeclaration& file);
void PUT(const FileDeclaration& file);
void DELETE(const FileDeclaration& file);
void GET(const FileDeclaration& file, std::int64_t recordNumber);
void GET(const FileKey& key);

void SET(const FileDeclaration& file);
void SET(const FileDeclaration& file, std::int64_t recordNumber);
void SET(const FileKey& key);
void NEXT(const FileDeclaration& file);
void PREVIOUS(const FileDeclaration& file);
// Whether NEXT (PREVIOUS) would find no further record; nothing is read or moved.
bool ENDOFFILE(const FileDeclaration& file);
bool BEGINNINGOFFILE(const FileDeclaration& file);

std::uint32_t RECORDS(const FileDeclaration& file);
std::uint32_t RECORDS(const FileKey& key);
// The record number of the current record; 0 when none.
std::uint32_t POSITION(const FileDeclaration& file);
std::string NAME(const FileDeclaration& file);

void BUILD(const FileDeclaration& file);
void BUILD(const FileKey& key);
// Builds every key, then cuts the file at its committed end.
void BUILDANDCUT(const FileDeclaration& file);
// Sends an option string ("TCF=...", "FULLBUILD", "FULLBUILD=ON", "PNM=...", "REGISTER");
// returns the driver's reply.
std::string SEND(const FileDeclaration& file, std::string_view option);

// Reads hold what they read (repeating a read of a record held elsewhere for up to
// `timeoutSeconds`, -1 without limit) until RELEASE.
void HOLD(const FileDeclaration& file, int timeoutSeconds = 0);
void RELEASE(const FileDeclaration& file);
// Reads remember what they read, so that a PUT of a record another program changed since fails
// with error 89.
void WATCH(const FileDeclaration& file);
// Blanks the record buffer: strings spaces, everything else zero bytes.
void CLEAR(const FileDeclaration& file);

// Begins a transaction over `files`, waiting up to `seconds` for each file's lock.
void LOGOUT(int seconds, std::span<const FileDeclaration* const> files);
template <class... Files>
requires(std::is_same_v<Files, FileDeclaration>&&...) void LOGOUT(int seconds,
                                                                  const Files&... files) {
    const std::array<const FileDeclaration*, sizeof...(Files)> list{&files...};
    LOGOUT(seconds, std::span<const FileDeclaration* const>(list));
}
void COMMIT();
void ROLLBACK();

}  // namespace quillery
