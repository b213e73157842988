// Records one page as a standard metafile: the drawing calls of the page composer become
// records, and the drawing objects they need are created once per page and selected as needed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "report_engine/core/metafile_records.h"
#include "report_engine/core/raster_image.h"

namespace quillery::report {

// A record may not exceed this many bytes; the player refuses larger ones as damage.
inline constexpr std::size_t kMaxRecordBytes = 64u << 20;

struct PageRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class MetafileWriter {
  public:
    // Starts a page whose logical coordinates run from (0, 0) to (width, height).
    MetafileWriter(int width, int height);

    void useFont(const LogFont& font);
    void usePen(const Pen& pen);
    void useBrush(const Brush& brush);
    void setTextAlign(std::uint16_t align);
    void setTextColor(Rgb color);

    void line(int x1, int y1, int x2, int y2);
    // Drawn with the current pen and filled with the current brush.
    void rectangle(const PageRect& r);
    // `text` (Windows-1252) at (x, y) as the text alignment places it, cut to `clip` if given.
    void text(int x, int y, std::string_view text, const std::optional<PageRect>& clip);
    // The picture stretched over `target`.
    void bitmap(const PageRect& target, const RasterImage& image);

    // True once a record was refused for its size; the refused record is left out.
    bool recordTooLarge() const { return tooLarge_; }

    // Ends the page: releases its objects, writes the end record and the metafile header.
    // Returns the metafile's bytes; the writer is spent afterwards.
    std::vector<std::uint8_t> finish();

  private:
    using Object = std::variant<LogFont, Pen, Brush>;

    // Appends a record of `function` whose parameters `params` holds.
    void record(MetaFunction function, const std::vector<std::uint8_t>& params);
    // Selects `object`, creating it in the lowest free slot the first time the page needs it.
    void use(const Object& object, int& selected);
    int newSlot();

    std::vector<std::uint8_t> body_;
    std::vector<std::optional<Object>> slots_;
    int selectedFont_ = -1;
    int selectedPen_ = -1;
    int selectedBrush_ = -1;
    std::optional<std::uint16_t> textAlign_;
    std::optional<Rgb> textColor_;
    std::uint32_t largestRecordWords_ = 0;
    bool tooLarge_ = false;
};

// The bytes of a page image file: the placeable header for a page of `width` by `height` page
// units at `unitsPerInch`, then `metafile`.
std::vector<std::uint8_t> pageImageBytes(int width, int height, int unitsPerInch,
                                         const std::vector<std::uint8_t>& metafile);

}  // namespace quillery::report
