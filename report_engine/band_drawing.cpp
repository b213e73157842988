// Rendering report bands and recording them onto pages.
#include "report_engine/band_drawing.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "runtime/picture.h"
#include "runtime/window/picture_files.h"
#include "runtime/window/screen_text.h"
#include "runtime/window/use_format.h"
#include "runtime/window/window_font.h"

namespace quillery::report {
namespace {

constexpr int kThousandthsPerInch = 1000;
constexpr int kPointsPerInch = 72;
// Pictures are kept at no more than this many dots per inch of the page: plenty for paper,
// and it keeps a page image small.
constexpr int kPictureDotsPerInch = 300;
// Lines and box borders: half a point.
constexpr int kLineThousandths = 7;

FontChoice effectiveFont(const FontChoice& own, const FontChoice& report) {
    if (own.family.empty() && own.points == 0 && own.style == 0 && own.color == kNoColor)
        return report;
    FontChoice font = own;
    if (font.family.empty()) font.family = report.family;
    if (font.points == 0) font.points = report.points;
    if (font.color == kNoColor) font.color = report.color;
    return font;
}

// A font measured in thousandths of an inch, with the advance of each of the 256 characters a
// text can hold. A report uses a handful of fonts for every band it renders, and finding a font
// is slow: they are kept.
struct MeasuringFont {
    explicit MeasuringFont(const QFont& font) : metrics(font) {
        for (int c = 0; c < 256; ++c) {
            const char byte = static_cast<char>(c);
            advance[static_cast<std::size_t>(c)] =
                metrics.horizontalAdvance(toScreen(std::string_view(&byte, 1)));
        }
    }
    // The width without shaping: close enough to tell whether a text fits, never to place it.
    double roughWidth(std::string_view text) const {
        double width = 0;
        for (const char c : text)
            width += advance[static_cast<unsigned char>(c)];
        return width;
    }
    // Whether `text` fits `width` with room for kerning and the printer's own letter widths.
    bool roughWidthFits(std::string_view text, int width) const {
        constexpr double kSlack = 1.05;
        return roughWidth(text) * kSlack <= width;
    }
    QFontMetricsF metrics;
    std::array<double, 256> advance{};
};

const MeasuringFont& measuringFont(const FontChoice& font) {
    using Key = std::tuple<std::string, int, unsigned>;
    thread_local std::map<Key, MeasuringFont> kept;
    Key key{std::string(font.family), font.points, font.style};
    if (auto found = kept.find(key); found != kept.end()) return found->second;
    QFont measured = fontOf(FontChoice{font.family, 0, font.style, kNoColor}, QFont());
    measured.setPixelSize(std::max(1, font.points * kThousandthsPerInch / kPointsPerInch));
    return kept.emplace(std::move(key), MeasuringFont(measured)).first->second;
}

// Whether `lines` lie wholly inside a box of `at`, with room for kerning and the printer's own
// letter widths: such texts need no clipping, which is costly to print.
bool linesFit(const std::vector<std::string>& lines, const MeasuringFont& font, int lineHeight,
              const Rect& at) {
    if (static_cast<long long>(lines.size()) * lineHeight > at.height) return false;
    return std::all_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return font.roughWidthFits(line, at.width);
    });
}

std::string controlText(const ControlLayout& control, std::span<const UseVariable> uses) {
    const auto index = static_cast<std::size_t>(control.use);
    if (control.use > 0 && index <= uses.size() && uses[index - 1].bound())
        return formatUse(uses[index - 1], control.picture);
    return std::string(control.text);
}

