// A report band's controls turned into what they show at the moment it is printed (texts
// formatted from their use variables, pictures loaded), and that drawing recorded onto a page.
//
// How controls print: strings show their use variable through their picture (or their own
// text) on one line, cut at the control's edges; multi-line texts are broken at blanks into the
// lines that fit the control's height (the first line always shows); images are scaled into
// their rectangle; lines run from the control's corner by its width and height; boxes have a
// border (black unless coloured) and an optional fill. A string marked as the page number
// shows the number of the page it lands on through its picture.
#pragma once

#include <map>
#include <memory>
#include <span>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

#include "report_engine/core/metafile_writer.h"
#include "report_engine/core/page_geometry.h"
#include "report_engine/core/raster_image.h"
#include "runtime/window/layout.h"
#include "runtime/window/use_variable.h"

namespace quillery::report {

struct TextLines {
    Rect at;  // thousandths, from the band's top left
    FontChoice font;
    unsigned align = 0;  // ControlFlag::kRight or kCenter, else left
    std::vector<std::string> lines;
    int lineHeight = 0;                  // thousandths
    std::string_view pageNumberPicture;  // used when `isPageNumber`
    bool isPageNumber = false;
    bool fits = false;  // every line lies inside `at`: drawn without clipping
};
struct LineDrawing {
    Rect at;
    std::int32_t color = kNoColor;
};
struct BoxDrawing {
    Rect at;
    std::int32_t border = kNoColor;
    std::int32_t fill = kNoColor;
};
struct ImageDrawing {
    Rect at;
    std::shared_ptr<const RasterImage> image;
};
using BandItem = std::variant<TextLines, LineDrawing, BoxDrawing, ImageDrawing>;

// A band as it showed when it was printed.
struct BandPicture {
    std::vector<BandItem> items;
};

// Pictures by name and size, so that a header printed with every band reads its file once.
class PictureCache {
  public:
    std::shared_ptr<const RasterImage> get(std::string_view name, int widthDots, int heightDots);

  private:
    std::map<std::tuple<std::string, int, int>, std::shared_ptr<const RasterImage>> pictures_;
};

struct BandContext {
    std::span<const UseVariable> uses;  // the report's use variables, in layout order
    FontChoice reportFont;              // for controls without a font of their own
    PictureCache& pictures;
};

BandPicture renderBand(std::span<const ControlLayout* const> controls, const BandContext& context);

// Records `band` with its top left at (x, y) thousandths of the printable area; page number
// controls show `pageNumber`.
void drawBand(const BandPicture& band, int x, int y, int pageNumber, const PageGeometry& geometry,
              MetafileWriter& page);

}  // namespace quillery::report
