// Joins single-image icon files written by Qt into one multi-size icon file.
//
// Icon file layout (all numbers little-endian):
//   offset 0  u16 reserved (0)
//   offset 2  u16 type (1 = icon)
//   offset 4  u16 number of images N
//   offset 6  N directory entries of 16 bytes:
//             u8 width, u8 height, u8 colour count, u8 reserved, u16 planes, u16 bits per pixel,
//             u32 size of the image data, u32 offset of the image data from the file start
//   then the image data blocks.
#include "support/artwork/icon_file.h"

#include <QBuffer>
#include <QImageWriter>
#include <cstdint>

namespace quillery::artwork {
namespace {

constexpr int kHeaderSize = 6;
constexpr int kEntrySize = 16;

std::uint32_t readU16(const QByteArray& bytes, int at) {
    return std::uint8_t(bytes[at]) | std::uint32_t(std::uint8_t(bytes[at + 1])) << 8;
}

std::uint32_t readU32(const QByteArray& bytes, int at) {
    return readU16(bytes, at) | readU16(bytes, at + 2) << 16;
}

void appendU16(QByteArray& bytes, std::uint32_t value) {
    bytes.append(char(value & 0xff));
    bytes.append(char((value >> 8) & 0xff));
}

void appendU32(QByteArray& bytes, std::uint32_t value) {
    appendU16(bytes, value & 0xffff);
    appendU16(bytes, value >> 16);
}

struct SingleIcon {
    QByteArray entry;  // the 16-byte directory entry, offset field still the original one
    QByteArray data;
};

std::optional<SingleIcon> writeSingleIcon(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "ico");
    if (!writer.write(image)) return std::nullopt;

    if (bytes.size() < kHeaderSize + kEntrySize) return std::nullopt;
    if (readU16(bytes, 0) != 0 || readU16(bytes, 2) != 1 || readU16(bytes, 4) != 1) {
        return std::nullopt;
    }
    const std::uint32_t size = readU32(bytes, kHeaderSize + 8);
    const std::uint32_t offset = readU32(bytes, kHeaderSize + 12);
    if (offset < std::uint32_t(kHeaderSize + kEntrySize) || offset > std::uint32_t(bytes.size()) ||
        size > std::uint32_t(bytes.size()) - offset) {
        return std::nullopt;
    }
    return SingleIcon{bytes.mid(kHeaderSize, kEntrySize), bytes.mid(offset, size)};
}

}  // namespace

std::optional<QByteArray> encodeIconFile(const QList<QImage>& images) {
    QList<SingleIcon> icons;
    for (const QImage& image : images) {
        if (image.width() > 256 || image.height() > 256) return std::nullopt;
        std::optional<SingleIcon> icon = writeSingleIcon(image);
        if (!icon) return std::nullopt;
        icons.append(*icon);
    }

    QByteArray file;
    appendU16(file, 0);
    appendU16(file, 1);
    appendU16(file, icons.size());
    std::uint32_t offset = kHeaderSize + kEntrySize * icons.size();
    for (const SingleIcon& icon : icons) {
        file.append(icon.entry.left(12));
        appendU32(file, offset);
        offset += icon.data.size();
    }
    for (const SingleIcon& icon : icons)
        file.append(icon.data);
    return file;
}

}  // namespace quillery::artwork
