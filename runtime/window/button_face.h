// Where a push button with both a picture and a text draws them when it is tall enough to
// stack the picture above the text, as tall desktop buttons do; lower buttons keep them side
// by side.
#pragma once

#include <QFontMetrics>
#include <QPushButton>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

namespace quillery {

struct ButtonFace {
    QRect icon;  // the picture, centred across the button
    QRect text;  // one line of text below it, at least as wide as the text
};

// Stacks `iconSize` (shrunk to fit, never below 16 pixels) above one line of `text` inside
// `contents`, the text free to use the width of `frame`. nullopt when the two do not fit one
// above the other.
std::optional<ButtonFace> stackedButtonFace(const QRect& contents, const QRect& frame,
                                            const QSize& iconSize, const QFontMetrics& metrics,
                                            const QString& text);

// The face `button` draws itself with; nullopt when it draws as an ordinary push button.
std::optional<ButtonFace> stackedButtonFace(const QPushButton& button);

// A push button that stacks its picture above its text when its height allows.
class StackedPushButton final : public QPushButton {
  public:
    using QPushButton::QPushButton;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace quillery
