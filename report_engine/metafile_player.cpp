// Playing page images.
#include "report_engine/metafile_player.h"

#include <QFile>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <variant>

#include "runtime/window/picture_files.h"
#include "runtime/window/screen_text.h"
#include "runtime/window/window_font.h"

namespace quillery {
namespace {

using namespace report;

// A file larger than any page this engine writes is not read.
constexpr qint64 kLargestPageFile = 256LL << 20;
constexpr double kDefaultScreenDotsPerInch = 96.0;

QColor colorOf(Rgb c) {
    return QColor(c.red, c.green, c.blue);
}

QRectF rectOf(const PageRect& r) {
    return QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom)).normalized();
}

// A font no taller than the page: anything larger is damage, and would only be slow to draw.
QFont fontOf(const LogFont& f, int pageHeight) {
    unsigned style = 0;
    if (f.weight >= 600) style |= FontStyle::kBold;
    if (f.italic) style |= FontStyle::kItalic;
    if (f.underline) style |= FontStyle::kUnderline;
    QFont font = quillery::fontOf(FontChoice{f.faceName, 0, style, kNoColor}, QFont());
    font.setStrikeOut(f.strikeOut);
    font.setPixelSize(std::clamp(std::abs(static_cast<int>(f.height)), 1, std::max(1, pageHeight)));
    return font;
}

// The same picture on every page (the listings' header, say) is handed out as one image, so
// that a PDF keeps it once instead of compressing it again for every page.
QImage sharedImage(const RasterImage& raster) {
    struct Kept {
        RasterImage raster;
        QImage image;
    };
    static std::vector<Kept> kept;
    constexpr std::size_t kKeptImages = 8;
    for (const Kept& k : kept) {
        if (k.raster.width == raster.width && k.raster.height == raster.height &&
            k.raster.pixels == raster.pixels)
            return k.image;
    }
    const QImage view(reinterpret_cast<const uchar*>(raster.pixels.data()), raster.width,
                      raster.height, QImage::Format_RGB32);
    if (kept.size() == kKeptImages) kept.erase(kept.begin());
    kept.push_back({raster, view.copy()});
    return kept.back().image;
}

// Carries out the steps of one page, keeping the drawing state the records set.
class Player {
  public:
    Player(QPainter& painter, const PageImage& page, const QRectF& target)
        : painter_(painter),
          target_(target),
          extent_(page.header.width(), page.header.height()),
          pageHeight_(page.header.height()) {
        painter_.setPen(Qt::NoPen);
        painter_.setBrush(Qt::NoBrush);
        mapWindow();
    }

    void operator()(const PageStep::WindowOrigin& s) {
        origin_ = QPointF(s.x, s.y);
        mapWindow();
    }
    void operator()(const PageStep::WindowExtent& s) {
        if (s.x == 0 || s.y == 0) return;
        extent_ = QSizeF(s.x, s.y);
        mapWindow();
    }
    void operator()(const PageStep::SelectFont& s) {
        // Pages select the same few fonts over and over; building a font is not free.
        if (logFont_ && *logFont_ == s.font) return;
        logFont_ = s.font;
        font_ = fontOf(s.font, pageHeight_);
        metrics_.reset();
        fontSet_ = false;
    }
    void operator()(const PageStep::SelectPen& s) {
        if (s.pen.style == PenStyle::Null) {
            pen_ = QPen(Qt::NoPen);
            return;
        }
        pen_ = QPen(colorOf(s.pen.color));
        pen_.setWidthF(std::abs(static_cast<double>(s.pen.width)));  // 0: the thinnest line
        pen_.setCapStyle(Qt::FlatCap);
        pen_.setJoinStyle(Qt::MiterJoin);
    }
    void operator()(const PageStep::SelectBrush& s) {
        brush_ = s.brush.style == BrushStyle::Null ? QBrush(Qt::NoBrush)
                                                   : QBrush(colorOf(s.brush.color));
    }
    void operator()(const PageStep::TextAlignment& s) { align_ = s.align; }
    void operator()(const PageStep::TextColor& s) { textColor_ = colorOf(s.color); }
    void operator()(const PageStep::BackgroundMode&) {}  // texts are always drawn transparent
    void operator()(const PageStep::MoveTo& s) { position_ = QPointF(s.x, s.y); }
    void operator()(const PageStep::LineTo& s) {
        const QPointF to(s.x, s.y);
        painter_.setPen(pen_);
        painter_.drawLine(position_, to);
        position_ = to;
    }
    void operator()(const PageStep::Rectangle& s) {
        painter_.setPen(pen_);
        painter_.setBrush(brush_);
        painter_.drawRect(rectOf(s.rect));
    }
    void operator()(const PageStep::Text& s) {
        const QString text = toScreen(s.text);
        const QFontMetricsF& metrics = metrics_ ? *metrics_ : metrics_.emplace(font_);
        double x = s.x;
        // Shaping a text twice (measure, then draw) is most of its cost: measure only when the
        // alignment needs the width.
        switch (align_ & TextAlign::kHorizontalMask) {
            case TextAlign::kRight:
                x -= metrics.horizontalAdvance(text);
                break;
            case TextAlign::kCenter:
                x -= metrics.horizontalAdvance(text) / 2;
                break;
            default:
                break;
        }
        double baseline = s.y + metrics.ascent();
        if ((align_ & TextAlign::kVerticalMask) == TextAlign::kBaseline)
            baseline = s.y;
        else if ((align_ & TextAlign::kVerticalMask) == TextAlign::kBottom)
            baseline = s.y - metrics.descent();
        if (s.clip) {
            painter_.save();
            painter_.setClipRect(rectOf(*s.clip), Qt::IntersectClip);
            fontSet_ = false;
        }
        if (!fontSet_) {
            painter_.setFont(font_);
            fontSet_ = !s.clip;
        }
        painter_.setPen(textColor_);
        painter_.drawText(QPointF(x, baseline), text);
        if (s.clip) painter_.restore();
    }
    void operator()(const PageStep::Bitmap& s) {
        painter_.drawImage(rectOf(s.target), sharedImage(s.image));
    }

