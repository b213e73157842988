// The drawings of the program's pictures and icons, all in one palette and one hand: soft
// vertical gradients, dark outlines one device pixel wide or more, rounded corners.
#include "support/artwork/artwork_drawings.h"

#include <QFont>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <QRadialGradient>
#include <cmath>
#include <iterator>

namespace quillery::artwork {
namespace {

using namespace palette;

// Colours of one book drawing.
struct BookColors {
    QColor coverLight = kCoverLight;
    QColor coverDark = kCoverDark;
    QColor spine = kSpine;
    QColor outline = kOutline;
};

BookColors greenBook() {
    return {QColor(0x5f, 0xb8, 0x8a), QColor(0x2b, 0x80, 0x5a), QColor(0x1f, 0x63, 0x45),
            QColor(0x17, 0x47, 0x33)};
}

// Rounds a design-space rectangle so that its edges fall on device pixel boundaries; outlines
// drawn as an outer fill minus an inner fill then stay sharp at 16 pixels.
QRectF snapped(QPainter& painter, const QRectF& rect) {
    const QTransform toDevice = painter.transform();
    const QRectF device = toDevice.mapRect(rect);
    const QRectF rounded(QPointF(std::round(device.left()), std::round(device.top())),
                         QPointF(std::round(device.right()), std::round(device.bottom())));
    return toDevice.inverted().mapRect(rounded);
}

// Design units that make one device pixel under the painter's current transform.
double onePixel(QPainter& painter) {
    return 1.0 / painter.transform().m11();
}

// A rounded rectangle filled with `fill` and framed by `outline` of at least one pixel.
void framedRect(QPainter& painter, const QRectF& area, double radius, const QBrush& fill,
                const QColor& outline, double width = 1.2) {
    const QRectF outer = snapped(painter, area);
    const double frame = std::max(width, onePixel(painter));
    painter.setPen(Qt::NoPen);
    painter.setBrush(outline);
    painter.drawRoundedRect(outer, radius, radius);
    painter.setBrush(fill);
    const double inner = std::max(radius - frame, 0.0);
    painter.drawRoundedRect(outer.adjusted(frame, frame, -frame, -frame), inner, inner);
}

QBrush vertical(const QRectF& rect, const QColor& top, const QColor& bottom) {
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

QBrush horizontal(const QRectF& rect, const QColor& left, const QColor& right) {
    QLinearGradient gradient(rect.topLeft(), rect.topRight());
    gradient.setColorAt(0, left);
    gradient.setColorAt(1, right);
    return gradient;
}

// A closed book seen from the front, filling `area` (best about 2 wide to 3 high): the back
// cover and the page block show below the front cover, the spine is a darker band on the left.
void drawBook(QPainter& painter, const QRectF& area, const BookColors& colors, bool details) {
    const double w = area.width();
    const double h = area.height();
    const double x = area.left();
    const double y = area.top();
    const double radius = w * 0.09;
    // At least three pixels, so the cream edge of the pages still shows on a 16-pixel icon.
    const double pagesHeight = std::max(h * 0.13, 3 * onePixel(painter));
    const QRectF back(x, y + h * 0.06, w, h * 0.94);
    const QRectF cover(x, y, w, h - pagesHeight);
    const double spineWidth = w * 0.2;

    framedRect(painter, back, radius, colors.spine, colors.outline);

    const double px = onePixel(painter);
    const QRectF pages = snapped(
        painter, QRectF(x + spineWidth, cover.bottom() - radius, w - spineWidth - std::max(1.2, px),
                        pagesHeight + radius - std::max(1.2, px) * 1.6));
    painter.setPen(Qt::NoPen);
    painter.setBrush(vertical(pages, kPage, kPageEdge));
    painter.drawRect(pages);
    if (details) {
        painter.setPen(QPen(kPageEdge, std::max(0.5, px * 0.7)));
        for (double line = pages.top() + radius + pagesHeight * 0.33; line < pages.bottom() - 0.3;
             line += pagesHeight * 0.3) {
            painter.drawLine(QPointF(pages.left() + 0.5, line), QPointF(pages.right(), line));
        }
    }

    framedRect(painter, cover, radius, vertical(cover, colors.coverLight, colors.coverDark),
               colors.outline);

    // The spine: a darker band along the left edge, with a thin highlight where it folds.
    const QRectF spine = snapped(painter, QRectF(x, y, spineWidth, cover.height()));
    QPainterPath coverShape;
    const double frame = std::max(1.2, px);
    coverShape.addRoundedRect(snapped(painter, cover).adjusted(frame, frame, -frame, -frame),
                              radius - frame, radius - frame);
    QPainterPath spineShape;
    spineShape.addRect(spine);
    painter.setPen(Qt::NoPen);
    QColor shade = colors.spine;
    shade.setAlpha(170);
    painter.setBrush(shade);
    painter.drawPath(coverShape.intersected(spineShape));
    if (w * painter.transform().m11() >= 14) {
        QColor shine = colors.coverLight.lighter(135);
        shine.setAlpha(200);
        painter.setPen(QPen(shine, std::max(0.8, px)));
        painter.drawLine(QPointF(spine.right() + px * 0.5, cover.top() + frame + px),
                         QPointF(spine.right() + px * 0.5, cover.bottom() - frame - px));
    }

    // The title label: a cream plate with gold rim and two lines of "text".
    const QRectF label(x + w * 0.36, y + h * 0.14, w * 0.5, h * 0.22);
    framedRect(painter, label, w * 0.05, kPage, kGold, w * 0.04);
    if (details) {
        const QRectF inner = label.adjusted(w * 0.09, h * 0.06, -w * 0.09, -h * 0.06);
        painter.setPen(QPen(colors.coverDark, std::max(inner.height() * 0.22, px)));
        painter.drawLine(inner.topLeft(), inner.topRight());
        painter.drawLine(inner.bottomLeft(),
                         QPointF(inner.left() + inner.width() * 0.65, inner.bottom()));
    }
}

void drawStandardBook(Canvas& canvas, const QRectF& area, const BookColors& colors = {}) {
    drawBook(canvas.painter(), area, colors, !canvas.small());
}

// A disc with a light centre and dark rim colour, framed in `rim`.
void drawDisc(QPainter& painter, const QPointF& centre, double radius, const QColor& light,
              const QColor& dark, const QColor& rim) {
    QRadialGradient gradient(centre - QPointF(radius * 0.35, radius * 0.45), radius * 1.4);
    gradient.setColorAt(0, light.lighter(115));
    gradient.setColorAt(0.55, light);
    gradient.setColorAt(1, dark);
    painter.setPen(QPen(rim, std::max(1.3, onePixel(painter))));
    painter.setBrush(gradient);
    painter.drawEllipse(centre, radius, radius);
}

void drawPlusBadge(Canvas& canvas, const QPointF& centre, double radius) {
    QPainter& painter = canvas.painter();
    drawDisc(painter, centre, radius, kGreenLight, kGreenDark, kGreenDark.darker(130));
    // The bars are pixel-aligned rectangles: a stroked plus turns to a blur at 16 pixels.
    const double arm = radius * 0.58;
    const double half = std::max(radius * 0.17, onePixel(painter));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRect(
        snapped(painter, QRectF(centre.x() - arm, centre.y() - half, 2 * arm, 2 * half)));
    painter.drawRect(
        snapped(painter, QRectF(centre.x() - half, centre.y() - arm, 2 * half, 2 * arm)));
}

void drawMagnifier(Canvas& canvas, const QPointF& centre, double radius) {
    QPainter& painter = canvas.painter();
    const QPointF direction(std::sqrt(0.5), std::sqrt(0.5));
    QPen handle(kSteelDark, radius * 0.6);
    handle.setCapStyle(Qt::RoundCap);
    painter.setPen(handle);
    painter.drawLine(centre + direction * radius * 1.05, centre + direction * radius * 1.9);

    QColor glass = kGlass;
    glass.setAlpha(215);
    QRadialGradient lens(centre - QPointF(radius * 0.3, radius * 0.3), radius * 1.2);
    lens.setColorAt(0, Qt::white);
    lens.setColorAt(1, glass);
    painter.setPen(canvas.pen(kSteelDark, radius * 0.28));
    painter.setBrush(lens);
    painter.drawEllipse(centre, radius, radius);
    if (!canvas.small()) {
        painter.setPen(canvas.pen(QColor(255, 255, 255, 230), radius * 0.14));
        painter.setBrush(Qt::NoBrush);
        const QRectF arc(centre.x() - radius * 0.62, centre.y() - radius * 0.62, radius * 1.24,
                         radius * 1.24);
        painter.drawArc(arc, 100 * 16, 70 * 16);
    }
}

// A feather quill lying from its nib at `nib` up to the right.
void drawQuill(QPainter& painter, const QPointF& nib, double length) {
    painter.save();
    painter.translate(nib);
    painter.rotate(-55);
    const double l = length;
    QPainterPath vane;
    vane.moveTo(l * 0.22, 0);
    vane.cubicTo(l * 0.45, -l * 0.16, l * 0.85, -l * 0.14, l, -l * 0.02);
    vane.cubicTo(l * 0.8, l * 0.09, l * 0.45, l * 0.1, l * 0.22, 0);
    QLinearGradient feather(QPointF(0, -l * 0.15), QPointF(0, l * 0.1));
    feather.setColorAt(0, Qt::white);
    feather.setColorAt(1, QColor(0xdd, 0xe3, 0xec));
    painter.setPen(QPen(kSteel, l * 0.018));
    painter.setBrush(feather);
    painter.drawPath(vane);
    // Barbs: short strokes off the shaft.
    painter.setPen(QPen(QColor(0xa8, 0xb3, 0xc4), l * 0.01));
    for (double t = 0.3; t < 0.95; t += 0.07) {
        painter.drawLine(QPointF(l * t, 0), QPointF(l * (t + 0.05), -l * 0.09 * (1.05 - t)));
        painter.drawLine(QPointF(l * t, 0), QPointF(l * (t + 0.05), l * 0.07 * (1.05 - t)));
    }
    painter.setPen(QPen(kSteelDark, l * 0.022, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(l * 0.08, 0), QPointF(l * 1.02, -l * 0.02));
    // The nib, dipped in ink.
    QPainterPath tip;
    tip.moveTo(0, 0);
    tip.lineTo(l * 0.1, -l * 0.025);
    tip.lineTo(l * 0.1, l * 0.025);
    tip.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x22, 0x22, 0x33));
    painter.drawPath(tip);
    painter.restore();
}

// An open book seen from above, spread across `area`.
void drawOpenBook(QPainter& painter, const QRectF& area) {
    const double x = area.left();
    const double y = area.top();
    const double w = area.width();
    const double h = area.height();
    const double mid = x + w / 2;
    const double lineWidth = w * 0.012;

    // The cover under the pages.
    QPainterPath cover;
    cover.moveTo(x, y + h * 0.16);
    cover.lineTo(mid, y + h * 0.22);
    cover.lineTo(x + w, y + h * 0.16);
    cover.lineTo(x + w, y + h * 0.9);
    cover.lineTo(mid, y + h);
    cover.lineTo(x, y + h * 0.9);
    cover.closeSubpath();
    painter.setPen(QPen(kOutline, lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(vertical(area, kCoverLight, kCoverDark));
    painter.drawPath(cover);

    // Each side: three page edges under the top page, which curves down into the gutter.
    auto page = [&](double side, double drop) {
        const double outer = mid + side * (w * 0.47);
        QPainterPath path;
        path.moveTo(mid, y + h * 0.12 + drop);
        path.cubicTo(mid + side * w * 0.12, y + drop, mid + side * w * 0.3, y + drop, outer,
                     y + h * 0.05 + drop);
        path.lineTo(outer, y + h * 0.8 + drop);
        path.cubicTo(mid + side * w * 0.3, y + h * 0.74 + drop, mid + side * w * 0.12,
                     y + h * 0.76 + drop, mid, y + h * 0.88 + drop);
        path.closeSubpath();
        return path;
    };
    for (double side : {-1.0, 1.0}) {
        for (int layer = 3; layer >= 0; --layer) {
            const QPainterPath sheet = page(side, layer * h * 0.025);
            painter.setPen(QPen(layer == 0 ? kOutline : kPageEdge.darker(115), lineWidth * 0.8,
                                Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.setBrush(layer == 0 ? horizontal(area, side < 0 ? kPage : kPage.darker(104),
                                                     side < 0 ? kPage.darker(104) : kPage)
                                        : QBrush(kPage.darker(103)));
            painter.drawPath(sheet);
        }
        // Lines of print following the page's curve.
        painter.setPen(
            QPen(QColor(0x9a, 0xa4, 0xb4), lineWidth * 0.9, Qt::SolidLine, Qt::RoundCap));
        for (int row = 0; row < 7; ++row) {
            const double top = y + h * (0.2 + row * 0.075);
            const double start = mid + side * w * 0.07;
            const double end = mid + side * w * (row == 6 ? 0.3 : 0.41);
            QPainterPath print;
            print.moveTo(start, top + h * 0.035);
            print.quadTo((start + end) / 2, top - h * 0.01, end, top);
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(print);
        }
    }
    // A ribbon marker hanging from the gutter.
    QPainterPath ribbon;
    ribbon.moveTo(mid + w * 0.03, y + h * 0.85);
    ribbon.lineTo(mid + w * 0.085, y + h * 0.85);
    ribbon.lineTo(mid + w * 0.085, y + h * 1.06);
    ribbon.lineTo(mid + w * 0.0575, y + h * 1.0);
    ribbon.lineTo(mid + w * 0.03, y + h * 1.06);
    ribbon.closeSubpath();
    painter.setPen(QPen(kRibbon.darker(140), lineWidth * 0.6));
    painter.setBrush(kRibbon);
    painter.drawPath(ribbon);
}

}  // namespace

void drawBookIcon(Canvas& canvas) {
    drawStandardBook(canvas, QRectF(9, 3, 30, 42));
}

void drawNewBookIcon(Canvas& canvas) {
    drawStandardBook(canvas, QRectF(5, 2, 29, 41));
    if (canvas.small()) {
        drawPlusBadge(canvas, QPointF(34.5, 34.5), 13.5);
    } else {
        drawPlusBadge(canvas, QPointF(36, 36), 10.5);
    }
}

void drawCopyBookIcon(Canvas& canvas) {
    drawStandardBook(canvas, QRectF(19, 1, 25, 35), greenBook());
    drawStandardBook(canvas, QRectF(4, 12, 25, 35));
}

void drawCancelIcon(Canvas& canvas) {
    QPainter& painter = canvas.painter();
    drawDisc(painter, QPointF(24, 24), 20.5, kRedLight, kRedDark, kRedDark.darker(130));
    QPen cross(Qt::white, 6.5);
    cross.setCapStyle(Qt::RoundCap);
    painter.setPen(cross);
    painter.drawLine(QPointF(16.5, 16.5), QPointF(31.5, 31.5));
    painter.drawLine(QPointF(31.5, 16.5), QPointF(16.5, 31.5));
}

void drawSaveIcon(Canvas& canvas) {
    QPainter& painter = canvas.painter();
    const QRectF body = snapped(painter, QRectF(5, 5, 38, 38));
    const double cut = 6;
    QPainterPath shape;
    shape.moveTo(body.left() + 2.5, body.top());
    shape.lineTo(body.right() - cut, body.top());
    shape.lineTo(body.right(), body.top() + cut);
    shape.lineTo(body.right(), body.bottom() - 2.5);
    shape.quadTo(body.bottomRight(), QPointF(body.right() - 2.5, body.bottom()));
    shape.lineTo(body.left() + 2.5, body.bottom());
    shape.quadTo(body.bottomLeft(), QPointF(body.left(), body.bottom() - 2.5));
    shape.lineTo(body.left(), body.top() + 2.5);
    shape.quadTo(body.topLeft(), QPointF(body.left() + 2.5, body.top()));
    painter.setPen(canvas.pen(kOutline, 1.3));
    painter.setBrush(vertical(body, kCoverLight, kCoverDark));
    painter.drawPath(shape);

    // The metal shutter at the top with its window.
    const QRectF shutter = snapped(painter, QRectF(13, 5, 21, 14));
    framedRect(painter, shutter, 1, vertical(shutter, Qt::white, kMetal), kSteelDark);
    const QRectF slot = snapped(painter, QRectF(26, 8, 5, 8));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kSteel);
    painter.drawRect(slot);

    // The label at the bottom, with a red rule and lines for writing.
    const QRectF label = snapped(painter, QRectF(11, 24, 26, 19));
    framedRect(painter, label, 1.5, kPaper, kSteelDark);
    if (!canvas.small()) {
        painter.setPen(QPen(kRibbon, 1.2));
        painter.drawLine(QPointF(14, 28), QPointF(34, 28));
        painter.setPen(QPen(kNoteLine, 1.0));
        painter.drawLine(QPointF(14, 32.5), QPointF(34, 32.5));
        painter.drawLine(QPointF(14, 36.5), QPointF(30, 36.5));
    }
}

void drawUndoIcon(Canvas& canvas) {
    QPainter& painter = canvas.painter();
    // The shaft turns from the lower right up over the top and back to the left, where the
    // arrowhead points.
    QPainterPath shaft;
    shaft.moveTo(36, 41);
    shaft.cubicTo(46, 33, 45, 13, 27, 13);
    shaft.lineTo(17, 13);
    QPainterPathStroker stroker;
    stroker.setWidth(8);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    QPainterPath arrow = stroker.createStroke(shaft);
    QPainterPath head;
    head.addPolygon(QPolygonF({QPointF(19, 1.5), QPointF(3, 13), QPointF(19, 24.5)}));
    head.closeSubpath();
    arrow = arrow.united(head).simplified();

    painter.setPen(canvas.pen(kOutline, 1.3));
    painter.setBrush(vertical(QRectF(3, 2, 42, 40), kCoverLight.lighter(110), kCoverDark));
    painter.drawPath(arrow);
}

void drawFindBookIcon(Canvas& canvas) {
    drawStandardBook(canvas, QRectF(3, 1, 28, 40));
    drawMagnifier(canvas, QPointF(28, 27), canvas.small() ? 11.5 : 10.5);
}

void drawLookUpBookIcon(Canvas& canvas) {
    drawStandardBook(canvas, QRectF(3, 1, 28, 40));
    QPainter& painter = canvas.painter();
    // The barcode a scanner reads: a white label with bars of two widths.
    const QRectF label = snapped(painter, QRectF(17, 22, 28, 22));
    framedRect(painter, label, 1.2, kPaper, kOutline);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kOutline);
    const double bars[] = {2.0, 1.0, 1.0, 2.0, 1.0, 2.0, 1.0, 1.0, 2.0, 1.0};
    double x = 20.5;
    for (std::size_t i = 0; i < std::size(bars); ++i) {
        if (i % 2 == 0) painter.drawRect(QRectF(x, 25, bars[i], 16));
        x += bars[i] + (canvas.small() ? 1.4 : 1.0);
    }
}

void drawPrintIcon(Canvas& canvas) {
    QPainter& painter = canvas.painter();
    // The sheet going in at the back, the body of the printer, and the printed sheet coming out.
    const QRectF sheet = snapped(painter, QRectF(13, 3, 22, 17));
    framedRect(painter, sheet, 1.2, kPaper, kSteelDark);
    const QRectF body = snapped(painter, QRectF(4, 17, 40, 18));
    painter.setPen(canvas.pen(kOutline, 1.3));
    painter.setBrush(vertical(body, kMetal.lighter(115), kSteel));
    painter.drawRoundedRect(body, 3, 3);
    const QRectF out = snapped(painter, QRectF(11, 30, 26, 15));
    framedRect(painter, out, 1.2, kPaper, kSteelDark);
    if (!canvas.small()) {
        painter.setPen(QPen(kNoteLine, 1.0));
        painter.drawLine(QPointF(14, 36), QPointF(34, 36));
        painter.drawLine(QPointF(14, 40), QPointF(30, 40));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(70, 170, 80));
    painter.drawEllipse(QPointF(37.5, 23.5), 2.2, 2.2);
}

void drawExitIcon(Canvas& canvas) {
    QPainter& painter = canvas.painter();
    // A door standing open, and an arrow leaving through it.
    const QRectF frame = snapped(painter, QRectF(20, 4, 22, 40));
    framedRect(painter, frame, 1.3, QColor(60, 60, 70), kOutline);
    QPolygonF door({QPointF(20, 4), QPointF(33, 9), QPointF(33, 48), QPointF(20, 44)});
    painter.setPen(canvas.pen(kOutline, 1.3));
    painter.setBrush(vertical(QRectF(20, 4, 13, 44), kCoverLight, kCoverDark));
    painter.drawPolygon(door);
    QPen shaft(kRedDark, 5.5);
    shaft.setCapStyle(Qt::RoundCap);
    painter.setPen(shaft);
    painter.drawLine(QPointF(24, 26), QPointF(9, 26));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kRedDark);
    painter.drawPolygon(QPolygonF({QPointF(2, 26), QPointF(12, 17), QPointF(12, 35)}));
}

void drawZoomIcon(Canvas& canvas) {
    drawMagnifier(canvas, QPointF(20, 20), canvas.small() ? 15 : 14);
    QPainter& painter = canvas.painter();
    painter.setPen(canvas.pen(kSteelDark, 3));
    painter.drawLine(QPointF(13, 20), QPointF(27, 20));
    painter.drawLine(QPointF(20, 13), QPointF(20, 27));
}

void drawNoteIcon(Canvas& canvas) {
    QPainter& painter = canvas.painter();
    const double fold = 11;
    const QRectF sheet = snapped(painter, QRectF(7, 3, 34, 42));
    QPainterPath paper;
    paper.moveTo(sheet.topLeft());
    paper.lineTo(sheet.topRight());
    paper.lineTo(sheet.right(), sheet.bottom() - fold);
    paper.lineTo(sheet.right() - fold, sheet.bottom());
    paper.lineTo(sheet.bottomLeft());
    paper.closeSubpath();
    const QColor edge(0xb0, 0x8a, 0x1c);
    painter.setPen(canvas.pen(edge, 1.3));
    painter.setBrush(vertical(sheet, kNoteLight, kNoteDark));
    painter.drawPath(paper);

    // Ruled lines, fewer on small icons so they stay apart.
    const int lines = canvas.small() ? 3 : 5;
    const double first = canvas.small() ? 13.5 : 12;
    const double step = canvas.small() ? 9 : 6;
    painter.setPen(QPen(kNoteLine, canvas.small() ? 3.0 : 1.6));
    for (int i = 0; i < lines; ++i) {
        const double y = first + i * step;
        const double right =
            y > sheet.bottom() - fold - 2 ? sheet.right() - fold - 2 : sheet.right() - 5;
        painter.drawLine(QPointF(sheet.left() + 5, y), QPointF(right, y));
    }
    if (!canvas.small()) {
        painter.setPen(QPen(QColor(0xe0, 0x70, 0x60), 1.2));
        painter.drawLine(QPointF(sheet.left() + 3, sheet.top() + 2),
                         QPointF(sheet.left() + 3, sheet.bottom() - 1));
    }

    // The turned-up corner.
    QPainterPath corner;
    corner.moveTo(sheet.right(), sheet.bottom() - fold);
    corner.lineTo(sheet.right() - fold, sheet.bottom() - fold + 1);
    corner.lineTo(sheet.right() - fold, sheet.bottom());
    corner.closeSubpath();
    painter.setPen(canvas.pen(edge, 1.3));
    painter.setBrush(vertical(corner.boundingRect(), QColor(0xff, 0xf8, 0xd0), kNoteDark));
    painter.drawPath(corner);
}

void drawLetterTile(Canvas& canvas, QChar letter) {
    QPainter& painter = canvas.painter();
    // Letters are placed in device pixels so their stems land on whole pixels.
    const double size = canvas.scale() * 48;
    painter.resetTransform();
    const double margin = size <= 16 ? 0 : std::round(size / 32);
    const QRectF tile(margin, margin, size - 2 * margin, size - 2 * margin);
    const double radius = std::max(2.0, size * 0.18);
    framedRect(painter, tile, radius, vertical(tile, kTileLight, kTileDark), kOutline,
               std::max(1.0, std::round(size / 32)));
    if (size > 16) {
        // A soft shine across the upper half.
        QColor shine(255, 255, 255, 55);
        painter.setPen(Qt::NoPen);
        painter.setBrush(shine);
        const double inset = std::round(size / 16);
        painter.drawRoundedRect(QRectF(tile.left() + inset, tile.top() + inset,
                                       tile.width() - 2 * inset, tile.height() * 0.42),
                                radius * 0.7, radius * 0.7);
    }

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(int(std::round(size * (size <= 16 ? 0.78 : 0.66))));
    font.setHintingPreference(QFont::PreferFullHinting);
    QPainterPath glyph;
    glyph.addText(0, 0, font, QString(letter));
    const QRectF bounds = glyph.boundingRect();
    const QPointF offset(std::round(tile.center().x() - bounds.center().x()),
                         std::round(tile.center().y() - bounds.center().y()));
    painter.setPen(Qt::NoPen);
    if (size > 16) {
        painter.setBrush(QColor(0, 0, 0, 70));
        painter.drawPath(glyph.translated(offset + QPointF(0, std::round(size / 32))));
    }
    painter.setBrush(Qt::white);
    painter.drawPath(glyph.translated(offset));
}

void drawWindowBitmap(Canvas& canvas) {
    QPainter& painter = canvas.painter();
    const QRectF tile(0, 0, 48, 48);
    painter.setPen(Qt::NoPen);
    painter.setBrush(vertical(tile, QColor(0xee, 0xf3, 0xfa), QColor(0xc8, 0xd6, 0xea)));
    painter.drawRect(tile);
    drawBook(painter, QRectF(10, 4, 28, 40), {}, true);
}

void drawSplashBitmap(Canvas& canvas) {
    QPainter& painter = canvas.painter();
    const double height = painter.device()->height() / canvas.scale();
    // The splash is a white card: the plate is the card's own white, so no box shows.
    const QRectF plate(0, 0, 48, height);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kPaper);
    painter.drawRect(plate);

