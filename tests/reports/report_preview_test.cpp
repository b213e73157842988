// The preview at work on a seven-page listing: the thumbnail grid and its paging, the page
// field's range, zoom by click, menu and pop-up, the jump dialog, and Exit printing nothing.
#include "reports/report_preview.h"
#include "reports/listings.h"
#include "support/request_globals.h"
#include "tests/reports/listing_support.h"

namespace quillery::testing {
namespace {

using namespace script;
namespace R = reportpreview;

std::string zone(int n) {
    return PROP(0, Prop::StatusText, n).text();
}
bool off(int field) {
    return PROP(field, Prop::Disable).number() != 0;
}
bool hidden(int field) {
    return PROP(field, Prop::Hide).number() != 0;
}
Action expectZones(std::string page, std::string zoom) {
    return inspect("status " + page + " / " + zoom,
                   [page, zoom](Window&) {
                       EXPECT_EQ(zone(2), page);
                       EXPECT_EQ(zone(3), zoom);
                   })
        .in(kPreview);
}

TEST_F(ListingTest, PreviewPagesThroughGridAndZoom) {
    useCatalogue(numberedBooks(35));  // seven pages
    ScriptedSession s;
    s.then(runTimers().in(kAuthorProgress))
        .then(expectZones("Page 1 of 7", "No Zoom"))
        .then(spin(R::PAGESACROSS, 1))
        .then(spin(R::PAGESDOWN, 1))
        .then(expectZones("Pages 1-4 of 7", "No Zoom"))
        .then(menu(R::NEXT))
        .then(inspect("second screen",
                      [](Window& w) {
                          EXPECT_EQ(zone(2), "Pages 5-7 of 7");
                          EXPECT_TRUE(hidden(R::kFirstCellImage + 3));  // no page 8
                          EXPECT_TRUE(off(R::NEXT));
                          EXPECT_FALSE(off(R::PREVIOUS));
                          // Every cell keeps the page's proportions.
                          const auto ratio = [](Prop height, Prop width) {
                              return static_cast<double>(PROP(R::kFirstCellImage, height)) /
                                     static_cast<int>(PROP(R::kFirstCellImage, width));
                          };
                          EXPECT_NEAR(ratio(Prop::Height, Prop::Width),
                                      ratio(Prop::ImageHeight, Prop::ImageWidth), 0.03);
                          EXPECT_EQ(w.hasControl(R::kFirstCellImage + 4), false);
                      }))
        .then(press(KEY::PgDn))
        .then(expectZones("Pages 5-7 of 7", "No Zoom"))
        .then(menu(R::PREVIOUS))
        .then(expectZones("Pages 1-4 of 7", "No Zoom"))
        .then(type(R::CURRENTPAGE, "3"))
        .then(menu(R::PREVIOUS))  // from 3 back to 1, not below
        .then(expectZones("Pages 1-4 of 7", "No Zoom"))
        .then(type(R::CURRENTPAGE, "12"))  // above the range: the last page
        .then(inspect("page field at its bound",
                      [](Window&) {
                          EXPECT_EQ(static_cast<int>(PROP(R::CURRENTPAGE, Prop::Value)), 7);
                          EXPECT_EQ(zone(2), "Page 7 of 7");
                      }))
        .then(type(R::CURRENTPAGE, "2"))
        .then(mouse(R::kFirstCellImage + 1))  // page 3 zoomed to the page width
        .then(inspect("zoomed",
                      [](Window& w) {
                          EXPECT_EQ(zone(2), "Page 3 of 7");
                          EXPECT_EQ(zone(3), "Zoom (Page Width)");
                          EXPECT_FALSE(w.hasControl(R::kFirstCellImage));
                          EXPECT_TRUE(w.hasControl(R::kZoomImage));
                      }))
        .then(menu(R::ZOOM200))
        .then(expectZones("Page 3 of 7", "Zoom (200%)"))
        .then(click(R::ZOOMBUTTON))
        .then(choosePopup(5))  // 100%
        .then(inspect("popup",
                      [](Window&) {
                          EXPECT_EQ(zone(3), "Zoom (100%)");
                          EXPECT_EQ(static_cast<int>(PROP(R::kZoomImage, Prop::PictureWidth)),
                                    static_cast<int>(PROP(R::kZoomImage, Prop::ImageWidth)));
                      }))
        .then(menu(R::JUMP))
        .then(type(jumptopage::JUMPPAGE, "7").in("PREVIEW:JUMPTOPAGE$JUMPWINDOW"))
        .then(click(jumptopage::OKBUTTON).in("PREVIEW:JUMPTOPAGE$JUMPWINDOW"))
        .then(menu(R::NEXT))  // zoomed on the last page: stays
        .then(expectZones("Page 7 of 7", "Zoom (100%)"))
        .then(mouse(R::kZoomImage))  // back to the grid, rebuilt at 2 x 2
        .then(expectZones("Page 7 of 7", "No Zoom"))
        .then(menu(R::EXIT));
    AUTHORREPORT();
    EXPECT_TRUE(s.done()) << s.report();
    EXPECT_EQ(GLOBALRESPONSE, RequestCompleted);
    EXPECT_TRUE(temporaryFiles().isEmpty());
}

}  // namespace
}  // namespace quillery::testing
