// Writing page records.
#include "report_engine/core/metafile_writer.h"

#include <algorithm>
#include <limits>

#include "report_engine/core/byte_cursor.h"
#include "report_engine/core/placeable_header.h"

namespace quillery::report {
namespace {

// Record size and function come before the parameters.
constexpr std::size_t kRecordPrefixBytes = 6;

std::int16_t coordinate(int v) {
    return static_cast<std::int16_t>(std::clamp(v, -32767, 32767));
}

void putColor(ByteWriter& w, Rgb c) {
    w.u8(c.red);
    w.u8(c.green);
    w.u8(c.blue);
    w.u8(0);
}

void putRect(ByteWriter& w, const PageRect& r) {
    w.i16(coordinate(r.left));
    w.i16(coordinate(r.top));
    w.i16(coordinate(r.right));
    w.i16(coordinate(r.bottom));
}

// The object's creation record.
MetaFunction createFunction(const LogFont&) {
    return MetaFunction::CreateFontIndirect;
}
MetaFunction createFunction(const Pen&) {
    return MetaFunction::CreatePenIndirect;
}
MetaFunction createFunction(const Brush&) {
    return MetaFunction::CreateBrushIndirect;
}

void putObject(ByteWriter& w, const LogFont& f) {
    w.i16(f.height);
    w.i16(0);  // width: the face's own
    w.i16(0);  // escapement
    w.i16(0);  // orientation
    w.i16(f.weight);
    w.u8(f.italic ? 1 : 0);
    w.u8(f.underline ? 1 : 0);
    w.u8(f.strikeOut ? 1 : 0);
    w.u8(f.charSet);
    w.u8(0);  // output precision: default
    w.u8(0);  // clip precision: default
    w.u8(0);  // quality: default
    w.u8(0);  // pitch and family: default
    const std::string_view name = std::string_view(f.faceName).substr(0, kFaceNameBytes - 1);
    w.text(name);
    w.zeros(kFaceNameBytes - name.size());
}
void putObject(ByteWriter& w, const Pen& p) {
    w.u16(static_cast<std::uint16_t>(p.style));
    w.i16(p.width);
    w.i16(0);
    putColor(w, p.color);
}
void putObject(ByteWriter& w, const Brush& b) {
    w.u16(static_cast<std::uint16_t>(b.style));
    putColor(w, b.color);
    w.u16(0);  // hatch: none
}

// A 24-bit bitmap of `image`: info header, then rows bottom-up padded to 4 bytes.
std::vector<std::uint8_t> dibOf(const RasterImage& image) {
    const std::size_t rowBytes = (static_cast<std::size_t>(image.width) * 3 + 3) & ~std::size_t{3};
    std::vector<std::uint8_t> out;
    out.reserve(kBitmapInfoHeaderBytes + rowBytes * static_cast<std::size_t>(image.height));
    ByteWriter w(out);
    w.u32(kBitmapInfoHeaderBytes);
    w.i32(image.width);
    w.i32(image.height);
    w.u16(1);   // planes
    w.u16(24);  // bits per pixel
    w.u32(0);   // no compression
    w.u32(static_cast<std::uint32_t>(rowBytes * static_cast<std::size_t>(image.height)));
    w.i32(0);
    w.i32(0);
    w.u32(0);
    w.u32(0);
    // Filled in place: every page of a listing carries its header picture.
    const std::size_t start = out.size();
    out.resize(start + rowBytes * static_cast<std::size_t>(image.height));
    std::uint8_t* at = out.data() + start;
    for (int y = image.height - 1; y >= 0; --y, at += rowBytes) {
        const std::uint32_t* row = &image.pixels[static_cast<std::size_t>(y) * image.width];
        for (int x = 0; x < image.width; ++x) {
            at[3 * x] = static_cast<std::uint8_t>(row[x]);
            at[3 * x + 1] = static_cast<std::uint8_t>(row[x] >> 8);
            at[3 * x + 2] = static_cast<std::uint8_t>(row[x] >> 16);
        }
    }
    return out;
}

}  // namespace

MetafileWriter::MetafileWriter(int width, int height) {
    std::vector<std::uint8_t> p;
    ByteWriter w(p);
    w.u16(kMapModeAnisotropic);
    record(MetaFunction::SetMapMode, p);
    p.clear();
    w.i16(0);
    w.i16(0);
    record(MetaFunction::SetWindowOrg, p);
    p.clear();
    w.i16(coordinate(height));
    w.i16(coordinate(width));
    record(MetaFunction::SetWindowExt, p);
    p.clear();
    // Texts lie over boxes (the column headings over their grey band) without hiding them.
    w.u16(kBkModeTransparent);
    record(MetaFunction::SetBkMode, p);
}

void MetafileWriter::record(MetaFunction function, const std::vector<std::uint8_t>& params) {
    const std::size_t bytes = kRecordPrefixBytes + params.size();
    if (bytes > kMaxRecordBytes) {
        tooLarge_ = true;
        return;
    }
    const auto words = static_cast<std::uint32_t>((bytes + 1) / 2);
    largestRecordWords_ = std::max(largestRecordWords_, words);
    ByteWriter w(body_);
    w.u32(words);
    w.u16(static_cast<std::uint16_t>(function));
    w.bytes(params);
    if (params.size() % 2) w.u8(0);
}

int MetafileWriter::newSlot() {
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        if (!slots_[i]) return static_cast<int>(i);
    }
    slots_.emplace_back();
    return static_cast<int>(slots_.size() - 1);
}

