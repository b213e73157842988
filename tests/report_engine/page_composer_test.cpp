// Page composition as numbers: where each band lands and where pages break.
#include "report_engine/core/page_composer.h"

#include <gtest/gtest.h>

#include <vector>

namespace quillery::report {
namespace {

struct Placed {
    int page;
    int token;
    int x;
    int y;
    bool operator==(const Placed&) const = default;
};

// Records what the composer does; pages count from 1.
class Recorder : public PageSink {
  public:
    void beginPage(int firstToken) override {
        ++page;
        firsts.push_back(firstToken);
        EXPECT_FALSE(open) << "a page began inside another";
        open = true;
    }
    void placeBand(int token, int x, int y) override {
        EXPECT_TRUE(open);
        placed.push_back({page, token, x, y});
    }
    void endPage(int lastToken) override {
        EXPECT_TRUE(open);
        open = false;
        lasts.push_back(lastToken);
    }
    int page = 0;
    bool open = false;
    std::vector<Placed> placed;
    std::vector<int> firsts;
    std::vector<int> lasts;
};

BandBox band(int height, unsigned marks = 0) {
    BandBox box{6000, height};
    box.keepWithNext = marks & 1;
    box.keepEnd = marks & 2;
    return box;
}
constexpr unsigned kOpen = 1;
constexpr unsigned kClose = 2;

TEST(PageComposer, StacksBandsAndBreaksWhereTheNextNoLongerFits) {
    Recorder pages;
    PageComposer composer(6000, 7500, pages);
    for (int token = 1; token <= 11; ++token)
        composer.add(token, band(1375));
    // Five bands of 1375 use 6875 of 7500; the sixth starts page 2 at the top.
    ASSERT_EQ(pages.placed.size(), 11u);
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(pages.placed[i], (Placed{i / 5 + 1, i + 1, 0, (i % 5) * 1375}));
    EXPECT_EQ(pages.lasts, (std::vector<int>{5, 10}));
    EXPECT_TRUE(composer.pageOpen());
    composer.endPage();
    EXPECT_EQ(pages.firsts, (std::vector<int>{1, 6, 11}));
    EXPECT_EQ(pages.lasts, (std::vector<int>{5, 10, 11}));
    EXPECT_EQ(composer.pagesEnded(), 3);
    composer.endPage();  // no page open: nothing
    EXPECT_EQ(composer.pagesEnded(), 3);
}

TEST(PageComposer, ExactFitStaysAndOversizedBandsTakeAPageOfTheirOwn) {
    Recorder pages;
    PageComposer composer(6000, 1000, pages);
    composer.add(1, band(400));
    composer.add(2, band(600));   // ends exactly at the bottom: fits
    composer.add(3, band(2500));  // taller than the area: next page, alone
    composer.add(4, band(2500));  // again, and never a loop
    composer.add(5, band(100));
    composer.endPage();
    EXPECT_EQ(pages.placed,
              (std::vector<Placed>{
                  {1, 1, 0, 0}, {1, 2, 0, 400}, {2, 3, 0, 0}, {3, 4, 0, 0}, {4, 5, 0, 0}}));
}

TEST(PageComposer, KeepsGroupsTogetherAndSplitsOversizedGroupsBetweenInnerGroups) {
    Recorder pages;
    PageComposer composer(6000, 1000, pages);
    composer.add(1, band(500));
    // A group of three (300 + 100 + 200) does not fit in the 500 left: it moves whole.
    composer.add(2, band(300, kOpen));
    composer.add(3, band(100));
    EXPECT_EQ(pages.placed.size(), 1u) << "bands wait while their group is open";
    composer.add(4, band(200, kClose));
    EXPECT_EQ(pages.placed,
              (std::vector<Placed>{{1, 1, 0, 0}, {2, 2, 0, 0}, {2, 3, 0, 300}, {2, 4, 0, 400}}));

    // An outer group of 1400 cannot fit any page: it starts a page, then splits between its
    // inner groups, each kept whole.
    pages.placed.clear();
    composer.add(10, band(100, kOpen));
    composer.add(11, band(400, kOpen));
    composer.add(12, band(400, kClose));
    composer.add(13, band(250, kOpen));
    composer.add(14, band(250, kClose | 0));
    composer.add(15, band(0, kClose));
    EXPECT_EQ(pages.placed, (std::vector<Placed>{{3, 10, 0, 0},
                                                 {3, 11, 0, 100},
                                                 {3, 12, 0, 500},
                                                 {4, 13, 0, 0},
                                                 {4, 14, 0, 250},
                                                 {4, 15, 0, 500}}));
}

TEST(PageComposer, NestsAtMostTenLevelsAndEndPageClosesOpenGroups) {
    Recorder pages;
    PageComposer composer(6000, 10000, pages);
    for (int token = 1; token <= 12; ++token)
        composer.add(token, band(10, kOpen));  // the eleventh and twelfth open nothing
    for (int token = 13; token <= 21; ++token)
        composer.add(token, band(10, kClose));
    EXPECT_TRUE(pages.placed.empty()) << "one level is still open";
    composer.add(22, band(10, kClose));
    EXPECT_EQ(pages.placed.size(), 22u);

    composer.add(23, band(10, kOpen));
    composer.endPage();
    ASSERT_EQ(pages.placed.size(), 23u);
    EXPECT_EQ(pages.placed.back(), (Placed{1, 23, 0, 220}));
    EXPECT_EQ(pages.lasts, (std::vector<int>{23}));
}

TEST(PageComposer, AcrossBandsFillRowsAndBandsWithoutVerticalSpaceOverlap) {
    Recorder pages;
    PageComposer composer(6000, 1000, pages);
    BandBox label{2500, 300};
    label.across = true;
    for (int token = 1; token <= 5; ++token)
        composer.add(token, label);
    BandBox overlay = band(100);
    overlay.noVerticalSpace = true;
    composer.add(6, overlay);
    composer.add(7, band(100));
    composer.add(8, label);  // only 100 left below: next page
    EXPECT_EQ(pages.placed, (std::vector<Placed>{{1, 1, 0, 0},
                                                 {1, 2, 2500, 0},
                                                 {1, 3, 0, 300},
                                                 {1, 4, 2500, 300},
                                                 {1, 5, 0, 600},
                                                 {1, 6, 0, 900},
                                                 {1, 7, 0, 900},
                                                 {2, 8, 0, 0}}));
}

}  // namespace
}  // namespace quillery::report