std::string clipped(std::string text) {
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

// Breaks `text` at blanks into the lines that fit `width`; a word wider than the line stands
// alone and is cut at the control's edge when drawn.
std::vector<std::string> wrap(const std::string& text, const MeasuringFont& font, int width,
                              std::size_t maxLines) {
    std::vector<std::string> lines;
    // Measured by the letters' own widths: shaping every longer candidate line again would
    // cost more than the whole rest of a band, and a line drawn a little wider than measured
    // is still cut at the control's edge, its beginning kept.
    auto fitsLine = [&](const std::string& candidate) {
        return font.roughWidth(candidate) <= width;
    };
    // Most texts are one short line with single blanks: measured once.
    if (const std::string line = clipped(text);
        maxLines > 0 && line.find_first_of("\r\n") == std::string::npos &&
        line.find("  ") == std::string::npos && (line.empty() || line.front() != ' ') &&
        fitsLine(line)) {
        if (!line.empty()) lines.push_back(line);
        return lines;
    }
    std::string line;
    std::size_t at = 0;
    while (at < text.size() && lines.size() < maxLines) {
        if (text[at] == '\r' || text[at] == '\n') {
            lines.push_back(clipped(line));
            line.clear();
            at += (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ? 2 : 1;
            continue;
        }
        const std::size_t end = std::min(text.find_first_of(" \r\n", at), text.size());
        const std::string word = text.substr(at, end - at);
        const std::string joined = line.empty() ? word : line + " " + word;
        if (!line.empty() && !fitsLine(joined)) {
            lines.push_back(line);
            line = word;
        } else {
            line = joined;
        }
        at = end;
        while (at < text.size() && text[at] == ' ')
            ++at;
    }
    if (!line.empty() && lines.size() < maxLines) lines.push_back(clipped(line));
    return lines;
}

bool lineFits(std::string_view text, const FontChoice& font, int width) {
    return measuringFont(font).roughWidthFits(text, width);
}

// A one-line value wider than its box never loses its beginning, however it is aligned: it is
// drawn a point or two smaller, down to two thirds of its size (never below 7 points), and what
// still does not fit is cut at its end, an ellipsis showing the cut.
void fitOneLine(TextLines& text, std::string value) {
    constexpr double kSmallestShare = 2.0 / 3.0;
    constexpr int kSmallestPoints = 7;
    constexpr char kEllipsis[] = "\x85";  // in the program's single-byte text
    const int width = text.at.width;
    const int smallest = std::min(
        text.font.points,
        std::max(kSmallestPoints, static_cast<int>(std::ceil(text.font.points * kSmallestShare))));
    while (!lineFits(value, text.font, width) && text.font.points > smallest)
        --text.font.points;
    if (!lineFits(value, text.font, width)) {
        while (!value.empty() && !lineFits(value + kEllipsis, text.font, width))
            value.pop_back();
        value = clipped(std::move(value)) + kEllipsis;
    }
    text.lines.push_back(std::move(value));
    // Measured with room to spare: drawn without clipping, which is costly to print.
    text.fits = linesFit(text.lines, measuringFont(text.font), text.lineHeight, text.at);
}

TextLines textOf(const ControlLayout& control, const BandContext& context) {
    TextLines text;
    text.at = control.at;
    text.font = effectiveFont(control.font, context.reportFont);
    text.align = control.flags & (ControlFlag::kRight | ControlFlag::kCenter);
    const MeasuringFont& font = measuringFont(text.font);
    const QFontMetricsF& metrics = font.metrics;
    text.lineHeight = static_cast<int>(std::lround(metrics.lineSpacing()));
    if (control.flags & ControlFlag::kPageNumber) {
        text.isPageNumber = true;
        text.pageNumberPicture = control.picture;
        return text;
    }
    const std::string value = controlText(control, context.uses);
    if (control.kind == ControlKind::Text) {
        const std::size_t fit =
            static_cast<std::size_t>(std::max(1, control.at.height / std::max(1, text.lineHeight)));
        text.lines = wrap(value, font, control.at.width, fit);
        text.fits = linesFit(text.lines, font, text.lineHeight, control.at);
    } else if (control.use > 0) {
        fitOneLine(text, clipped(value));
    } else {
        // A caption of the layout is drawn as laid out.
        text.lines.push_back(value);
        text.fits = linesFit(text.lines, font, text.lineHeight, control.at);
    }
    return text;
}

ImageDrawing imageOf(const ControlLayout& control, const BandContext& context) {
    const std::string name = control.use > 0
                                 ? controlText(control, context.uses)
                                 : std::string(control.text.empty() ? control.icon : control.text);
    const int width = control.at.width * kPictureDotsPerInch / kThousandthsPerInch;
    const int height = control.at.height * kPictureDotsPerInch / kThousandthsPerInch;
    return ImageDrawing{control.at, context.pictures.get(name, width, height)};
}

Rgb colorOr(std::int32_t color, std::int32_t otherwise) {
    return rgbOf(color == kNoColor ? otherwise : color);
}

PageRect pageRect(const Rect& at, int x, int y, const PageGeometry& g) {
    return {g.pageX(x + at.x), g.pageY(y + at.y), g.pageX(x + at.x + at.width),
            g.pageY(y + at.y + at.height)};
}

LogFont logFontOf(const FontChoice& font, const PageGeometry& g) {
    LogFont logFont;
    logFont.height = static_cast<std::int16_t>(
        -std::max(1, (font.points * g.unitsPerInch + kPointsPerInch / 2) / kPointsPerInch));
    logFont.weight = (font.style & FontStyle::kBold) ? kWeightBold : kWeightNormal;
    logFont.italic = font.style & FontStyle::kItalic;
    logFont.underline = font.style & FontStyle::kUnderline;
    logFont.faceName = std::string(font.family);
    return logFont;
}

struct ItemDrawer {
    int x, y, pageNumber;
    const PageGeometry& g;
    MetafileWriter& page;

    Pen thinPen(std::int32_t color) const {
        return Pen{PenStyle::Solid,
                   static_cast<std::int16_t>(std::max(1, g.units(kLineThousandths))),
                   colorOr(color, 0x000000)};
    }

    void operator()(const TextLines& text) const {
        const PageRect box = pageRect(text.at, x, y, g);
        page.useFont(logFontOf(text.font, g));
        page.setTextColor(colorOr(text.font.color, 0x000000));
        int anchor = box.left;
        std::uint16_t align = TextAlign::kLeft | TextAlign::kTop;
        if (text.align & ControlFlag::kRight) {
            anchor = box.right;
            align = TextAlign::kRight | TextAlign::kTop;
        } else if (text.align & ControlFlag::kCenter) {
            anchor = (box.left + box.right) / 2;
            align = TextAlign::kCenter | TextAlign::kTop;
        }
        page.setTextAlign(align);
        if (text.isPageNumber) {
            const std::string number = text.pageNumberPicture.empty()
                                           ? std::to_string(pageNumber)
                                           : FORMAT(pageNumber, text.pageNumberPicture);
            page.text(anchor, box.top, clipped(number), box);
            return;
        }
        for (std::size_t i = 0; i < text.lines.size(); ++i) {
            const int top = g.pageY(y + text.at.y + static_cast<int>(i) * text.lineHeight);
            page.text(anchor, top, clipped(text.lines[i]),
                      text.fits ? std::nullopt : std::optional<PageRect>(box));
        }
    }
    void operator()(const LineDrawing& line) const {
        page.usePen(thinPen(line.color));
        page.line(g.pageX(x + line.at.x), g.pageY(y + line.at.y),
                  g.pageX(x + line.at.x + line.at.width), g.pageY(y + line.at.y + line.at.height));
    }
    void operator()(const BoxDrawing& box) const {
        page.usePen(thinPen(box.border));
        page.useBrush(box.fill == kNoColor ? Brush{BrushStyle::Null, {}}
                                           : Brush{BrushStyle::Solid, rgbOf(box.fill)});
        page.rectangle(pageRect(box.at, x, y, g));
    }
    void operator()(const ImageDrawing& image) const {
        if (image.image) page.bitmap(pageRect(image.at, x, y, g), *image.image);
    }
};

}  // namespace

std::shared_ptr<const RasterImage> PictureCache::get(std::string_view name, int widthDots,
                                                     int heightDots) {
    auto key = std::make_tuple(std::string(name), widthDots, heightDots);
    if (auto found = pictures_.find(key); found != pictures_.end()) return found->second;
    std::shared_ptr<const RasterImage> result;
    QImage image = readPicture(toScreenClipped(name));
    if (!image.isNull() && widthDots > 0 && heightDots > 0) {
        // Transparent parts print as paper.
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        {
            QPainter painter(&flat);
            painter.drawImage(0, 0, image);
        }
        const QSize wanted(std::min(flat.width(), widthDots), std::min(flat.height(), heightDots));
        if (wanted != flat.size())
            flat = flat.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        auto raster = std::make_shared<RasterImage>();
        raster->width = flat.width();
        raster->height = flat.height();
        raster->pixels.reserve(static_cast<std::size_t>(flat.width()) * flat.height());
        for (int row = 0; row < flat.height(); ++row) {
            const auto* line = reinterpret_cast<const QRgb*>(flat.constScanLine(row));
            for (int col = 0; col < flat.width(); ++col)
                raster->pixels.push_back(0xFF000000u | (line[col] & 0xFFFFFF));
        }
        result = std::move(raster);
    }
    pictures_.emplace(std::move(key), result);
    return result;
}

BandPicture renderBand(std::span<const ControlLayout* const> controls, const BandContext& context) {
    BandPicture band;
    for (const ControlLayout* control : controls) {
        switch (control->kind) {
            case ControlKind::String:
            case ControlKind::Prompt:
            case ControlKind::Text:
                band.items.emplace_back(textOf(*control, context));
                break;
            case ControlKind::Line:
                band.items.emplace_back(LineDrawing{control->at, control->color});
                break;
            case ControlKind::Box:
                band.items.emplace_back(BoxDrawing{control->at, control->color, control->fill});
                break;
            case ControlKind::Image:
                band.items.emplace_back(imageOf(*control, context));
                break;
            default:
                break;  // controls a printed page has no use for
        }
    }
    return band;
}

void drawBand(const BandPicture& band, int x, int y, int pageNumber, const PageGeometry& geometry,
              MetafileWriter& page) {
    const ItemDrawer drawer{x, y, pageNumber, geometry, page};
    for (const BandItem& item : band.items)
        std::visit(drawer, item);
}

}  // namespace quillery::report
