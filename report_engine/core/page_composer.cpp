// Composing bands into pages.
#include "report_engine/core/page_composer.h"

#include <algorithm>

namespace quillery::report {

PageComposer::PageComposer(int areaWidth, int areaHeight, PageSink& sink)
    : areaWidth_(areaWidth), areaHeight_(areaHeight), sink_(sink) {}

void PageComposer::add(int token, const BandBox& box) {
    Waiting band{token, box, false, false};
    if (box.keepWithNext && depth_ < kMaxKeepDepth) {
        band.opens = true;
        ++depth_;
    }
    if (box.keepEnd && depth_ > 0) {
        band.closes = true;
        --depth_;
    }
    waiting_.push_back(band);
    if (depth_ == 0) placeWaiting();
}

void PageComposer::endPage() {
    depth_ = 0;
    placeWaiting();
    if (pageOpen_) finishPage();
}

void PageComposer::placeWaiting() {
    // The groups as the marks nest them; groups still open are closed at the end.
    std::vector<Node> stack(1);
    stack.front().group = false;
    for (std::size_t i = 0; i < waiting_.size(); ++i) {
        if (waiting_[i].opens) stack.push_back(Node{0, {}, true});
        stack.back().children.push_back(Node{i, {}, false});
        if (waiting_[i].closes && stack.size() > 1) {
            Node done = std::move(stack.back());
            stack.pop_back();
            stack.back().children.push_back(std::move(done));
        }
    }
    while (stack.size() > 1) {
        Node done = std::move(stack.back());
        stack.pop_back();
        stack.back().children.push_back(std::move(done));
    }
    for (const Node& node : stack.front().children)
        placeNode(node);
    waiting_.clear();
}

void PageComposer::placeNode(const Node& node) {
    if (!node.group) {
        placeBand(waiting_[node.band]);
        return;
    }
    if (!fitsHere(node) && bandsOnPage_ > 0) finishPage();
    if (fitsHere(node)) {
        // Whole on this page: no band of it can break the page.
        for (const Node& child : node.children)
            placeNode(child);
        return;
    }
    // Taller than a page: split between its parts, each kept whole where it can be.
    for (const Node& child : node.children)
        placeNode(child);
}

bool PageComposer::fits(const Node& node, Position& at) const {
    if (!node.group) {
        int x = 0, y = 0;
        return advance(waiting_[node.band].box, at, x, y) <= areaHeight_;
    }
    for (const Node& child : node.children) {
        if (!fits(child, at)) return false;
    }
    return true;
}

bool PageComposer::fitsHere(const Node& node) const {
    Position at = at_;
    return fits(node, at);
}

int PageComposer::advance(const BandBox& box, Position& at, int& x, int& y) const {
    if (box.across) {
        if (at.x > 0 && at.x + box.width > areaWidth_) {
            at.y += at.rowHeight;
            at.x = 0;
            at.rowHeight = 0;
        }
        x = at.x;
        y = at.y;
        at.x += box.width;
        if (!box.noVerticalSpace) at.rowHeight = std::max(at.rowHeight, box.height);
        return y + box.height;
    }
    if (at.x > 0) {
        at.y += at.rowHeight;
        at.x = 0;
        at.rowHeight = 0;
    }
    x = 0;
    y = at.y;
    if (!box.noVerticalSpace) at.y += box.height;
    return y + box.height;
}

void PageComposer::placeBand(const Waiting& band) {
    Position next = at_;
    int x = 0, y = 0;
    // A band too tall for an empty page is placed anyway, alone, and the page then ends.
    if (advance(band.box, next, x, y) > areaHeight_ && bandsOnPage_ > 0) {
        finishPage();
        next = at_;
        advance(band.box, next, x, y);
    }
    if (!pageOpen_) {
        pageOpen_ = true;
        sink_.beginPage(band.token);
    }
    sink_.placeBand(band.token, x, y);
    at_ = next;
    ++bandsOnPage_;
    lastToken_ = band.token;
}

void PageComposer::finishPage() {
    sink_.endPage(lastToken_);
    pageOpen_ = false;
    bandsOnPage_ = 0;
    at_ = Position{};
    ++pagesEnded_;
}

}  // namespace quillery::report
