// The preview at work on a seven-page listing: the thumbnail grid and its paging, the page
// field's range, zoom by click, menu and pop-up, the jump dialog, and Exit printing nothing.
#include "reports/report_preview.h"

#include <QAbstractSpinBox>
#include <QTest>

#include "reports/jump_to_page.h"
#include "reports/listings.h"
#include "reports/select_display.h"
#include "runtime/window/testing/input_synthesis.h"
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

// The cells of an `across` by `down` grid: one size with the page's proportions, 3 units apart
// from (1, 1), as large as the window allows below the tool bar.
void expectGrid(int across, int down) {
    const int windowWidth = PROP(0, Prop::Width), windowHeight = PROP(0, Prop::Height);
    const auto at = [](int k, Prop p) { return static_cast<int>(PROP(R::kFirstCellImage + k, p)); };
    const int width = at(0, Prop::Width), height = at(0, Prop::Height);
    for (int k = 0; k < across * down; ++k) {
        EXPECT_EQ(at(k, Prop::X), 1 + (k % across) * (width + 3)) << "cell " << k + 1;
        EXPECT_EQ(at(k, Prop::Y), 1 + (k / across) * (height + 3)) << "cell " << k + 1;
        EXPECT_EQ(at(k, Prop::Width), width);
        EXPECT_EQ(at(k, Prop::Height), height);
        EXPECT_EQ(static_cast<int>(PROP(R::kFirstCellBox + k, Prop::X)), at(k, Prop::X));
    }
    const int widest = (windowWidth - (across - 1) * 3 - 2) / across;
    const int tallest = (windowHeight - 18 - (down - 1) * 3 - 2) / down;
    EXPECT_LE(width, widest);
    EXPECT_LE(height, tallest);
    EXPECT_TRUE(width == widest || height == tallest) << width << " x " << height;
    EXPECT_NEAR(static_cast<double>(height) / width,
                static_cast<double>(PROP(R::kFirstCellImage, Prop::ImageHeight)) /
                    static_cast<int>(PROP(R::kFirstCellImage, Prop::ImageWidth)),
                0.03);
}

TEST_F(ListingTest, ChangeDisplayAndResizingLayTheGridOutAgain) {
    constexpr char kSelect[] = "PREVIEW:SELECTDISPLAY$SELECTWINDOW";
    constexpr char kJump[] = "PREVIEW:JUMPTOPAGE$JUMPWINDOW";
    namespace D = selectdisplay;
    useCatalogue(numberedBooks(35));  // seven pages
    int tallCellWidth = 0;
    ScriptedSession s;
    s.then(runTimers().in(kAuthorProgress))
        .then(menu(R::CHANGEDISPLAY))
        .then(inspect("the grid in force",
                      [](Window& w) {
                          EXPECT_EQ(std::string(PROP(0, Prop::Text)), "Change the Report Display");
                          EXPECT_EQ(static_cast<int>(PROP(D::INPUT_PAGESACROSS, Prop::Value)), 1);
                          EXPECT_EQ(static_cast<int>(PROP(D::INPUT_PAGESDOWN, Prop::RangeHigh)),
                                    10);
                          EXPECT_TRUE(w.hasControl(D::GROUP1));
                      })
                  .in(kSelect))
        .then(spin(D::INPUT_PAGESACROSS, 2))
        .then(spin(D::INPUT_PAGESDOWN, 1))
        .then(click(D::OK))
        .then(inspect("three by two",
                      [](Window& w) {
                          EXPECT_EQ(zone(2), "Pages 1-6 of 7");
                          EXPECT_EQ(static_cast<int>(PROP(R::PAGESACROSS, Prop::Value)), 3);
                          EXPECT_EQ(static_cast<int>(PROP(R::PAGESDOWN, Prop::Value)), 2);
                          EXPECT_FALSE(w.hasControl(R::kFirstCellImage + 6));
                          expectGrid(3, 2);
                      })
                  .in(kPreview))
        .then(resizeWindow(330, 420))  // tall: the width decides
        .then(inspect("tall",
                      [&](Window&) {
                          expectGrid(3, 2);
                          tallCellWidth = PROP(R::kFirstCellImage, Prop::Width);
                      }))
        .then(resizeWindow(520, 200))  // wide: the height decides
        .then(inspect("wide",
                      [&](Window&) {
                          expectGrid(3, 2);
                          EXPECT_NE(static_cast<int>(PROP(R::kFirstCellImage, Prop::Width)),
                                    tallCellWidth);
                          EXPECT_EQ(zone(2), "Pages 1-6 of 7");
                      }))
        .then(menu(R::JUMP))
        .then(type(jumptopage::JUMPPAGE, "5").in(kJump))
        .then(click(jumptopage::CANCELBUTTON).in(kJump))
        .then(expectZones("Pages 1-6 of 7", "No Zoom"))
        .then(menu(R::EXIT));
    AUTHORREPORT();
    EXPECT_TRUE(s.done()) << s.report();
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

// Types `page` into the jump window's page box and clicks OK, as a person does.
Action jumpByHand(std::string page) {
    return inspect("jump to page " + page + " by hand",
                   [page](Window& w) {
                       script_input::activate(w);
                       QWidget* box = w.controlWidget(jumptopage::JUMPPAGE);
                       ASSERT_NE(qobject_cast<QAbstractSpinBox*>(box), nullptr);
                       box->setFocus(Qt::MouseFocusReason);
                       QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);  // over the page
                       QTest::keyClicks(box, QString::fromStdString(page));
                       QTest::mouseClick(w.controlWidget(jumptopage::OKBUTTON), Qt::LeftButton);
                   })
        .in("PREVIEW:JUMPTOPAGE$JUMPWINDOW");
}

TEST_F(ListingTest, APageTypedBeyondEitherEndJumpsToThatEnd) {
    useCatalogue(numberedBooks(35));  // seven pages
    ScriptedSession s;
    s.then(runTimers().in(kAuthorProgress))
        .then(menu(R::JUMP))
        .then(jumpByHand("4"))
        .then(expectZones("Page 4 of 7", "No Zoom"))
        .then(menu(R::JUMP))
        .then(jumpByHand("12"))  // beyond the last page: the last page
        .then(expectZones("Page 7 of 7", "No Zoom"))
        .then(menu(R::JUMP))
        .then(jumpByHand("0"))  // before the first: the first
        .then(expectZones("Page 1 of 7", "No Zoom"))
        .then(menu(R::EXIT));
    AUTHORREPORT();
    EXPECT_TRUE(s.done()) << s.report();
}

}  // namespace
}  // namespace quillery::testing
