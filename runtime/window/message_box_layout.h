// Where the parts of a message box go. Measures are in dialog units, which scale with the box's
// font, so the box keeps its proportions whatever font the desktop substitutes.
#pragma once

#include <vector>

namespace quillery {

// The font's base units in pixels: a horizontal dialog unit is a quarter of `x` (the average
// character width), a vertical one an eighth of `y` (the character height).
struct DialogBaseUnits {
    int x = 0;
    int y = 0;
};

// Dialog units to pixels, rounded to the nearest pixel.
int dialogUnitsToPixelsX(int units, DialogBaseUnits base);
int dialogUnitsToPixelsY(int units, DialogBaseUnits base);

// Measures of the box, in dialog units.
inline constexpr int kMessageBoxMinWidth = 45;
inline constexpr int kMessageButtonWidth = 50;
inline constexpr int kMessageButtonHeight = 14;
inline constexpr int kMessageButtonGap = 5;
inline constexpr int kMessageBoxMargin = 7;
// Lines longer than this wrap at a word boundary.
inline constexpr int kMessageTextMaxWidth = 280;

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct MessageBoxLayoutInput {
    DialogBaseUnits base;
    int textWidth = 0;  // pixels, as the text will be drawn
    int textHeight = 0;
    int iconWidth = 0;  // 0 when the box has no icon
    int iconHeight = 0;
    int buttonCount = 1;
    // The caption as the title bar shows it, with room for the bar's buttons: a box is never
    // so narrow that the desktop has to cut its caption short.
    int captionWidth = 0;
};

struct MessageBoxLayout {
    int width = 0;  // the box's inside, without the desktop's frame
    int height = 0;
    PixelRect icon;  // empty when there is no icon
    PixelRect text;
    std::vector<PixelRect> buttons;  // in the order shown
};

// The icon at the top left, the text to its right, and below them one row of buttons centred
// under the text (moved in only as far as needed to stay inside the margins). The box is as
// wide as its widest part, its caption included, needs and never narrower than
// kMessageBoxMinWidth.
MessageBoxLayout layoutMessageBox(const MessageBoxLayoutInput& input);

}  // namespace quillery
