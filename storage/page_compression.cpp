// Run-length compression and expansion of page bodies.
#include "storage/page_compression.h"

#include <bit>
#include <cstring>

namespace quillery::storage {
namespace {

constexpr std::size_t kShortestRun = 4;

// The first position at or after `from` where `kShortestRun` equal bytes begin, or the body's
// size. Page bodies are mostly text without runs, so eight starting positions are tested at
// once: byte j of `differ` is zero exactly when bytes j..j+3 are equal, and the lowest zero byte
// of a word is found without a false hit (a borrow only disturbs bytes above a zero byte).
std::size_t nextRun(std::span<const std::uint8_t> body, std::size_t from) {
    const std::size_t n = body.size();
    const std::uint8_t* p = body.data();
    std::size_t i = from;
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kOnes = 0x0101010101010101ull;
        constexpr std::uint64_t kHighs = 0x8080808080808080ull;
        for (; i + 8 + kShortestRun - 1 <= n; i += 8) {
            std::uint64_t a, b, c, d;
            std::memcpy(&a, p + i, 8);
            std::memcpy(&b, p + i + 1, 8);
            std::memcpy(&c, p + i + 2, 8);
            std::memcpy(&d, p + i + 3, 8);
            const std::uint64_t differ = (a ^ b) | (a ^ c) | (a ^ d);
            const std::uint64_t zeros = (differ - kOnes) & ~differ & kHighs;
            if (zeros != 0) return i + static_cast<std::size_t>(std::countr_zero(zeros)) / 8;
        }
    }
    for (; i + kShortestRun <= n; ++i)
        if (p[i] == p[i + 1] && p[i] == p[i + 2] && p[i] == p[i + 3]) return i;
    return n;
}

// Reads a varint at `at`; false when it runs off the end or is longer than 32 bits need.
bool readVarint(std::span<const std::uint8_t> in, std::size_t& at, std::uint64_t& value) {
    value = 0;
    for (int shift = 0; shift <= 28; shift += 7) {
        if (at >= in.size()) return false;
        const std::uint8_t b = in[at++];
        value |= static_cast<std::uint64_t>(b & 0x7F) << shift;
        if ((b & 0x80) == 0) return true;
    }
    return false;
}

}  // namespace

void appendVarint(std::vector<std::uint8_t>& out, std::uint32_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<std::uint8_t>((value & 0x7F) | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<std::uint8_t>(value));
}

std::optional<std::vector<std::uint8_t>> compressBody(std::span<const std::uint8_t> body) {
    std::vector<std::uint8_t> out;
    if (!compressBodyInto(body, out)) return std::nullopt;
    return out;
}

bool compressBodyInto(std::span<const std::uint8_t> body, std::vector<std::uint8_t>& out) {
    out.clear();
    std::size_t i = nextRun(body, 0);
    if (i == body.size()) return false;
    out.reserve(body.size());
    std::size_t lastRunEnd = 0;
    while (i < body.size()) {
        std::size_t r = kShortestRun;
        while (i + r < body.size() && body[i + r] == body[i])
            ++r;
        appendVarint(out, static_cast<std::uint32_t>(i + 1 - lastRunEnd));
        out.insert(out.end(), body.begin() + static_cast<std::ptrdiff_t>(lastRunEnd),
                   body.begin() + static_cast<std::ptrdiff_t>(i + 1));
        appendVarint(out, static_cast<std::uint32_t>(r - 1));
        lastRunEnd = i + r;
        i = nextRun(body, lastRunEnd);
    }
    appendVarint(out, static_cast<std::uint32_t>(body.size() - lastRunEnd));
    out.insert(out.end(), body.begin() + static_cast<std::ptrdiff_t>(lastRunEnd), body.end());
    return true;
}

bool decompressBody(std::span<const std::uint8_t> in, std::size_t length,
                    std::vector<std::uint8_t>& out) {
    const std::size_t start = out.size();
    out.resize(start + length);
    if (decompressBodyInto(in, std::span(out).subspan(start))) return true;
    out.resize(start);
    return false;
}

bool decompressBodyInto(std::span<const std::uint8_t> in, std::span<std::uint8_t> out) {
    const std::size_t length = out.size();
    std::uint8_t* const base = out.data();
    std::size_t filled = 0;
    std::size_t at = 0;
    while (true) {
        std::uint64_t literals = 0;
        if (!readVarint(in, at, literals)) return false;
        if (literals > length - filled || literals > in.size() - at) return false;
        if (literals != 0) std::memcpy(base + filled, in.data() + at, literals);
        filled += literals;
        at += literals;
        if (filled == length) return at == in.size();
        std::uint64_t repeats = 0;
        if (!readVarint(in, at, repeats)) return false;
        if (filled == 0 || repeats > length - filled) return false;
        std::memset(base + filled, base[filled - 1], repeats);
        filled += repeats;
        if (filled == length) {
            // The stream still closes with its final literal count, zero here.
            std::uint64_t last = 0;
            return readVarint(in, at, last) && last == 0 && at == in.size();
        }
    }
}

}  // namespace quillery::storage