void MetafileWriter::use(const Object& object, int& selected) {
    if (selected >= 0 && slots_[static_cast<std::size_t>(selected)] == object) return;
    int index = -1;
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        if (slots_[i] == object) index = static_cast<int>(i);
    }
    std::vector<std::uint8_t> p;
    ByteWriter w(p);
    if (index < 0) {
        std::visit([&](const auto& o) { putObject(w, o); }, object);
        record(std::visit([](const auto& o) { return createFunction(o); }, object), p);
        index = newSlot();
        slots_[static_cast<std::size_t>(index)] = object;
        p.clear();
    }
    w.u16(static_cast<std::uint16_t>(index));
    record(MetaFunction::SelectObject, p);
    selected = index;
}

void MetafileWriter::useFont(const LogFont& font) {
    use(font, selectedFont_);
}
void MetafileWriter::usePen(const Pen& pen) {
    use(pen, selectedPen_);
}
void MetafileWriter::useBrush(const Brush& brush) {
    use(brush, selectedBrush_);
}

void MetafileWriter::setTextAlign(std::uint16_t align) {
    if (textAlign_ == align) return;
    textAlign_ = align;
    std::vector<std::uint8_t> p;
    ByteWriter(p).u16(align);
    record(MetaFunction::SetTextAlign, p);
}

void MetafileWriter::setTextColor(Rgb color) {
    if (textColor_ == color) return;
    textColor_ = color;
    std::vector<std::uint8_t> p;
    ByteWriter w(p);
    putColor(w, color);
    record(MetaFunction::SetTextColor, p);
}

void MetafileWriter::line(int x1, int y1, int x2, int y2) {
    std::vector<std::uint8_t> p;
    ByteWriter w(p);
    w.i16(coordinate(y1));
    w.i16(coordinate(x1));
    record(MetaFunction::MoveTo, p);
    p.clear();
    w.i16(coordinate(y2));
    w.i16(coordinate(x2));
    record(MetaFunction::LineTo, p);
}

void MetafileWriter::rectangle(const PageRect& r) {
    std::vector<std::uint8_t> p;
    ByteWriter w(p);
    w.i16(coordinate(r.bottom));
    w.i16(coordinate(r.right));
    w.i16(coordinate(r.top));
    w.i16(coordinate(r.left));
    record(MetaFunction::Rectangle, p);
}

void MetafileWriter::text(int x, int y, std::string_view text,
                          const std::optional<PageRect>& clip) {
    if (text.empty()) return;
    text = text.substr(0, std::numeric_limits<std::int16_t>::max());
    std::vector<std::uint8_t> p;
    ByteWriter w(p);
    w.i16(coordinate(y));
    w.i16(coordinate(x));
    w.i16(static_cast<std::int16_t>(text.size()));
    w.u16(clip ? TextOption::kClipped : 0);
    if (clip) putRect(w, *clip);
    w.text(text);
    record(MetaFunction::ExtTextOut, p);
}

void MetafileWriter::bitmap(const PageRect& target, const RasterImage& image) {
    if (image.empty() ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height)
        return;
    const std::size_t rowBytes = (static_cast<std::size_t>(image.width) * 3 + 3) & ~std::size_t{3};
    if (rowBytes * static_cast<std::size_t>(image.height) > kMaxRecordBytes) {
        tooLarge_ = true;
        return;
    }
    std::vector<std::uint8_t> p;
    ByteWriter w(p);
    w.u32(kRasterSourceCopy);
    w.u16(0);  // colours are RGB values
    w.i16(coordinate(image.height));
    w.i16(coordinate(image.width));
    w.i16(0);
    w.i16(0);
    w.i16(coordinate(target.bottom - target.top));
    w.i16(coordinate(target.right - target.left));
    w.i16(coordinate(target.top));
    w.i16(coordinate(target.left));
    w.bytes(dibOf(image));
    record(MetaFunction::StretchDib, p);
}

std::vector<std::uint8_t> MetafileWriter::finish() {
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        if (!slots_[i]) continue;
        std::vector<std::uint8_t> p;
        ByteWriter(p).u16(static_cast<std::uint16_t>(i));
        record(MetaFunction::DeleteObject, p);
    }
    record(MetaFunction::Eof, {});
    std::vector<std::uint8_t> out;
    out.reserve(2 * kMetafileHeaderWords + body_.size());
    ByteWriter w(out);
    w.u16(1);  // kept in memory before it was written out
    w.u16(kMetafileHeaderWords);
    w.u16(kMetafileVersion);
    w.u32(static_cast<std::uint32_t>(kMetafileHeaderWords + body_.size() / 2));
    w.u16(static_cast<std::uint16_t>(slots_.size()));
    w.u32(largestRecordWords_);
    w.u16(0);
    w.bytes(body_);
    body_.clear();
    slots_.clear();
    return out;
}

std::vector<std::uint8_t> pageImageBytes(int width, int height, int unitsPerInch,
                                         const std::vector<std::uint8_t>& metafile) {
    PlaceableHeader header;
    header.right = coordinate(width);
    header.bottom = coordinate(height);
    header.unitsPerInch = static_cast<std::uint16_t>(unitsPerInch);
    const auto head = encodePlaceableHeader(header);
    std::vector<std::uint8_t> out(head.size() + metafile.size());
    std::copy(head.begin(), head.end(), out.begin());
    std::copy(metafile.begin(), metafile.end(),
              out.begin() + static_cast<std::ptrdiff_t>(head.size()));
    return out;
}

}  // namespace quillery::report
