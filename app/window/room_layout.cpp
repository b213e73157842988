// The main window's controls placed for the room the window has.
#include "app/window/room_layout.h"

#include <algorithm>

#include "runtime/window/window.h"

namespace quillery {

namespace W = displayquillery;

namespace {

// The cover never grows wider than the entry panel below it.
constexpr int kPanelWidth = 213;

// The cover keeps its right and bottom edges by the panel and takes every extra unit of height,
// its width following in the designed portrait proportion.
Rect coverInRoom(const Rect& design, int dx, int dy) {
    int height = design.height + dy;
    int width = height * design.width / design.height;
    if (width > kPanelWidth) {
        width = kPanelWidth;
        height = width * design.height / design.width;
    }
    const int right = design.x + design.width + dx;
    const int bottom = design.y + design.height + dy;
    return {right - width, bottom - height, width, height};
}

}  // namespace

Rect placeInRoom(const Rect& design, W::Anchor anchor, int extraWidth, int extraHeight,
                 int letter) {
    const int dx = std::max(0, extraWidth);
    const int dy = std::max(0, extraHeight);
    Rect at = design;
    switch (anchor) {
        case W::Anchor::Grows:
            at.width += dx;
            at.height += dy;
            break;
        case W::Anchor::RightBottom:
            at.x += dx;
            at.y += dy;
            break;
        case W::Anchor::Letter:
            // The 26 buttons share the extra width in 25 equal steps, so the last one ends as
            // far from the Comments button as it does at the design size.
            at.x += dx * letter / 25;
            at.y += dy;
            break;
        case W::Anchor::LetterBar:
            at.width += dx;
            at.y += dy;
            break;
        case W::Anchor::Right:
            at.x += dx;
            break;
        case W::Anchor::Cover:
            at = coverInRoom(design, dx, dy);
            break;
    }
    return at;
}

void fitControlsToRoom() {
    const int extraWidth = static_cast<int>(PROP(0, Prop::Width)) - W::kDesignWidth;
    const int extraHeight = static_cast<int>(PROP(0, Prop::Height)) - W::kDesignHeight;
    for (const W::AnchoredControl& anchored : anchoredControls()) {
        const ControlLayout* control = mainWindowControl(anchored.field);
        if (control == nullptr) continue;
        const Rect at = placeInRoom(control->at, anchored.anchor, extraWidth, extraHeight,
                                    anchored.field - W::A);
        PROP(anchored.field, Prop::X) = at.x;
        PROP(anchored.field, Prop::Y) = at.y;
        PROP(anchored.field, Prop::Width) = at.width;
        PROP(anchored.field, Prop::Height) = at.height;
    }
}

}  // namespace quillery
