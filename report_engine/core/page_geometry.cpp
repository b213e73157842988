// Page units from printer dots.
#include "report_engine/core/page_geometry.h"

#include <algorithm>
#include <cstdint>

namespace quillery::report {
namespace {

// Page image coordinates are 16-bit signed numbers.
constexpr int kLargestCoordinate = 32767;

int scaled(int dots, int from, int to) {
    return static_cast<int>((static_cast<std::int64_t>(dots) * to + from / 2) / from);
}

}  // namespace

int PageGeometry::units(int thousandths) const {
    const std::int64_t scaledUp = static_cast<std::int64_t>(thousandths) * unitsPerInch;
    const std::int64_t rounded = scaledUp >= 0 ? (scaledUp + 500) / 1000 : (scaledUp - 500) / 1000;
    return static_cast<int>(
        std::clamp<std::int64_t>(rounded, -kLargestCoordinate, kLargestCoordinate));
}

int PageGeometry::printableHeightThousandths() const {
    if (unitsPerInch <= 0) return 0;
    return static_cast<int>(static_cast<std::int64_t>(printableHeight) * 1000 / unitsPerInch);
}

bool PageGeometry::valid() const {
    return unitsPerInch > 0 && printableWidth > 0 && printableHeight > 0 && marginLeft >= 0 &&
           marginTop >= 0 && width() <= kLargestCoordinate && height() <= kLargestCoordinate;
}

PageGeometry pageGeometryOf(const PrinterPage& printer) {
    PageGeometry g;
    if (printer.dotsPerInchX <= 0 || printer.dotsPerInchY <= 0) return g;
    const int upi = std::max(printer.dotsPerInchX, printer.dotsPerInchY);
    g.unitsPerInch = upi;
    g.printableWidth = scaled(printer.printableWidthDots, printer.dotsPerInchX, upi);
    g.marginLeft = scaled(printer.marginLeftDots, printer.dotsPerInchX, upi);
    g.printableHeight = scaled(printer.printableHeightDots, printer.dotsPerInchY, upi);
    g.marginTop = scaled(printer.marginTopDots, printer.dotsPerInchY, upi);
    return g;
}

}  // namespace quillery::report
