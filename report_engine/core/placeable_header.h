// The 22-byte header that opens every page image file and tells a reader the page's extent and
// scale. Little-endian:
//
//   offset  width  field
//        0      4  key 0x9AC6CDD7
//        4      2  handle, 0
//        6      2  left, 0
//        8      2  top, 0
//       10      2  right: page width in page units
//       12      2  bottom: page height in page units
//       14      2  page units per inch
//       16      4  reserved, 0
//       20      2  checksum: XOR of the ten 16-bit words before it
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace quillery::report {

inline constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
inline constexpr std::size_t kPlaceableHeaderSize = 22;

struct PlaceableHeader {
    std::int16_t left = 0;
    std::int16_t top = 0;
    std::int16_t right = 0;
    std::int16_t bottom = 0;
    std::uint16_t unitsPerInch = 0;
    bool checksumMatched = true;  // as read; a writer always writes the right one

    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

std::array<std::uint8_t, kPlaceableHeaderSize> encodePlaceableHeader(const PlaceableHeader& header);

// XOR of the first ten 16-bit words of `bytes`. Requires: at least 20 bytes.
std::uint16_t placeableChecksum(std::span<const std::uint8_t> bytes);

// The header at the start of `bytes`; nothing when the bytes are too few, the key is wrong, or
// the box or scale is empty. A wrong checksum is noted but accepted: the page is still played.
std::optional<PlaceableHeader> decodePlaceableHeader(std::span<const std::uint8_t> bytes);

}  // namespace quillery::report
