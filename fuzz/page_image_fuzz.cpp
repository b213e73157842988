// libFuzzer target: arbitrary bytes read as a page image file, every step of the page touched.
// Seeded with real page images (fuzz/corpus/page_image), so inputs start with a valid header
// and reach the records.
#include <cstddef>
#include <cstdint>
#include <span>
#include <variant>

#include "report_engine/core/metafile_reader.h"

namespace {

using namespace quillery::report;

// Touches what a player would read, so that a bad value in any step shows.
struct Touch {
    std::uint64_t sum = 0;
    void operator()(const PageStep::Text& s) {
        for (char c : s.text)
            sum += static_cast<unsigned char>(c);
        if (s.clip) sum += static_cast<std::uint64_t>(s.clip->right - s.clip->left);
    }
    void operator()(const PageStep::Bitmap& s) {
        for (std::uint32_t p : s.image.pixels)
            sum += p;
        sum += static_cast<std::uint64_t>(s.image.width) * s.image.height;
    }
    void operator()(const PageStep::SelectFont& s) { sum += s.font.faceName.size(); }
    template <class Step>
    void operator()(const Step&) {
        ++sum;
    }
};

// Keeps the touches from being optimised away.
volatile std::uint64_t touchedSum = 0;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto page = readPageImage(std::span<const std::uint8_t>(data, size));
    if (!page) return 0;
    Touch touch;
    for (const PageDrawStep& step : page->steps)
        std::visit(touch, step);
    touchedSum = touch.sum;
    return 0;
}
