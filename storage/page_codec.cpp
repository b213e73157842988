// Building and parsing stored page images.
#include "storage/page_codec.h"

#include <algorithm>

#include "storage/page_compression.h"
#include "storage/storage_fault.h"

namespace quillery::storage {

std::uint32_t entryFill(const Entry& e, bool indexPage) {
    return static_cast<std::uint32_t>(e.size() + 5 + (indexPage ? 4 : 0));
}

std::uint32_t fillMeasure(const PageContent& page) {
    std::uint32_t fill = kPageHeaderSize;
    for (const Entry& e : page.entries)
        fill += entryFill(e, page.level > 0);
    return fill;
}

Bytes buildPageImage(const PageContent& page) {
    Bytes image;
    if (!tryBuildPageImage(page, image)) storageFault(FaultCheck::kPageTooLong);
    return image;
}

bool tryBuildPageImage(const PageContent& page, Bytes& image) {
    return tryBuildPageImage(page, fillMeasure(page), image);
}

namespace {

// Compresses the body that follows `prefix` in `image` when that saves a unit, then writes the
// header fields and pads the image.
bool finishImage(const PageContent& page, std::uint32_t fill, std::size_t prefix, Bytes& image) {
    const std::size_t uncompressed = image.size();
    std::size_t stored = uncompressed;
    // Compressed bodies are short-lived: one buffer per thread serves every page built.
    thread_local Bytes packed;
    if (compressBodyInto(ByteView(image).subspan(prefix), packed) &&
        roundUpToUnit(prefix + packed.size()) < roundUpToUnit(uncompressed)) {
        image.resize(prefix);
        image.insert(image.end(), packed.begin(), packed.end());
        stored = image.size();
    }
    if (stored > kMaxPageSize || uncompressed > 0xFFFF) return false;
    storeLe16(&image[0x04], static_cast<std::uint16_t>(stored));
    storeLe16(&image[0x06], static_cast<std::uint16_t>(uncompressed));
    storeLe16(&image[0x08], static_cast<std::uint16_t>(std::min<std::uint32_t>(fill, 0xFFFF)));
    storeLe16(&image[0x0A], static_cast<std::uint16_t>(page.entries.size()));
    image[0x0C] = page.level;
    image.resize(roundUpToUnit(stored), kPaddingByte);
    return true;
}

std::size_t prefixOf(const PageContent& page) {
    return kPageHeaderSize + (page.level > 0 ? 4 * page.entries.size() : 0);
}

// The entries' body encoded into `image` after the prefix, taking the bytes of the entries
// around the change from the old image's body. False when `old` or `changes` do not allow it.
bool spliceBody(const PageContent& page, const EntryChanges& changes, ByteView old, Bytes& image) {
    if (changes.unknown || changes.firstChanged == EntryChanges::kNone) return false;
    if (old.size() < kPageUnit || old[0x0C] != page.level) return false;
    const std::size_t stored = loadLe16(&old[0x04]);
    const std::size_t uncompressed = loadLe16(&old[0x06]);
    const std::size_t oldCount = loadLe16(&old[0x0A]);
    const std::size_t oldPrefix = kPageHeaderSize + (page.level > 0 ? 4 * oldCount : 0);
    if (stored < oldPrefix || stored > old.size() || uncompressed < stored) return false;
    const std::size_t count = page.entries.size();
    const std::size_t first = changes.firstChanged;
    const std::size_t tail = changes.unchangedTail;
    if (first > count || first > oldCount || tail > count - first || tail > oldCount - first)
        return false;

    thread_local Bytes expanded;
    ByteView body = old.subspan(oldPrefix, stored - oldPrefix);
    if (stored < uncompressed) {
        const std::size_t length = uncompressed - oldPrefix;
        if (expanded.size() < length) expanded.resize(length);
        if (!decompressBodyInto(body, std::span(expanded).first(length))) return false;
        body = ByteView(expanded).first(length);
    }
    thread_local std::vector<std::size_t> offsets;
    if (!entryOffsets(body, oldCount, offsets)) return false;

    // Entries before the change keep their bytes; the changed ones and the first unchanged one
    // after them (whose predecessor changed) are encoded; the rest keep their bytes.
    const std::size_t encodeEnd = tail == 0 ? count : count - tail + 1;
    const std::size_t keptFrom = tail == 0 ? oldCount : oldCount - tail + 1;
    const ByteView before = body.first(offsets[first]);
    image.insert(image.end(), before.begin(), before.end());
    const std::span<const Entry> encoded(page.entries.data() + first, encodeEnd - first);
    std::size_t room = 0;
    for (const Entry& e : encoded)
        room += 5 + e.size();
    encodeEntriesAfter(first == 0 ? nullptr : &page.entries[first - 1], encoded, image, room);
    const ByteView after = body.subspan(offsets[keptFrom]);
    image.insert(image.end(), after.begin(), after.end());
    return true;
}

}  // namespace

bool tryBuildPageImage(const PageContent& page, std::uint32_t fill, Bytes& image) {
    const std::size_t prefix = prefixOf(page);
    image.clear();
    image.reserve(prefix + fill);
    image.resize(prefix, 0);
    // The fill measure counts 13 for the page header, 4 per child and (5 + length) per entry.
    encodeEntries(page.entries, image, fill - prefix);
    return finishImage(page, fill, prefix, image);
}

bool tryRebuildPageImage(const PageContent& page, std::uint32_t fill, const EntryChanges& changes,
                         ByteView old, Bytes& image) {
    const std::size_t prefix = prefixOf(page);
    image.clear();
    image.reserve(prefix + fill);
    image.resize(prefix, 0);
    if (!spliceBody(page, changes, old, image)) return tryBuildPageImage(page, fill, image);
    return finishImage(page, fill, prefix, image);
}

void patchPageImage(Bytes& image, std::uint64_t ownOffset, std::span<const PageNumber> children) {
    storeLe32(&image[0x00], static_cast<std::uint32_t>(ownOffset));
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (children[i] < 0) storageFault(FaultCheck::kUnplacedPage);
        storeLe32(&image[kPageHeaderSize + 4 * i], static_cast<std::uint32_t>(children[i]));
    }
}

