// Reads a page image file into the drawing steps a player carries out. The bytes are untrusted:
// a damaged or cut-off file gives the steps that could be read before the damage, and nothing
// in it can make the reader read out of bounds, allocate without limit or loop.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "report_engine/core/metafile_records.h"
#include "report_engine/core/metafile_writer.h"
#include "report_engine/core/placeable_header.h"
#include "report_engine/core/raster_image.h"

namespace quillery::report {

namespace PageStep {
struct WindowOrigin {
    int x, y;
};
struct WindowExtent {
    int x, y;
};
struct SelectFont {
    LogFont font;
};
struct SelectPen {
    Pen pen;
};
struct SelectBrush {
    Brush brush;
};
struct TextAlignment {
    std::uint16_t align;
};
struct TextColor {
    Rgb color;
};
struct BackgroundMode {
    std::uint16_t mode;
};
struct MoveTo {
    int x, y;
};
struct LineTo {
    int x, y;
};
struct Rectangle {
    PageRect rect;
};
struct Text {
    int x, y;
    std::optional<PageRect> clip;
    std::string text;  // Windows-1252
};
struct Bitmap {
    PageRect target;
    RasterImage image;
};
}  // namespace PageStep

using PageDrawStep =
    std::variant<PageStep::WindowOrigin, PageStep::WindowExtent, PageStep::SelectFont,
                 PageStep::SelectPen, PageStep::SelectBrush, PageStep::TextAlignment,
                 PageStep::TextColor, PageStep::BackgroundMode, PageStep::MoveTo, PageStep::LineTo,
                 PageStep::Rectangle, PageStep::Text, PageStep::Bitmap>;

struct PageImage {
    PlaceableHeader header;
    std::vector<PageDrawStep> steps;
    // Something was wrong: a bad checksum, a record that could not be read, or the end record
    // missing. What was read before the damage is in `steps`.
    bool damaged = false;
};

// The page in `bytes`; nothing when they do not start with a page image's two headers.
std::optional<PageImage> readPageImage(std::span<const std::uint8_t> bytes);

// A bitmap as page images carry it (info header, palette, rows); nothing when it cannot be
// read whole.
std::optional<RasterImage> readDeviceIndependentBitmap(std::span<const std::uint8_t> bytes);

}  // namespace quillery::report
