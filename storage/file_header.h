// The 512-byte header at the start of every data file.
//
//   offset  width       field
//   0x000   u32         block address: always 0
//   0x004   u16         block size: 0x200
//   0x006   u32         start of the pending log (file offset; the committed end of file)
//   0x00A   u32         end of the pending log (equal to the start when no commit is pending)
//   0x00E   4 bytes     magic "vElT"
//   0x012   u16         reserved, zero
//   0x014   4 bytes     last issued record/table number, big-endian
//   0x018   u32         change counter, incremented by every commit
//   0x01C   u32         page number of the root page
//   0x020   60 x u32    zone start: first page number of size class n (entry 0 unused)
//   0x110   60 x u32    zone end: one past the last page of size class n
//
// All integers little-endian except the issued number.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "storage/byte_order.h"
#include "storage/status.h"

namespace quillery::storage {

inline constexpr std::size_t kHeaderSize = 0x200;
inline constexpr std::uint64_t kPageAreaOffset = 0x200;
inline constexpr std::uint64_t kPageUnit = 0x100;
inline constexpr int kSizeClasses = 59;  // classes 1..59; index 0 of the zone arrays is unused
inline constexpr std::uint32_t kNoRoot = 0xFFFFFFFF;

// In memory page numbers are signed: new pages carry temporary negative numbers until placed.
using PageNumber = std::int64_t;

struct FileHeader {
    std::uint32_t logStart = 0;
    std::uint32_t logEnd = 0;
    std::array<std::uint8_t, 4> lastNumber{};
    std::uint32_t changeCounter = 0;
    PageNumber root = -1;
    std::array<std::uint32_t, 60> zoneStart{};
    std::array<std::uint32_t, 60> zoneEnd{};

    // Offset of the first byte past the highest non-empty zone.
    std::uint64_t committedEnd() const;
    bool zonesEmpty() const;
    // The size class whose zone holds page `p`, or 0 when none does.
    int classOf(PageNumber p) const;
};

inline std::uint64_t pageOffset(PageNumber p) {
    return kPageAreaOffset + kPageUnit * static_cast<std::uint64_t>(p);
}

// The header of a file that has never been written.
FileHeader freshHeader();

std::array<std::uint8_t, kHeaderSize> encodeHeader(const FileHeader& header);

// Reads the header bytes. A wrong magic or block size is error 36 "Invalid Data File".
Status decodeHeader(std::span<const std::uint8_t> bytes, FileHeader& out);

// Checks what the rest of the engine relies on: zones ascending and whole pages, the root
// inside zone space, the log fields inside the file. A violation is error 36.
Status validateHeader(const FileHeader& header, std::uint64_t fileSize);

}  // namespace quillery::storage
