// The standard metafile that follows the placeable header: the records this engine writes and
// its player reads, and the drawing objects they carry. All fields little-endian; coordinates
// are signed 16-bit page units.
//
// Metafile header record (18 bytes, no size/function prefix):
//   0 type (1)  2 header size in words (9)  4 version (0x0300)  6 file size in words (4 bytes)
//   10 number of object slots  12 largest record in words (4 bytes)  16 members (0)
//
// Every other record: size in 16-bit words (4 bytes, the size and function included), function
// (2 bytes), then its parameters:
//   SETMAPMODE          mode
//   SETWINDOWORG/EXT    y, x
//   SETBKMODE           mode (1 transparent)
//   SETTEXTALIGN        alignment bits
//   SETTEXTCOLOR        colour (red, green, blue, 0)
//   SELECTOBJECT        slot;  DELETEOBJECT  slot
//   CREATEPENINDIRECT   style, width x, width y, colour
//   CREATEBRUSHINDIRECT style, colour, hatch
//   CREATEFONTINDIRECT  height, width, escapement, orientation, weight, italic (1 byte),
//                       underline, strike-out, character set, output precision, clip precision,
//                       quality, pitch and family (1 byte each), face name (32 bytes, NUL-padded)
//   MOVETO / LINETO     y, x
//   RECTANGLE           bottom, right, top, left
//   EXTTEXTOUT          y, x, length, options, [left, top, right, bottom when clipped or opaque],
//                       text (length bytes, padded to even), [per-character advances]
//   TEXTOUT             length, text (padded to even), y, x
//   STRETCHDIB          raster operation (4 bytes), colour use, source height, source width,
//                       source y, source x, destination height, width, y, x, then the bitmap:
//                       a 40-byte info header (size, width, height (4 bytes each), planes, bits
//                       per pixel, compression (4), image size (4), x and y pixels per metre
//                       (4 each), colours used (4), colours important (4)), the palette, rows
//                       bottom-up, each padded to 4 bytes
//   EOF                 nothing
#pragma once

#include <cstdint>
#include <string>

namespace quillery::report {

enum class MetaFunction : std::uint16_t {
    Eof = 0x0000,
    SetBkMode = 0x0102,
    SetMapMode = 0x0103,
    SetTextAlign = 0x012E,
    SelectObject = 0x012D,
    DeleteObject = 0x01F0,
    SetTextColor = 0x0209,
    SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C,
    LineTo = 0x0213,
    MoveTo = 0x0214,
    CreatePenIndirect = 0x02FA,
    CreateFontIndirect = 0x02FB,
    CreateBrushIndirect = 0x02FC,
    Rectangle = 0x041B,
    TextOut = 0x0521,
    ExtTextOut = 0x0A32,
    StretchDib = 0x0F43,
};

inline constexpr std::uint16_t kMetafileVersion = 0x0300;
inline constexpr std::uint16_t kMetafileHeaderWords = 9;
inline constexpr std::uint16_t kMapModeAnisotropic = 8;
inline constexpr std::uint16_t kBkModeTransparent = 1;
inline constexpr std::uint32_t kRasterSourceCopy = 0x00CC0020;
inline constexpr std::size_t kFaceNameBytes = 32;
inline constexpr std::size_t kBitmapInfoHeaderBytes = 40;

namespace TextAlign {
inline constexpr std::uint16_t kLeft = 0;
inline constexpr std::uint16_t kRight = 2;
inline constexpr std::uint16_t kCenter = 6;
inline constexpr std::uint16_t kHorizontalMask = 6;
inline constexpr std::uint16_t kTop = 0;
inline constexpr std::uint16_t kBottom = 8;
inline constexpr std::uint16_t kBaseline = 24;
inline constexpr std::uint16_t kVerticalMask = 24;
}  // namespace TextAlign

namespace TextOption {
inline constexpr std::uint16_t kOpaque = 0x0002;
inline constexpr std::uint16_t kClipped = 0x0004;
}  // namespace TextOption

// A colour as red, green and blue; stored as the bytes R, G, B, 0.
struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

inline Rgb rgbOf(std::int32_t rrggbb) {
    return {static_cast<std::uint8_t>(rrggbb >> 16), static_cast<std::uint8_t>(rrggbb >> 8),
            static_cast<std::uint8_t>(rrggbb)};
}

enum class PenStyle : std::uint16_t { Solid = 0, Null = 5 };
enum class BrushStyle : std::uint16_t { Solid = 0, Null = 1 };

struct Pen {
    PenStyle style = PenStyle::Solid;
    std::int16_t width = 0;  // page units; 0 is the thinnest line the device draws
    Rgb color{};
    bool operator==(const Pen&) const = default;
};

struct Brush {
    BrushStyle style = BrushStyle::Solid;
    Rgb color{};
    bool operator==(const Brush&) const = default;
};

struct LogFont {
    std::int16_t height = 0;  // negative: the character height in page units
    std::int16_t weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::uint8_t charSet = 0;  // the program's texts are Windows-1252
    std::string faceName;      // at most 31 bytes are kept
    bool operator==(const LogFont&) const = default;
};

inline constexpr std::int16_t kWeightNormal = 400;
inline constexpr std::int16_t kWeightBold = 700;

}  // namespace quillery::report