  private:
    void mapWindow() {
        QTransform t;
        t.translate(target_.left(), target_.top());
        t.scale(target_.width() / extent_.width(), target_.height() / extent_.height());
        t.translate(-origin_.x(), -origin_.y());
        painter_.setTransform(t * base_);
    }

    QPainter& painter_;
    QTransform base_ = painter_.transform();
    QRectF target_;
    QPointF origin_{0, 0};
    QSizeF extent_;
    int pageHeight_;
    QFont font_ = quillery::fontOf(FontChoice{"Arial", 0, 0, kNoColor}, QFont());
    std::optional<LogFont> logFont_;
    std::optional<QFontMetricsF> metrics_;
    bool fontSet_ = false;  // the painter holds font_ already
    QPen pen_{Qt::black};
    QBrush brush_{Qt::white};
    QColor textColor_{Qt::black};
    std::uint16_t align_ = 0;
    QPointF position_{0, 0};
};

class PageImagePicture final : public PictureSource {
  public:
    explicit PageImagePicture(PageImage page) : page_(std::move(page)) {}
    QSize naturalSize() const override { return pageImageScreenSize(page_.header); }
    void paint(QPainter& painter, const QRectF& target) const override {
        painter.fillRect(target, Qt::white);
        playPageImage(painter, page_, target);
    }

  private:
    PageImage page_;
};

}  // namespace

void playPageImage(QPainter& painter, const PageImage& page, const QRectF& target) {
    if (target.isEmpty() || page.header.width() <= 0 || page.header.height() <= 0) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    Player player(painter, page, target);
    for (const PageDrawStep& step : page.steps)
        std::visit(player, step);
    painter.restore();
}

std::optional<PageImage> loadPageImageFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestPageFile) return std::nullopt;
    // Most pictures the window engine asks about are not page images: the header decides.
    const QByteArray head = file.peek(static_cast<qint64>(kPlaceableHeaderSize));
    const auto* headBytes = reinterpret_cast<const std::uint8_t*>(head.constData());
    if (!decodePlaceableHeader({headBytes, static_cast<std::size_t>(head.size())}))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    return readPageImage({reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                          static_cast<std::size_t>(bytes.size())});
}

QSize pageImageScreenSize(const PlaceableHeader& header) {
    const QScreen* screen = qGuiApp ? QGuiApplication::primaryScreen() : nullptr;
    const double dpi = screen ? screen->logicalDotsPerInch() : kDefaultScreenDotsPerInch;
    const double scale = dpi / std::max<int>(1, header.unitsPerInch);
    return QSize(static_cast<int>(header.width() * scale + 0.5),
                 static_cast<int>(header.height() * scale + 0.5));
}

void registerPageImagePictures() {
    static std::once_flag once;
    std::call_once(once, [] {
        addPictureDecoder([](const QString& path) -> std::shared_ptr<const PictureSource> {
            auto page = loadPageImageFile(path);
            if (!page) return nullptr;
            return std::make_shared<PageImagePicture>(std::move(*page));
        });
    });
}

}  // namespace quillery
