// Encoding, decoding and validation of the data file header.
#include "storage/file_header.h"

#include <cstring>

#include "runtime/errors.h"

namespace quillery::storage {
namespace {

constexpr std::uint8_t kMagic[4] = {'v', 'E', 'l', 'T'};
// The largest page number whose page still ends inside a 32-bit file offset.
constexpr std::uint64_t kMaxPageUnits = (0xFFFFFFFFull - kPageAreaOffset) / kPageUnit;

Status invalid(const char* why) {
    return Status::error(ErrorCode::kInvalidDataFile, why);
}

}  // namespace

std::uint64_t FileHeader::committedEnd() const {
    for (int n = kSizeClasses; n >= 1; --n)
        if (zoneStart[n] != zoneEnd[n]) return pageOffset(zoneEnd[n]);
    return kPageAreaOffset;
}

bool FileHeader::zonesEmpty() const {
    for (int n = 1; n <= kSizeClasses; ++n)
        if (zoneStart[n] != zoneEnd[n]) return false;
    return true;
}

int FileHeader::classOf(PageNumber p) const {
    if (p < 0) return 0;
    for (int n = 1; n <= kSizeClasses; ++n)
        if (zoneStart[n] <= p && p < zoneEnd[n]) return n;
    return 0;
}

FileHeader freshHeader() {
    return FileHeader{};
}

std::array<std::uint8_t, kHeaderSize> encodeHeader(const FileHeader& h) {
    std::array<std::uint8_t, kHeaderSize> b{};
    storeLe32(&b[0x00], 0);
    storeLe16(&b[0x04], static_cast<std::uint16_t>(kHeaderSize));
    storeLe32(&b[0x06], h.logStart);
    storeLe32(&b[0x0A], h.logEnd);
    std::memcpy(&b[0x0E], kMagic, 4);
    storeLe16(&b[0x12], 0);
    std::memcpy(&b[0x14], h.lastNumber.data(), 4);
    storeLe32(&b[0x18], h.changeCounter);
    storeLe32(&b[0x1C], static_cast<std::uint32_t>(h.root));
    for (int n = 0; n < 60; ++n) {
        storeLe32(&b[0x20 + 4 * n], h.zoneStart[n]);
        storeLe32(&b[0x110 + 4 * n], h.zoneEnd[n]);
    }
    return b;
}

Status decodeHeader(std::span<const std::uint8_t> b, FileHeader& out) {
    if (b.size() < kHeaderSize)
        return invalid("not a data file: shorter than a data file's header");
    if (std::memcmp(&b[0x0E], kMagic, 4) != 0)
        return invalid("not a data file: no data file's header at its start");
    if (loadLe16(&b[0x04]) != kHeaderSize) return invalid("damaged header: block size");
    FileHeader h;
    h.logStart = loadLe32(&b[0x06]);
    h.logEnd = loadLe32(&b[0x0A]);
    std::memcpy(h.lastNumber.data(), &b[0x14], 4);
    h.changeCounter = loadLe32(&b[0x18]);
    const std::uint32_t root = loadLe32(&b[0x1C]);
    h.root = root == kNoRoot ? -1 : static_cast<PageNumber>(root);
    for (int n = 0; n < 60; ++n) {
        h.zoneStart[n] = loadLe32(&b[0x20 + 4 * n]);
        h.zoneEnd[n] = loadLe32(&b[0x110 + 4 * n]);
    }
    out = h;
    return Status::success();
}

Status validateHeader(const FileHeader& h, std::uint64_t fileSize) {
    std::uint64_t previousEnd = 0;
    for (int n = 1; n <= kSizeClasses; ++n) {
        const std::uint64_t s = h.zoneStart[n], e = h.zoneEnd[n];
        if (s > e || e > kMaxPageUnits) return invalid("damaged header: zone bounds");
        if ((e - s) % static_cast<std::uint64_t>(n) != 0)
            return invalid("damaged header: zone not whole pages");
        if (s < previousEnd) return invalid("damaged header: zones out of order");
        previousEnd = e;
    }
    if (h.lastNumber[0] >= 0xFE) return invalid("damaged header: issued number");
    const std::uint64_t end = h.committedEnd();
    if (h.root < 0) {
        // Only a header that was never committed may lack a placed root.
        if (!h.zonesEmpty()) return invalid("damaged header: root");
    } else if (h.classOf(h.root) == 0) {
        return invalid("damaged header: root outside the zones");
    }
    if (h.logEnd > fileSize) return invalid("cut short: the file ends before its header says");
    if (h.logStart > h.logEnd) return invalid("damaged header: log fields");
    if (h.logStart != h.logEnd) {
        if (h.logStart < end || (h.logStart - kPageAreaOffset) % kPageUnit != 0)
            return invalid("damaged header: log start");
    }
    if (!h.zonesEmpty() && end > fileSize)
        return invalid("cut short: the file ends before its last pages");
    return Status::success();
}

}  // namespace quillery::storage
