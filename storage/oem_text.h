// The text of a table stored in code page 437 (OEM characters): its string fields and text memos
// are converted to the program's Windows-1252 when read into the buffer and back when written.
// Numbers, dates, binary fields and binary memos are never touched, since the same bytes are
// values there, not characters.
#pragma once

#include <span>
#include <vector>

#include "storage/byte_order.h"
#include "storage/status.h"
#include "storage/table_definition.h"

namespace quillery::storage {

// Whether fields of `type` hold characters: the fixed, zero-terminated and length-prefixed
// strings. The length byte of a length-prefixed string is a number and stays as it is.
bool holdsText(std::uint8_t type);

// Converts the string fields of `record` (a buffer or a stored image laid out by `definition`)
// from code page 437 to Windows-1252, in place. A field reaching past the end is left alone.
void recordTextFromOem(const TableDefinition& definition, std::span<std::uint8_t> record);

// Converts the string fields of `record` from Windows-1252 to code page 437, in place; a
// character 437 lacks becomes '?'. Where `stored` (the record's stored image, or empty) holds
// a field the buffer still shows as it was read, the stored bytes are kept, so characters that
// have no Windows-1252 form survive a change of some other field.
void recordTextToOem(const TableDefinition& definition, std::span<std::uint8_t> record,
                     std::span<const std::uint8_t> stored = {});

// The memos that hold text: neither binary nor blobs.
bool memoHoldsText(const MemoDescription& memo);
void memoTextFromOem(const TableDefinition& definition, std::vector<Bytes>& memos);
std::vector<Bytes> memoTextToOem(const TableDefinition& definition,
                                 const std::vector<Bytes>& memos);

}  // namespace quillery::storage