PageDefect parsePageImage(ByteView image, std::uint64_t expectedOffset, PageContent& out) {
    if (image.size() < kPageUnit || image.size() % kPageUnit != 0)
        return PageDefect::kSizeAgainstZone;
    if (loadLe32(&image[0x00]) != expectedOffset) return PageDefect::kOffsetField;
    const std::size_t stored = loadLe16(&image[0x04]);
    const std::size_t uncompressed = loadLe16(&image[0x06]);
    const std::size_t count = loadLe16(&image[0x0A]);
    const std::uint8_t level = image[0x0C];
    if (roundUpToUnit(stored) != image.size()) return PageDefect::kSizeAgainstZone;
    const std::size_t prefix = kPageHeaderSize + (level > 0 ? 4 * count : 0);
    if (stored < prefix || uncompressed < stored || stored > kMaxPageSize)
        return PageDefect::kLengths;
    out.level = level;
    out.children.clear();
    if (level > 0) {
        out.children.reserve(count);
        for (std::size_t i = 0; i < count; ++i)
            out.children.push_back(loadLe32(&image[kPageHeaderSize + 4 * i]));
    }
    ByteView storedBody = image.subspan(prefix, stored - prefix);
    // Expanded bodies are short-lived: one buffer per thread serves every page read.
    thread_local Bytes expanded;
    ByteView body = storedBody;
    if (stored < uncompressed) {
        const std::size_t length = uncompressed - prefix;
        if (expanded.size() < length) expanded.resize(length);
        if (!decompressBodyInto(storedBody, std::span(expanded).first(length)))
            return PageDefect::kDecompression;
        body = ByteView(expanded).first(length);
    }
    std::shared_ptr<std::uint8_t[]> block;
    if (!decodeEntries(body, count, out.entries, block)) return PageDefect::kEntryEncoding;
    out.blocks.assign(1, std::move(block));
    for (std::size_t i = 0; i < out.entries.size(); ++i) {
        const Entry& e = out.entries[i];
        if (level > 0 && e.keyLength() != e.size()) return PageDefect::kEntryEncoding;
        if (i > 0 && compareBytes(out.entries[i - 1].key(), e.key()) >= 0)
            return PageDefect::kEntryOrder;
    }
    const std::uint32_t fill = fillMeasure(out);
    if (fill != loadLe16(&image[0x08]) && fill < 0xFFFF) return PageDefect::kLengths;
    return PageDefect::kNone;
}

}  // namespace quillery::storage
