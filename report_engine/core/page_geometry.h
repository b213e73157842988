// The size of a report page in page units: the printer's dots at the larger of its two
// resolutions, so that both axes share one unit. Layout positions are thousandths of an inch
// measured from the top left of the printable area.
#pragma once

#include <cstdint>

namespace quillery::report {

// What a printer tells about its page: resolution, printable size and the offset of the
// printable area from the paper's top left, each axis in its own dots.
struct PrinterPage {
    int dotsPerInchX = 0;
    int dotsPerInchY = 0;
    int printableWidthDots = 0;
    int printableHeightDots = 0;
    int marginLeftDots = 0;
    int marginTopDots = 0;
};

struct PageGeometry {
    int unitsPerInch = 0;  // the larger resolution of the two axes
    int printableWidth = 0;
    int printableHeight = 0;
    int marginLeft = 0;
    int marginTop = 0;

    // The page image's extent: the printable size plus twice the left and top margins.
    int width() const { return printableWidth + 2 * marginLeft; }
    int height() const { return printableHeight + 2 * marginTop; }

    // Page units of a length in thousandths of an inch (rounded to the nearest unit).
    int units(int thousandths) const;
    // Where a layout position lands in the page image, whose origin is the paper's corner.
    int pageX(int thousandths) const { return marginLeft + units(thousandths); }
    int pageY(int thousandths) const { return marginTop + units(thousandths); }
    // The height of the printable area in thousandths of an inch (rounded down).
    int printableHeightThousandths() const;

    bool valid() const;
};

// Scales the axis with the smaller resolution up to the larger one. A printer reporting no
// resolution gives an invalid geometry.
PageGeometry pageGeometryOf(const PrinterPage& printer);

}  // namespace quillery::report
