// A picture's pixels as page images carry them: rows top to bottom, each pixel 0xFFRRGGBB.
#pragma once

#include <cstdint>
#include <vector>

namespace quillery::report {

struct RasterImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // width * height, top row first

    bool empty() const { return width <= 0 || height <= 0; }
};

}  // namespace quillery::report
