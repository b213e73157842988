// Reading page records.
#include "report_engine/core/metafile_reader.h"

#include <algorithm>
#include <climits>
#include <set>

#include "report_engine/core/byte_cursor.h"

namespace quillery::report {
namespace {

constexpr std::uint64_t kMaxBitmapPixels = 64u << 20;
constexpr std::size_t kMetafileHeaderBytes = 18;
constexpr std::uint32_t kMinimumRecordWords = 3;

bool readColor(ByteReader& r, Rgb& c) {
    std::uint8_t unused = 0;
    return r.u8(c.red) && r.u8(c.green) && r.u8(c.blue) && r.u8(unused);
}

bool readPoint(ByteReader& r, int& x, int& y) {
    std::int16_t y16 = 0, x16 = 0;
    if (!(r.i16(y16) && r.i16(x16))) return false;
    x = x16;
    y = y16;
    return true;
}

std::optional<LogFont> readFont(ByteReader& r) {
    LogFont f;
    std::int16_t width = 0, escapement = 0, orientation = 0;
    std::uint8_t italic = 0, underline = 0, strikeOut = 0, precision = 0, clip = 0, quality = 0,
                 family = 0;
    if (!(r.i16(f.height) && r.i16(width) && r.i16(escapement) && r.i16(orientation) &&
          r.i16(f.weight) && r.u8(italic) && r.u8(underline) && r.u8(strikeOut) &&
          r.u8(f.charSet) && r.u8(precision) && r.u8(clip) && r.u8(quality) && r.u8(family)))
        return std::nullopt;
    f.italic = italic != 0;
    f.underline = underline != 0;
    f.strikeOut = strikeOut != 0;
    // Writers differ in how much of the name they keep; it ends at its NUL or the record's end.
    std::span<const std::uint8_t> name;
    r.take(std::min(r.remaining(), kFaceNameBytes), name);
    for (std::uint8_t c : name) {
        if (c == 0) break;
        f.faceName.push_back(static_cast<char>(c));
    }
    return f;
}

// Drawing objects by slot, as the page's create, select and delete records leave them.
class ObjectTable {
  public:
    explicit ObjectTable(std::size_t slots) : limit_(slots) {}

    using Object = std::variant<LogFont, Pen, Brush>;

    void create(Object object) {
        std::size_t slot;
        if (!freed_.empty()) {
            slot = *freed_.begin();
            freed_.erase(freed_.begin());
        } else if (objects_.size() < limit_) {
            slot = objects_.size();
            objects_.emplace_back();
        } else {
            return;  // more objects than the header announced: left out
        }
        objects_[slot] = std::move(object);
    }
    const Object* at(std::uint16_t slot) const {
        if (slot >= objects_.size() || !objects_[slot]) return nullptr;
        return &*objects_[slot];
    }
    void remove(std::uint16_t slot) {
        if (slot >= objects_.size() || !objects_[slot]) return;
        objects_[slot].reset();
        freed_.insert(slot);
    }

  private:
    std::size_t limit_;
    std::vector<std::optional<Object>> objects_;
    std::set<std::size_t> freed_;
};

class RecordReader {
  public:
    RecordReader(PageImage& page, std::size_t slots) : page_(page), objects_(slots) {}

    // Reads one record's parameters; false when they are short or make no sense.
    bool read(MetaFunction function, ByteReader& r) {
        switch (function) {
            case MetaFunction::SetWindowOrg:
            case MetaFunction::SetWindowExt:
            case MetaFunction::MoveTo:
            case MetaFunction::LineTo:
                return point(function, r);
            case MetaFunction::SetTextAlign:
            case MetaFunction::SetBkMode:
            case MetaFunction::SelectObject:
            case MetaFunction::DeleteObject:
                return word(function, r);
            case MetaFunction::SetTextColor: {
                PageStep::TextColor step{};
                if (!readColor(r, step.color)) return false;
                return add(step);
            }
            case MetaFunction::CreateFontIndirect: {
                auto font = readFont(r);
                if (!font) return false;
                objects_.create(std::move(*font));
                return true;
            }
            case MetaFunction::CreatePenIndirect: {
                Pen pen;
                std::uint16_t style = 0;
                std::int16_t unused = 0;
                if (!(r.u16(style) && r.i16(pen.width) && r.i16(unused) && readColor(r, pen.color)))
                    return false;
                pen.style = style == static_cast<std::uint16_t>(PenStyle::Null) ? PenStyle::Null
                                                                                : PenStyle::Solid;
                objects_.create(pen);
                return true;
            }
            case MetaFunction::CreateBrushIndirect: {
                Brush brush;
                std::uint16_t style = 0;
                if (!(r.u16(style) && readColor(r, brush.color))) return false;
                brush.style = style == static_cast<std::uint16_t>(BrushStyle::Null)
                                  ? BrushStyle::Null
                                  : BrushStyle::Solid;
                objects_.create(brush);
                return true;
            }
            case MetaFunction::Rectangle: {
                std::int16_t bottom = 0, right = 0, top = 0, left = 0;
                if (!(r.i16(bottom) && r.i16(right) && r.i16(top) && r.i16(left))) return false;
                return add(PageStep::Rectangle{{left, top, right, bottom}});
            }
            case MetaFunction::ExtTextOut:
                return extTextOut(r);
            case MetaFunction::TextOut:
                return textOut(r);
            case MetaFunction::StretchDib:
                return stretchDib(r);
            default:
                return true;  // a record this player does not draw
        }
    }

