// Run-length compression of a page body. The body is a sequence of literal stretches and runs:
//
//   varint L, L literal bytes, varint R (R more copies of the last literal), ...,
//   varint L (final literal count, possibly 0), L literal bytes
//
// Counts are base-128 varints, least significant group first, 0x80 marking "more follows".
// Only runs of 4 or more equal bytes are encoded; the run's first byte is the last literal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quillery::storage {

void appendVarint(std::vector<std::uint8_t>& out, std::uint32_t value);

// The compressed form of `body`, or nothing when the body holds no run of 4 equal bytes.
std::optional<std::vector<std::uint8_t>> compressBody(std::span<const std::uint8_t> body);
// The same into `out` (replacing what it held), reusing its room; false for no run.
bool compressBodyInto(std::span<const std::uint8_t> body, std::vector<std::uint8_t>& out);

// Expands `stored` into exactly `length` bytes appended to `out`. Returns false when the stored
// bytes are malformed (a count past the end, a repeat with nothing before it, too short, bytes
// left over).
bool decompressBody(std::span<const std::uint8_t> stored, std::size_t length,
                    std::vector<std::uint8_t>& out);
// Expands `stored` into exactly all of `out`; false as above.
bool decompressBodyInto(std::span<const std::uint8_t> stored, std::span<std::uint8_t> out);

}  // namespace quillery::storage
