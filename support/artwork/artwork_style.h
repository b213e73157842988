// The shared look of the program's artwork: one palette and a drawing surface that lets every
// picture be drawn once in a 48-unit design space and rendered crisply at any pixel size.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPen>

namespace quillery::artwork {

namespace palette {
inline const QColor kCoverLight{0x4f, 0x86, 0xd0};
inline const QColor kCoverDark{0x24, 0x4f, 0x92};
inline const QColor kSpine{0x1d, 0x3f, 0x78};
inline const QColor kOutline{0x16, 0x2e, 0x57};
inline const QColor kPage{0xfd, 0xf9, 0xef};
inline const QColor kPageEdge{0xd8, 0xcc, 0xae};
inline const QColor kGold{0xe3, 0xb3, 0x3c};
inline const QColor kRibbon{0xc8, 0x3a, 0x3a};
inline const QColor kGreenLight{0x5c, 0xc2, 0x6f};
inline const QColor kGreenDark{0x22, 0x85, 0x3d};
inline const QColor kRedLight{0xf0, 0x64, 0x5a};
inline const QColor kRedDark{0xb0, 0x24, 0x24};
inline const QColor kSteel{0x5b, 0x6b, 0x82};
inline const QColor kSteelDark{0x33, 0x3f, 0x52};
inline const QColor kMetal{0xd4, 0xdb, 0xe3};
inline const QColor kNoteLight{0xff, 0xf1, 0x9c};
inline const QColor kNoteDark{0xf4, 0xcf, 0x4a};
inline const QColor kNoteLine{0x7f, 0xa7, 0xd6};
inline const QColor kGlass{0xcf, 0xe8, 0xff};
inline const QColor kTileLight{0x5a, 0x8c, 0xd6};
inline const QColor kTileDark{0x2a, 0x55, 0x9b};
inline const QColor kPaper{0xff, 0xff, 0xff};
}  // namespace palette

// A painter over an image whose coordinates run 0..48 across the image's shorter side, with
// antialiasing on. Line widths are given in design units but never drop below one device pixel,
// so 16-pixel icons keep visible outlines.
class Canvas {
  public:
    explicit Canvas(QPaintDevice& device, double designSize = 48.0);

    QPainter& painter() { return painter_; }
    // Pixels per design unit.
    double scale() const { return scale_; }
    // Whether the image is at most 16 pixels on its shorter side, where detail is left out.
    bool small() const { return pixelSize_ <= 16; }

    QPen pen(const QColor& color, double designWidth) const;

  private:
    QPainter painter_;
    double scale_;
    int pixelSize_;
};

}  // namespace quillery::artwork
