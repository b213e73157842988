// The shared-prefix encoding of the entries of a page body.
#include "storage/entry_encoding.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace quillery::storage {
namespace {

constexpr std::uint8_t kNewEntryLength = 0x80;
constexpr std::uint8_t kNewKeyLength = 0x40;
constexpr std::size_t kMaxShared = 63;

}  // namespace

Entry makeEntry(ByteView key, ByteView data) {
    Bytes bytes;
    bytes.reserve(key.size() + data.size());
    bytes.insert(bytes.end(), key.begin(), key.end());
    bytes.insert(bytes.end(), data.begin(), data.end());
    return Entry(std::move(bytes), static_cast<std::uint16_t>(key.size()));
}

namespace {

// How many leading bytes `a` and `b` share, up to `limit`; eight at a time, since neighbouring
// keys in a page often share most of their prefix.
std::size_t sharedPrefix(const std::uint8_t* a, const std::uint8_t* b, std::size_t limit) {
    std::size_t n = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; n + 8 <= limit; n += 8) {
            std::uint64_t x, y;
            std::memcpy(&x, a + n, 8);
            std::memcpy(&y, b + n, 8);
            if (x != y) return n + static_cast<std::size_t>(std::countr_zero(x ^ y)) / 8;
        }
    }
    while (n < limit && a[n] == b[n])
        ++n;
    return n;
}

}  // namespace

void encodeEntries(std::span<const Entry> entries, Bytes& out) {
    std::size_t room = 0;
    for (const Entry& e : entries)
        room += 5 + e.size();
    encodeEntries(entries, out, room);
}

void encodeEntries(std::span<const Entry> entries, Bytes& out, std::size_t room) {
    encodeEntriesAfter(nullptr, entries, out, room);
}

void encodeEntriesAfter(const Entry* previous, std::span<const Entry> entries, Bytes& out,
                        std::size_t room) {
    // At most five bytes of flags and lengths per entry: size the output once and write into it.
    const std::size_t start = out.size();
    out.resize(start + room);
    std::uint8_t* at = out.data() + start;
    // Entries' bytes lie wherever they were made; fetching a few entries ahead lets the memory
    // reads overlap instead of waiting for each in turn.
    constexpr std::size_t kAhead = 4;
    for (std::size_t i = 0; i < kAhead && i < entries.size(); ++i)
        __builtin_prefetch(entries[i].bytes().data());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        if (i + kAhead < entries.size()) __builtin_prefetch(entries[i + kAhead].bytes().data());
        const ByteView bytes = e.bytes();
        std::uint8_t flags = 0;
        std::size_t shared = 0;
        if (previous == nullptr) {
            flags = kNewEntryLength | kNewKeyLength;
        } else {
            const ByteView before = previous->bytes();
            if (bytes.size() != before.size()) flags |= kNewEntryLength;
            if (e.keyLength() != previous->keyLength()) flags |= kNewKeyLength;
            shared = sharedPrefix(bytes.data(), before.data(),
                                  std::min({kMaxShared, bytes.size(), before.size()}));
        }
        *at++ = static_cast<std::uint8_t>(flags | shared);
        if (flags & kNewEntryLength) {
            storeLe16(at, static_cast<std::uint16_t>(bytes.size()));
            at += 2;
        }
        if (flags & kNewKeyLength) {
            storeLe16(at, e.keyLength());
            at += 2;
        }
        const std::size_t rest = bytes.size() - shared;
        if (rest != 0) std::memcpy(at, bytes.data() + shared, rest);
        at += rest;
        previous = &e;
    }
    out.resize(static_cast<std::size_t>(at - out.data()));
}

namespace {

struct EntryHead {
    std::size_t shared = 0;
    std::size_t entryLength = 0;
    std::size_t keyLength = 0;
    std::size_t rest = 0;  // bytes that follow in the body
};

// Reads the flags and lengths of entry `i` at `at`, checking them against the body and the
// previous entry; the lengths not given carry over in `head`.
bool readHead(ByteView body, std::size_t i, std::size_t& at, EntryHead& head) {
    if (at >= body.size()) return false;
    const std::uint8_t flags = body[at++];
    const std::size_t previousLength = head.entryLength;
    head.shared = flags & kMaxShared;
    if (i == 0 &&
        ((flags & (kNewEntryLength | kNewKeyLength)) != (kNewEntryLength | kNewKeyLength) ||
         head.shared != 0))
        return false;
    if (flags & kNewEntryLength) {
        if (body.size() - at < 2) return false;
        head.entryLength = loadLe16(&body[at]);
        at += 2;
    }
    if (flags & kNewKeyLength) {
        if (body.size() - at < 2) return false;
        head.keyLength = loadLe16(&body[at]);
        at += 2;
    }
    if (head.keyLength > head.entryLength || head.shared > head.entryLength) return false;
    if (i > 0 && head.shared > previousLength) return false;
    head.rest = head.entryLength - head.shared;
    if (body.size() - at < head.rest) return false;
    at += head.rest;
    return true;
}

}  // namespace

bool decodeEntries(ByteView body, std::size_t count, std::vector<Entry>& out,
                   std::shared_ptr<std::uint8_t[]>& block) {
    out.clear();
    // First the lengths, checked, so that the block is sized once and never moves under the
    // entries that view it.
    std::size_t total = 0;
    {
        std::size_t at = 0;
        EntryHead head;
        for (std::size_t i = 0; i < count; ++i) {
            if (!readHead(body, i, at, head)) return false;
            total += head.entryLength;
        }
        if (at != body.size()) return false;
    }
    // Every byte of the block is written below; it needs no clearing first.
    block = std::make_shared_for_overwrite<std::uint8_t[]>(total);
    out.reserve(count);
    std::size_t at = 0;
    std::size_t filled = 0;
    EntryHead head;
    const std::uint8_t* previous = nullptr;
    for (std::size_t i = 0; i < count; ++i) {
        (void)readHead(body, i, at, head);
        std::uint8_t* bytes = block.get() + filled;
        if (head.shared != 0) std::memcpy(bytes, previous, head.shared);
        if (head.rest != 0)
            std::memcpy(bytes + head.shared, body.data() + at - head.rest, head.rest);
        out.push_back(
            Entry::viewing(bytes, head.entryLength, static_cast<std::uint16_t>(head.keyLength)));
        previous = bytes;
        filled += head.entryLength;
    }
    return true;
}

bool entryOffsets(ByteView body, std::size_t count, std::vector<std::size_t>& offsets) {
    offsets.clear();
    offsets.reserve(count + 1);
    std::size_t at = 0;
    EntryHead head;
    for (std::size_t i = 0; i < count; ++i) {
        offsets.push_back(at);
        if (!readHead(body, i, at, head)) return false;
    }
    offsets.push_back(at);
    return at == body.size();
}

}  // namespace quillery::storage
