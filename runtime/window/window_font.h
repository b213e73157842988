// Fonts named by layouts mapped to the families installed here, and dialog units: the layout
// measure of a window, a quarter of its font's average character width across and an eighth
// of its height down.
#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>

#include "runtime/window/layout.h"

namespace quillery {

// The installed family nearest to a layout's family ("MS Sans Serif", "Arial", "Impact"...).
QString nearestFamily(std::string_view family);

// Gives the program's own windows, menus and help one family: the one the layouts' "MS Sans
// Serif" maps to. Requires: a QApplication exists.
void useLayoutFamilyEverywhere();

// The Qt font for `font`; unset parts come from `base`.
QFont fontOf(const FontChoice& font, const QFont& base);

// Pixels per dialog unit of a font.
class DialogUnits {
  public:
    DialogUnits() = default;
    explicit DialogUnits(const QFont& font);

    int toPixelsX(int du) const;
    int toPixelsY(int du) const;
    int toUnitsX(int px) const;
    int toUnitsY(int px) const;
    QRect toPixels(const Rect& r) const;
    QSize toPixels(int width, int height) const { return {toPixelsX(width), toPixelsY(height)}; }

    int baseWidth() const { return baseWidth_; }    // average character width, pixels
    int baseHeight() const { return baseHeight_; }  // character height, pixels

  private:
    int baseWidth_ = 6;
    int baseHeight_ = 13;
};

}  // namespace quillery
