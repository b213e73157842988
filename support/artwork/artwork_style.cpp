// The drawing surface shared by all artwork.
#include "support/artwork/artwork_style.h"

#include <algorithm>

namespace quillery::artwork {

Canvas::Canvas(QPaintDevice& device, double designSize)
    : painter_(&device),
      scale_(std::min(device.width(), device.height()) / designSize),
      pixelSize_(std::min(device.width(), device.height())) {
    painter_.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                            QPainter::SmoothPixmapTransform);
    painter_.scale(scale_, scale_);
}

QPen Canvas::pen(const QColor& color, double designWidth) const {
    QPen result(color, std::max(designWidth, 1.0 / scale_));
    result.setJoinStyle(Qt::RoundJoin);
    result.setCapStyle(Qt::RoundCap);
    return result;
}

}  // namespace quillery::artwork
