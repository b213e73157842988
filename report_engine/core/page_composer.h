// Places the bands a report prints onto pages: top to bottom within the detail area (or side by
// side for bands that lie across), a new page when a band does not fit, and keep-together
// groups moved whole to the next page rather than split.
//
// Keep-together groups: a band marked keepWithNext opens a group that holds it and every band
// after it up to and including the band marked keepEnd, which closes the innermost open group.
// Groups nest up to kMaxKeepDepth levels; a deeper opening mark is ignored. Bands wait while a
// group is open and are placed when the outermost group closes (or at endPage, which closes
// every group). A group that does not fit in what is left of a page goes to the next page; a
// group taller than a whole page is then split between its inner groups and bands.
#pragma once

#include <cstddef>
#include <vector>

namespace quillery::report {

inline constexpr int kMaxKeepDepth = 10;

struct BandBox {
    int width = 0;  // thousandths of an inch
    int height = 0;
    bool keepWithNext = false;
    bool keepEnd = false;
    bool noVerticalSpace = false;  // placed without moving the position down
    bool across = false;           // moves the position right by its width instead of down
};

// What the composer tells the page side. Tokens are the caller's names for printed bands.
class PageSink {
  public:
    virtual ~PageSink() = default;
    // A page starts; `firstToken` is the band that will be placed first on it.
    virtual void beginPage(int firstToken) = 0;
    // Places band `token` at (x, y) thousandths from the detail area's top left.
    virtual void placeBand(int token, int x, int y) = 0;
    // The page ends; `lastToken` was the last band placed on it.
    virtual void endPage(int lastToken) = 0;
};

class PageComposer {
  public:
    // Requires: `sink` outlives the composer.
    PageComposer(int areaWidth, int areaHeight, PageSink& sink);

    // Takes the next printed band; places it, or keeps it waiting while a group is open.
    void add(int token, const BandBox& box);
    // Places every waiting band, then ends the page if one is open.
    void endPage();

    bool pageOpen() const { return pageOpen_; }
    // The number of pages ended so far.
    int pagesEnded() const { return pagesEnded_; }

  private:
    struct Waiting {
        int token;
        BandBox box;
        bool opens;   // opened a group when it came
        bool closes;  // closed one
    };
    struct Node {
        std::size_t band = 0;  // index into waiting_ when a leaf
        std::vector<Node> children;
        bool group = false;
    };
    struct Position {
        int x = 0;
        int y = 0;
        int rowHeight = 0;  // height of the row of across bands being filled
    };

    void placeWaiting();
    void placeNode(const Node& node);
    // Whether every band of `node` stays within the area when placed from `at`, which moves on.
    bool fits(const Node& node, Position& at) const;
    bool fitsHere(const Node& node) const;
    void placeBand(const Waiting& band);
    // Where `box` goes from `at`, and `at` moved past it. Returns the band's bottom.
    int advance(const BandBox& box, Position& at, int& x, int& y) const;
    void finishPage();

    int areaWidth_;
    int areaHeight_;
    PageSink& sink_;
    std::vector<Waiting> waiting_;
    int depth_ = 0;
    Position at_;
    bool pageOpen_ = false;
    int bandsOnPage_ = 0;
    int lastToken_ = 0;
    int pagesEnded_ = 0;
};

}  // namespace quillery::report
