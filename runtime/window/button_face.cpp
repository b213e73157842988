// Stacked faces for push buttons: picture above text when the button is tall enough.
#include "runtime/window/button_face.h"

#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <algorithm>

namespace quillery {
namespace {

constexpr int kMinIconSide = 16;
constexpr int kGap = 2;

// The text as it shows: '&' marks the mnemonic letter and "&&" stands for one '&'.
QString shownText(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i;
        else if (text[i] == '&')
            continue;
        shown.append(text[i]);
    }
    return shown;
}

QStyleOptionButton optionOf(const QPushButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.features = QStyleOptionButton::None;
    if (button.isDefault()) option.features |= QStyleOptionButton::DefaultButton;
    if (button.isFlat()) option.features |= QStyleOptionButton::Flat;
    if (button.isDown()) option.state |= QStyle::State_Sunken;
    if (button.isChecked()) option.state |= QStyle::State_On;
    if (!button.isFlat() && !button.isDown()) option.state |= QStyle::State_Raised;
    option.text = button.text();
    option.icon = button.icon();
    option.iconSize = button.iconSize();
    return option;
}

}  // namespace

std::optional<ButtonFace> stackedButtonFace(const QRect& contents, const QRect& frame,
                                            const QSize& iconSize, const QFontMetrics& metrics,
                                            const QString& text) {
    if (text.isEmpty() || iconSize.isEmpty()) return std::nullopt;
    const int lineHeight = metrics.height();
    const int room = contents.height() - kGap - lineHeight;
    const int side = std::min({iconSize.width(), iconSize.height(), room, contents.width()});
    if (side < kMinIconSide) return std::nullopt;

    const int top = contents.top() + (contents.height() - (side + kGap + lineHeight)) / 2;
    ButtonFace face;
    face.icon = QRect(contents.left() + (contents.width() - side) / 2, top, side, side);
    // A text wider than the contents may run into the bevel's margins rather than be cut.
    const int textWidth =
        std::min(std::max(contents.width(), metrics.horizontalAdvance(shownText(text)) + 2),
                 frame.width() - 2);
    face.text = QRect(frame.left() + (frame.width() - textWidth) / 2, top + side + kGap, textWidth,
                      lineHeight);
    return face;
}

std::optional<ButtonFace> stackedButtonFace(const QPushButton& button) {
    if (button.icon().isNull()) return std::nullopt;
    const QStyleOptionButton option = optionOf(button);
    const QRect contents =
        button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
    return stackedButtonFace(contents, button.rect(), button.iconSize(), button.fontMetrics(),
                             button.text());
}

void StackedPushButton::paintEvent(QPaintEvent* event) {
    const std::optional<ButtonFace> face = stackedButtonFace(*this);
    if (!face) {
        QPushButton::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionButton bevel = optionOf(*this);
    bevel.text.clear();
    bevel.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButtonBevel, bevel);

    const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
    painter.drawPixmap(
        face->icon, icon().pixmap(face->icon.size(), mode, isChecked() ? QIcon::On : QIcon::Off));
    painter.drawItemText(face->text, Qt::AlignHCenter | Qt::AlignTop | Qt::TextShowMnemonic,
                         palette(), isEnabled(), text(), QPalette::ButtonText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &bevel, this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

}  // namespace quillery
