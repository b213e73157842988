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

bool tryBuildPageImage(const PageContent& page, std::uint32_t fill, Bytes& image) {
    const std::size_t childBytes = page.level > 0 ? 4 * page.entries.size() : 0;
    const std::size_t prefix = kPageHeaderSize + childBytes;
    image.clear();
    image.reserve(prefix + fill);
    image.resize(prefix, 0);
    // The fill measure counts 13 for the page header, 4 per child and (5 + length) per entry.
    encodeEntries(page.entries, image, fill - kPageHeaderSize - childBytes);
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
    storeLe16(&image[0x08],
              static_cast<std::uint16_t>(std::min<std::uint32_t>(fill, 0xFFFF)));
    storeLe16(&image[0x0A], static_cast<std::uint16_t>(page.entries.size()));
    image[0x0C] = page.level;
    image.resize(roundUpToUnit(stored), kPaddingByte);
    return true;
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
