// The kinds of entries a data file holds and the bytes of their keys and data. Every entry of a
// table starts with its 4-byte table number; the fifth byte says what it is:
//
//   kind                  key                                                    data
//   0xF3 data record      table, 0xF3, record number (BE 4)                      record image
//   0xF6 metadata         table, 0xF6, subject (0xF3 records, else key number)   u32 count,
//                                                                                u32 build mark
//   0xFA definition block table, 0xFA, block number (u16 little-endian)          <= 512 bytes
//   0xFC memo segment     table, 0xFC, record (BE 4), memo number, segment (BE 2) <= 256 bytes
//   0..keys-1 key entry   table, key number, encoded value [, record (BE 4)]     record (BE 4)
//   table name            0xFE, name (no terminator)                             table number
//   pending link          0xFF                                                   u32 transaction,
//                                                                                TCF name, 0
//
// Numbers inside keys are big-endian so that byte order is numeric order; issued numbers stop
// at 0xFDFFFFFF so that names (0xFE) and the link (0xFF) sort after every table.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "storage/byte_order.h"

namespace quillery::storage {

namespace EntryKind {
inline constexpr std::uint8_t kRecord = 0xF3;
inline constexpr std::uint8_t kMetadata = 0xF6;
inline constexpr std::uint8_t kDefinitionBlock = 0xFA;
inline constexpr std::uint8_t kMemoSegment = 0xFC;
inline constexpr std::uint8_t kTableName = 0xFE;
inline constexpr std::uint8_t kPendingLink = 0xFF;
}  // namespace EntryKind

inline constexpr std::uint32_t kLargestIssuedNumber = 0xFDFFFFFF;
inline constexpr std::size_t kDefinitionBlockSize = 512;
inline constexpr std::size_t kMemoSegmentSize = 256;

// Table numbers and record numbers come from the same counter.
using TableNumber = std::uint32_t;
using RecordNumber = std::uint32_t;

// Increments a 4-byte big-endian number in place. False (number unchanged) when the result would
// pass 0xFDFFFFFF.
bool incrementIssuedNumber(std::array<std::uint8_t, 4>& number);

// The five bytes that every entry of one kind of one table starts with.
std::array<std::uint8_t, 5> kindPrefix(TableNumber table, std::uint8_t kind);

Bytes recordKey(TableNumber table, RecordNumber record);
Bytes metadataKey(TableNumber table, std::uint8_t subject);
Bytes definitionBlockKey(TableNumber table, std::uint16_t block);
Bytes memoSegmentKey(TableNumber table, RecordNumber record, std::uint8_t memo,
                     std::uint16_t segment);
Bytes tableNameKey(std::string_view name);
Bytes pendingLinkKey();
// The key of a transaction's entry in the transaction control file.
Bytes transactionKey(std::uint32_t transaction);

struct Metadata {
    std::uint32_t count = 0;
    std::uint32_t buildMark = 0;
};
Bytes encodeMetadata(const Metadata& m);
// False when `data` is not 8 bytes.
bool decodeMetadata(ByteView data, Metadata& out);

struct PendingLink {
    std::uint32_t transaction = 0;
    std::string controlFile;
};
Bytes encodePendingLink(const PendingLink& link);
bool decodePendingLink(ByteView data, PendingLink& out);

// Cuts a memo (trailing spaces dropped) or a blob (segment 0 led by its u32 length) into
// segments of at most 256 bytes, numbered from 0.
std::vector<Bytes> splitMemo(ByteView value, bool blob);
// Joins segments back. A blob's value is cut to its stated length; false when a blob's stated
// length exceeds what the segments hold.
bool joinMemo(const std::vector<Bytes>& segments, bool blob, Bytes& out);

// Cuts a table definition stream into 512-byte definition blocks.
std::vector<Bytes> splitDefinition(ByteView stream);

}  // namespace quillery::storage