  private:
    bool add(PageDrawStep step) {
        page_.steps.push_back(std::move(step));
        return true;
    }

    bool point(MetaFunction function, ByteReader& r) {
        int x = 0, y = 0;
        if (!readPoint(r, x, y)) return false;
        switch (function) {
            case MetaFunction::SetWindowOrg:
                return add(PageStep::WindowOrigin{x, y});
            case MetaFunction::SetWindowExt:
                return add(PageStep::WindowExtent{x, y});
            case MetaFunction::MoveTo:
                return add(PageStep::MoveTo{x, y});
            default:
                return add(PageStep::LineTo{x, y});
        }
    }

    bool word(MetaFunction function, ByteReader& r) {
        std::uint16_t value = 0;
        if (!r.u16(value)) return false;
        switch (function) {
            case MetaFunction::SetTextAlign:
                return add(PageStep::TextAlignment{value});
            case MetaFunction::SetBkMode:
                return add(PageStep::BackgroundMode{value});
            case MetaFunction::DeleteObject:
                objects_.remove(value);
                return true;
            default:
                break;
        }
        const ObjectTable::Object* object = objects_.at(value);
        if (!object) return false;
        if (auto* font = std::get_if<LogFont>(object)) return add(PageStep::SelectFont{*font});
        if (auto* pen = std::get_if<Pen>(object)) return add(PageStep::SelectPen{*pen});
        return add(PageStep::SelectBrush{std::get<Brush>(*object)});
    }

    bool text(int x, int y, std::optional<PageRect> clip, std::span<const std::uint8_t> bytes) {
        return add(PageStep::Text{x, y, clip, std::string(bytes.begin(), bytes.end())});
    }

    bool extTextOut(ByteReader& r) {
        int x = 0, y = 0;
        std::int16_t length = 0;
        std::uint16_t options = 0;
        if (!(readPoint(r, x, y) && r.i16(length) && r.u16(options)) || length < 0) return false;
        std::optional<PageRect> clip;
        if (options & (TextOption::kClipped | TextOption::kOpaque)) {
            std::int16_t left = 0, top = 0, right = 0, bottom = 0;
            if (!(r.i16(left) && r.i16(top) && r.i16(right) && r.i16(bottom))) return false;
            if (options & TextOption::kClipped) clip = PageRect{left, top, right, bottom};
        }
        std::span<const std::uint8_t> bytes;
        if (!r.take(static_cast<std::size_t>(length), bytes)) return false;
        return text(x, y, clip, bytes);
    }

    bool textOut(ByteReader& r) {
        std::int16_t length = 0;
        std::span<const std::uint8_t> bytes;
        int x = 0, y = 0;
        if (!r.i16(length) || length < 0) return false;
        if (!(r.take(static_cast<std::size_t>(length), bytes) && r.skip(length % 2) &&
              readPoint(r, x, y)))
            return false;
        return text(x, y, std::nullopt, bytes);
    }

    bool stretchDib(ByteReader& r) {
        std::uint32_t rop = 0;
        std::uint16_t colorUse = 0;
        std::int16_t v[8] = {};
        if (!(r.u32(rop) && r.u16(colorUse))) return false;
        for (auto& value : v) {
            if (!r.i16(value)) return false;
        }
        // Source height, width, y, x; destination height, width, y, x.
        std::span<const std::uint8_t> dib;
        if (!r.take(r.remaining(), dib)) return false;
        auto image = readDeviceIndependentBitmap(dib);
        if (!image) return false;
        const int height = v[4], width = v[5], top = v[6], left = v[7];
        return add(PageStep::Bitmap{{left, top, left + width, top + height}, std::move(*image)});
    }

