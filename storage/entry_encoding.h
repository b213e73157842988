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
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "storage/byte_order.h"

namespace quillery::storage {

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

// A key's first sixteen bytes as two big-endian words, zeros past the key's end. Comparing two
// heads as numbers orders the keys as their bytes do whenever the heads differ, so most steps
// of a search are settled by the words an entry holds in place, without reaching its bytes.
struct KeyHead {
    std::uint64_t high = 0;
    std::uint64_t low = 0;

    static KeyHead of(ByteView key) {
        std::uint8_t first[16] = {};
        if (!key.empty()) std::memcpy(first, key.data(), std::min<std::size_t>(key.size(), 16));
        KeyHead h;
        for (int i = 0; i < 8; ++i) {
            h.high = h.high << 8 | first[i];
            h.low = h.low << 8 | first[8 + i];
        }
        return h;
    }
};

// compareBytes(a, b) for keys with heads `ha` and `hb`.
inline int compareHeaded(const KeyHead& ha, ByteView a, const KeyHead& hb, ByteView b) {
    if (ha.high != hb.high) return ha.high < hb.high ? -1 : 1;
    if (ha.low != hb.low) return ha.low < hb.low ? -1 : 1;
    // Equal heads: the bytes both keys have among the first sixteen are equal.
    const std::size_t skip = std::min<std::size_t>({16, a.size(), b.size()});
    return compareBytes(a.subspan(skip), b.subspan(skip));
}

// A key being searched for, with its head worked out once for the whole search.
struct SearchKey {
    explicit SearchKey(ByteView key) : bytes(key), head(KeyHead::of(key)) {}
    ByteView bytes;
    KeyHead head;
};

// An entry: its key bytes followed by its data bytes. An entry decoded from a page views the
// block its page decoded all entries into (the page keeps that block alive); an entry made by a
// change owns its bytes. Either way the bytes stay where they are while the entry lives, moves
// included, so decoding a page costs one allocation instead of one per entry.
class Entry {
  public:
    Entry() = default;
    Entry(Bytes bytes, std::uint16_t keyLength)
        : owned_(std::move(bytes)),
          data_(owned_.data()),
          size_(static_cast<std::uint32_t>(owned_.size())),
          keyLength_(keyLength),
          head_(KeyHead::of(key())) {}
    // An entry over bytes that someone else keeps alive for as long as the entry lives.
    static Entry viewing(const std::uint8_t* bytes, std::size_t size, std::uint16_t keyLength) {
        Entry e;
        e.data_ = bytes;
        e.size_ = static_cast<std::uint32_t>(size);
        e.keyLength_ = keyLength;
        e.head_ = KeyHead::of(e.key());
        return e;
    }
    Entry(const Entry& other) { *this = other; }
    Entry& operator=(const Entry& other) {
        if (this == &other) return *this;
        owned_ = other.owned_;
        data_ = other.owns() ? owned_.data() : other.data_;
        size_ = other.size_;
        keyLength_ = other.keyLength_;
        head_ = other.head_;
        return *this;
    }
    // A moved vector keeps its buffer, so the view stays on the moved bytes.
    Entry(Entry&&) noexcept = default;
    Entry& operator=(Entry&&) noexcept = default;

    ByteView bytes() const { return ByteView(data_, size_); }
    std::size_t size() const { return size_; }
    std::uint16_t keyLength() const { return keyLength_; }
    ByteView key() const { return ByteView(data_, keyLength_); }
    ByteView data() const { return ByteView(data_ + keyLength_, size_ - keyLength_); }
    const KeyHead& head() const { return head_; }

  private:
    bool owns() const { return !owned_.empty() && data_ == owned_.data(); }

    Bytes owned_;
    const std::uint8_t* data_ = nullptr;
    std::uint32_t size_ = 0;
    std::uint16_t keyLength_ = 0;
    KeyHead head_;
};

Entry makeEntry(ByteView key, ByteView data);

// Appends the encoded entries to `out`.
void encodeEntries(std::span<const Entry> entries, Bytes& out);
// The same when the caller knows the sum of (5 + entry length) over the entries.
void encodeEntries(std::span<const Entry> entries, Bytes& out, std::size_t room);
// Appends the encoding of `entries` as they follow `previous` in a page (null: they begin it).
void encodeEntriesAfter(const Entry* previous, std::span<const Entry> entries, Bytes& out,
                        std::size_t room);

// Where each of the first `count` entries of `body` begins, and then where the last one ends
// (count + 1 offsets). False when the bytes are impossible, as for decodeEntries.
bool entryOffsets(ByteView body, std::size_t count, std::vector<std::size_t>& offsets);

// Decodes exactly `count` entries filling exactly all of `body`. The entries' bytes go, one after
// the other, into `block`, which the entries view: the caller keeps it alive and unchanged while
// they live. False when the bytes are impossible (a length past the body, a shared count past
// the previous entry, a first entry without both lengths, a key longer than its entry).
bool decodeEntries(ByteView body, std::size_t count, std::vector<Entry>& out,
                   std::shared_ptr<std::uint8_t[]>& block);

}  // namespace quillery::storage
