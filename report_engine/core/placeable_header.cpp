// Encoding and decoding the page image header.
#include "report_engine/core/placeable_header.h"

#include <vector>

#include "report_engine/core/byte_cursor.h"

namespace quillery::report {

std::uint16_t placeableChecksum(std::span<const std::uint8_t> bytes) {
    std::uint16_t sum = 0;
    for (std::size_t i = 0; i < 20; i += 2)
        sum ^= static_cast<std::uint16_t>(bytes[i] | (bytes[i + 1] << 8));
    return sum;
}

std::array<std::uint8_t, kPlaceableHeaderSize> encodePlaceableHeader(
    const PlaceableHeader& header) {
    std::vector<std::uint8_t> out;
    ByteWriter w(out);
    w.u32(kPlaceableKey);
    w.u16(0);
    w.i16(header.left);
    w.i16(header.top);
    w.i16(header.right);
    w.i16(header.bottom);
    w.u16(header.unitsPerInch);
    w.u32(0);
    w.u16(placeableChecksum(out));
    std::array<std::uint8_t, kPlaceableHeaderSize> bytes{};
    std::copy(out.begin(), out.end(), bytes.begin());
    return bytes;
}

std::optional<PlaceableHeader> decodePlaceableHeader(std::span<const std::uint8_t> bytes) {
    ByteReader r(bytes);
    std::uint32_t key = 0, reserved = 0;
    std::uint16_t handle = 0, checksum = 0;
    PlaceableHeader h;
    if (!(r.u32(key) && r.u16(handle) && r.i16(h.left) && r.i16(h.top) && r.i16(h.right) &&
          r.i16(h.bottom) && r.u16(h.unitsPerInch) && r.u32(reserved) && r.u16(checksum)))
        return std::nullopt;
    if (key != kPlaceableKey || h.right <= h.left || h.bottom <= h.top || h.unitsPerInch == 0)
        return std::nullopt;
    h.checksumMatched = checksum == placeableChecksum(bytes);
    return h;
}

}  // namespace quillery::report