    PageImage& page_;
    ObjectTable objects_;
};

std::uint32_t paletteColor(std::span<const std::uint8_t> palette, std::size_t index) {
    if (index * 4 + 3 > palette.size()) return 0xFF000000;
    const std::uint8_t* p = &palette[index * 4];
    return 0xFF000000u | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
}

}  // namespace

std::optional<RasterImage> readDeviceIndependentBitmap(std::span<const std::uint8_t> bytes) {
    ByteReader r(bytes);
    std::uint32_t headerSize = 0, compression = 0, imageSize = 0, colorsUsed = 0, important = 0;
    std::int32_t width = 0, height = 0, xPerMetre = 0, yPerMetre = 0;
    std::uint16_t planes = 0, bits = 0;
    if (!(r.u32(headerSize) && r.i32(width) && r.i32(height) && r.u16(planes) && r.u16(bits) &&
          r.u32(compression) && r.u32(imageSize) && r.i32(xPerMetre) && r.i32(yPerMetre) &&
          r.u32(colorsUsed) && r.u32(important)))
        return std::nullopt;
    if (headerSize < kBitmapInfoHeaderBytes || !r.skip(headerSize - kBitmapInfoHeaderBytes))
        return std::nullopt;
    if (compression != 0 || width <= 0 || height == 0 || height == INT32_MIN) return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;
    const bool bottomUp = height > 0;
    const std::uint64_t rows =
        bottomUp ? std::uint64_t(height) : std::uint64_t(-std::int64_t(height));
    const std::uint64_t pixels = std::uint64_t(width) * rows;
    if (pixels > kMaxBitmapPixels) return std::nullopt;

    std::span<const std::uint8_t> palette;
    if (bits <= 8) {
        const std::uint32_t full = 1u << bits;
        const std::uint32_t entries = colorsUsed == 0 || colorsUsed > full ? full : colorsUsed;
        if (!r.take(std::size_t{entries} * 4, palette)) return std::nullopt;
    }
    const std::uint64_t rowBytes = (std::uint64_t(width) * bits + 31) / 32 * 4;
    std::span<const std::uint8_t> data;
    if (rowBytes * rows > r.remaining() || !r.take(rowBytes * rows, data)) return std::nullopt;

    RasterImage image;
    image.width = width;
    image.height = static_cast<int>(rows);
    image.pixels.resize(pixels);
    for (std::uint64_t row = 0; row < rows; ++row) {
        const std::uint8_t* src = &data[row * rowBytes];
        const std::uint64_t y = bottomUp ? rows - 1 - row : row;
        std::uint32_t* out = &image.pixels[y * std::uint64_t(width)];
        for (std::int32_t x = 0; x < width; ++x) {
            switch (bits) {
                case 32:
                case 24: {
                    const std::uint8_t* p = src + std::size_t(x) * (bits / 8);
                    out[x] = 0xFF000000u | (std::uint32_t{p[2]} << 16) |
                             (std::uint32_t{p[1]} << 8) | p[0];
                    break;
                }
                case 8:
                    out[x] = paletteColor(palette, src[x]);
                    break;
                case 4:
                    out[x] = paletteColor(palette, (src[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F);
                    break;
                default:
                    out[x] = paletteColor(palette, (src[x / 8] >> (7 - x % 8)) & 1);
                    break;
            }
        }
    }
    return image;
}

std::optional<PageImage> readPageImage(std::span<const std::uint8_t> bytes) {
    auto header = decodePlaceableHeader(bytes);
    if (!header || bytes.size() < kPlaceableHeaderSize + kMetafileHeaderBytes) return std::nullopt;
    ByteReader r(bytes.subspan(kPlaceableHeaderSize));
    std::uint16_t type = 0, headerWords = 0, version = 0, objects = 0, members = 0;
    std::uint32_t fileWords = 0, largest = 0;
    if (!(r.u16(type) && r.u16(headerWords) && r.u16(version) && r.u32(fileWords) &&
          r.u16(objects) && r.u32(largest) && r.u16(members)))
        return std::nullopt;
    if ((type != 1 && type != 2) || headerWords != kMetafileHeaderWords) return std::nullopt;

    PageImage page;
    page.header = *header;
    page.damaged = !header->checksumMatched;
    RecordReader records(page, objects);
    bool ended = false;
    while (r.remaining() >= 6) {
        std::uint32_t words = 0;
        std::uint16_t function = 0;
        r.u32(words);
        r.u16(function);
        if (words < kMinimumRecordWords || std::uint64_t(words) * 2 - 6 > r.remaining()) break;
        std::span<const std::uint8_t> params;
        r.take(std::size_t(words) * 2 - 6, params);
        if (function == static_cast<std::uint16_t>(MetaFunction::Eof)) {
            ended = true;
            break;
        }
        ByteReader p(params);
        if (!records.read(static_cast<MetaFunction>(function), p)) page.damaged = true;
    }
    if (!ended) page.damaged = true;
    return page;
}

}  // namespace quillery::report