    // A soft shadow under the book, then the book itself with a gilt frame on the cover.
    const QRectF area(8, 4, 33, height - 10);
    QRadialGradient shadow(QPointF(area.center().x(), area.bottom() + 1), area.width() * 0.7);
    shadow.setColorAt(0, QColor(0, 0, 0, 60));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    painter.setBrush(shadow);
    painter.drawEllipse(QPointF(area.center().x() + 1, area.bottom() + 1), area.width() * 0.7, 3.5);
    BookColors colors;
    colors.coverLight = QColor(0x3f, 0x70, 0xba);
    colors.coverDark = QColor(0x1c, 0x3a, 0x72);
    drawBook(painter, area, colors, true);

    const double w = area.width();
    const QRectF frame(area.left() + w * 0.28, area.top() + 3, w * 0.64, area.height() * 0.78);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kGold, 0.9));
    painter.drawRoundedRect(frame, 1.5, 1.5);
    // A small gilt emblem: a quill over the lower half of the cover.
    drawQuill(painter, QPointF(frame.left() + frame.width() * 0.22, frame.bottom() - 5),
              frame.width() * 0.95);
}

void drawReportLogo(Canvas& canvas) {
    QPainter& painter = canvas.painter();
    painter.setPen(Qt::NoPen);
    painter.setBrush(kPaper);
    painter.drawRect(QRectF(0, 0, 48, 48));
    drawOpenBook(painter, QRectF(3, 10, 42, 28));
    drawQuill(painter, QPointF(27, 29), 22);
}

}  // namespace quillery::artwork
