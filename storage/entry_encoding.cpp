// The shared-prefix encoding of the entries of a page body.
#include "storage/entry_encoding.h"

#include <algorithm>
#include <cstring>

namespace quillery::storage {
namespace {

constexpr std::uint8_t kNewEntryLength = 0x80;
constexpr std::uint8_t kNewKeyLength = 0x40;
constexpr std::size_t kMaxShared = 63;

}  // namespace

Entry makeEntry(ByteView key, ByteView data) {
    Entry e;
    e.bytes.reserve(key.size() + data.size());
    e.bytes.insert(e.bytes.end(), key.begin(), key.end());
    e.bytes.insert(e.bytes.end(), data.begin(), data.end());
    e.keyLength = static_cast<std::uint16_t>(key.size());
    return e;
}

void encodeEntries(std::span<const Entry> entries, Bytes& out) {
    const Entry* previous = nullptr;
    for (const Entry& e : entries) {
        std::uint8_t flags = 0;
        std::size_t shared = 0;
        if (previous == nullptr) {
            flags = kNewEntryLength | kNewKeyLength;
        } else {
            if (e.bytes.size() != previous->bytes.size()) flags |= kNewEntryLength;
            if (e.keyLength != previous->keyLength) flags |= kNewKeyLength;
            const std::size_t limit =
                std::min({kMaxShared, e.bytes.size(), previous->bytes.size()});
            while (shared < limit && e.bytes[shared] == previous->bytes[shared])
                ++shared;
        }
        out.push_back(static_cast<std::uint8_t>(flags | shared));
        std::uint8_t word[2];
        if (flags & kNewEntryLength) {
            storeLe16(word, static_cast<std::uint16_t>(e.bytes.size()));
            out.insert(out.end(), word, word + 2);
        }
        if (flags & kNewKeyLength) {
            storeLe16(word, e.keyLength);
            out.insert(out.end(), word, word + 2);
        }
        out.insert(out.end(), e.bytes.begin() + static_cast<std::ptrdiff_t>(shared), e.bytes.end());
        previous = &e;
    }
}

bool decodeEntries(ByteView body, std::size_t count, std::vector<Entry>& out) {
    out.clear();
    out.reserve(count);
    std::size_t at = 0;
    std::size_t entryLength = 0;
    std::size_t keyLength = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (at >= body.size()) return false;
        const std::uint8_t flags = body[at++];
        const std::size_t shared = flags & kMaxShared;
        if (i == 0 &&
            ((flags & (kNewEntryLength | kNewKeyLength)) != (kNewEntryLength | kNewKeyLength) ||
             shared != 0))
            return false;
        if (flags & kNewEntryLength) {
            if (body.size() - at < 2) return false;
            entryLength = loadLe16(&body[at]);
            at += 2;
        }
        if (flags & kNewKeyLength) {
            if (body.size() - at < 2) return false;
            keyLength = loadLe16(&body[at]);
            at += 2;
        }
        if (keyLength > entryLength || shared > entryLength) return false;
        if (i > 0 && shared > out.back().bytes.size()) return false;
        const std::size_t rest = entryLength - shared;
        if (body.size() - at < rest) return false;
        // One allocation and two plain copies per entry: decoding is on every page read.
        Entry e;
        e.bytes.resize(entryLength);
        if (shared != 0) std::memcpy(e.bytes.data(), out.back().bytes.data(), shared);
        if (rest != 0) std::memcpy(e.bytes.data() + shared, body.data() + at, rest);
        e.keyLength = static_cast<std::uint16_t>(keyLength);
        at += rest;
        out.push_back(std::move(e));
    }
    return at == body.size();
}

}  // namespace quillery::storage
