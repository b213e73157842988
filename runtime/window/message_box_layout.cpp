// Message box geometry from dialog units.
#include "runtime/window/message_box_layout.h"

#include <algorithm>

namespace quillery {
namespace {

// units * base / divisor, rounded half away from zero as the desktop's own dialogs do.
int scaled(int units, int base, int divisor) {
    const long long product = static_cast<long long>(units) * base;
    const long long half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor : (product - half) / divisor);
}

}  // namespace

int dialogUnitsToPixelsX(int units, DialogBaseUnits base) {
    return scaled(units, base.x, 4);
}
int dialogUnitsToPixelsY(int units, DialogBaseUnits base) {
    return scaled(units, base.y, 8);
}

MessageBoxLayout layoutMessageBox(const MessageBoxLayoutInput& in) {
    const int marginX = dialogUnitsToPixelsX(kMessageBoxMargin, in.base);
    const int marginY = dialogUnitsToPixelsY(kMessageBoxMargin, in.base);
    const int buttonWidth = dialogUnitsToPixelsX(kMessageButtonWidth, in.base);
    const int buttonHeight = dialogUnitsToPixelsY(kMessageButtonHeight, in.base);
    const int gap = dialogUnitsToPixelsX(kMessageButtonGap, in.base);
    const int buttonCount = std::max(in.buttonCount, 1);
    const bool hasIcon = in.iconWidth > 0 && in.iconHeight > 0;

    MessageBoxLayout out;
    const int bodyHeight = std::max(in.textHeight, hasIcon ? in.iconHeight : 0);
    if (hasIcon) {
        out.icon = {marginX, marginY + (bodyHeight - in.iconHeight) / 2, in.iconWidth,
                    in.iconHeight};
    }
    const int textX = marginX + (hasIcon ? in.iconWidth + marginX : 0);
    out.text = {textX, marginY + (bodyHeight - in.textHeight) / 2, in.textWidth, in.textHeight};

    const int rowWidth = buttonCount * buttonWidth + (buttonCount - 1) * gap;
    out.width = std::max({dialogUnitsToPixelsX(kMessageBoxMinWidth, in.base),
                          textX + in.textWidth + marginX, rowWidth + 2 * marginX, in.captionWidth});
    const int rowY = marginY + bodyHeight + marginY;
    out.height = rowY + buttonHeight + marginY;

    const int centred = textX + (in.textWidth - rowWidth) / 2;
    const int rowX = std::clamp(centred, marginX, out.width - marginX - rowWidth);
    for (int i = 0; i < buttonCount; ++i) {
        out.buttons.push_back({rowX + i * (buttonWidth + gap), rowY, buttonWidth, buttonHeight});
    }
    return out;
}

}  // namespace quillery
