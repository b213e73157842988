// Entries as they lie in a page body, in ascending key order, each against the one before:
//
//   part              width                 present when
//   flags             u8                    always: 0x80 entry length follows, 0x40 key length
//                                           follows, bits 0-5 bytes shared with the previous entry
//   entry length      u16                   flag 0x80 (otherwise the previous entry's)
//   key length        u16                   flag 0x40 (otherwise the previous entry's)
//   remaining bytes   entry length - shared always
//
// An entry is its key bytes followed by its data bytes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "storage/byte_order.h"

namespace quillery::storage {

struct Entry {
    Bytes bytes;  // key then data
    std::uint16_t keyLength = 0;

    ByteView key() const { return ByteView(bytes).first(keyLength); }
    ByteView data() const { return ByteView(bytes).subspan(keyLength); }
};

Entry makeEntry(ByteView key, ByteView data);

// Unsigned byte-wise comparison; on a common prefix the shorter sorts first. Inline: every step
// of every search in the tree runs it.
inline int compareBytes(ByteView a, ByteView b) {
    const std::size_t n = std::min(a.size(), b.size());
    if (n != 0) {
        const int c = std::memcmp(a.data(), b.data(), n);
        if (c != 0) return c < 0 ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

// Appends the encoded entries to `out`.
void encodeEntries(std::span<const Entry> entries, Bytes& out);

// Decodes exactly `count` entries filling exactly all of `body`. False when the bytes are
// impossible (a length past the body, a shared count past the previous entry, a first entry
// without both lengths, a key longer than its entry).
bool decodeEntries(ByteView body, std::size_t count, std::vector<Entry>& out);

}  // namespace quillery::storage
