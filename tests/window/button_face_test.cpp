// Push buttons with a picture and a text: tall ones stack the picture above the whole text,
// low ones keep the two side by side.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPushButton>
#include <cstdlib>
#include <optional>

#include "runtime/window/button_face.h"
#include "runtime/window/testing/test_driver.h"
#include "runtime/window/window.h"
#include "tests/common/test_pictures.h"

namespace quillery {
namespace {

enum Field { COMMENT = 1, SMALL, PLAIN };

constexpr ControlLayout kControls[] = {
    {.kind = ControlKind::Button,
     .field = COMMENT,
     .text = "Comments",
     .at = {5, 5, 47, 36},
     .icon = "note.ico"},
    {.kind = ControlKind::Button,
     .field = SMALL,
     .text = "Save",
     .at = {60, 5, 47, 14},
     .icon = "save.ico"},
    {.kind = ControlKind::Button, .field = PLAIN, .text = "Plain", .at = {60, 25, 47, 36}},
};
constexpr WindowLayout kLayout{.module = "BUTTONS",
                               .structure = "WINDOW",
                               .text = "Buttons",
                               .at = {0, 0, 120, 50},
                               .controls = kControls};

QPushButton* pushButton(Window& window, int field) {
    return qobject_cast<QPushButton*>(window.controlWidget(field));
}

// The rectangle the note picture's orange covers in `image`; empty when it does not show.
QRect orangeArea(const QImage& image) {
    QRect area;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - 200) < 24 && std::abs(c.green() - 140) < 24 &&
                std::abs(c.blue() - 20) < 24) {
                area = area.united(QRect(x, y, 1, 1));
            }
        }
    }
    return area;
}

TEST(ButtonFaces, TallButtonStacksItsPictureAboveItsWholeText) {
    testing::testPictureDirectory();
    Window window(kLayout);
    OPEN(window);
    QPushButton* button = pushButton(window, COMMENT);
    ASSERT_NE(button, nullptr);
    ASSERT_FALSE(button->icon().isNull());
    const std::optional<ButtonFace> face = stackedButtonFace(*button);
    ASSERT_TRUE(face.has_value());
    EXPECT_LT(face->icon.bottom(), face->text.top());
    EXPECT_GE(face->icon.width(), 16);
    EXPECT_GE(face->text.width(), button->fontMetrics().horizontalAdvance("Comments"));
    EXPECT_TRUE(button->rect().contains(face->icon));
    EXPECT_TRUE(button->rect().contains(face->text));

    // On screen the picture stands where the face puts it, clear of the text line.
    const QImage image = button->grab().toImage();
    const QRect orange = orangeArea(image);
    ASSERT_FALSE(orange.isEmpty());
    EXPECT_TRUE(face->icon.adjusted(-1, -1, 1, 1).contains(orange));
    EXPECT_LT(orange.bottom(), face->text.top());
    CLOSE(window);
}

TEST(ButtonFaces, LowButtonsAndButtonsWithoutPicturesDrawAsBefore) {
    testing::testPictureDirectory();
    Window window(kLayout);
    OPEN(window);
    ASSERT_NE(pushButton(window, SMALL), nullptr);
    ASSERT_FALSE(pushButton(window, SMALL)->icon().isNull());
    EXPECT_FALSE(stackedButtonFace(*pushButton(window, SMALL)).has_value());
    ASSERT_NE(pushButton(window, PLAIN), nullptr);
    EXPECT_FALSE(stackedButtonFace(*pushButton(window, PLAIN)).has_value());
    CLOSE(window);
}

TEST(ButtonFaces, StacksOnlyWhenAPictureOfSixteenAndALineFit) {
    const QFontMetrics metrics{QFont()};
    const int line = metrics.height();
    const QRect frame(0, 0, 80, 100);
    const int fits = 16 + 2 + line;
    struct HeightCase {
        int height;
        int iconSide;  // 0: not stacked
    };
    const HeightCase cases[] = {
        {fits - 1, 0}, {fits, 16}, {fits + 8, 24}, {fits + 40, 32}, {0, 0},
    };
    for (const HeightCase& c : cases) {
        const QRect contents(4, 4, 72, c.height);
        const auto face =
            stackedButtonFace(contents, frame, QSize(32, 32), metrics, QStringLiteral("Comments"));
        ASSERT_EQ(face.has_value(), c.iconSide != 0) << "height " << c.height;
        if (!face) continue;
        EXPECT_EQ(face->icon.size(), QSize(c.iconSide, c.iconSide)) << "height " << c.height;
        EXPECT_EQ(face->text.top(), face->icon.bottom() + 1 + 2);
        EXPECT_EQ(face->text.height(), line);
        EXPECT_GE(face->icon.top(), contents.top());
        EXPECT_LE(face->text.bottom(), contents.bottom());
        // Centred across the contents.
        EXPECT_NEAR(face->icon.center().x(), contents.center().x(), 1);
    }
    // No text or no picture: nothing to stack.
    EXPECT_FALSE(stackedButtonFace(QRect(0, 0, 72, 80), frame, QSize(32, 32), metrics, QString()));
    EXPECT_FALSE(stackedButtonFace(QRect(0, 0, 72, 80), frame, QSize(), metrics, "Comments"));
    // A text wider than the contents takes the frame's width rather than being cut.
    const QString wide = QStringLiteral("Comments and more comments");
    const auto face =
        stackedButtonFace(QRect(10, 4, 20, 80), QRect(0, 0, 400, 88), QSize(16, 16), metrics, wide);
    ASSERT_TRUE(face.has_value());
    EXPECT_GE(face->text.width(), metrics.horizontalAdvance(wide));
    // Mnemonic marks take no room.
    const auto marked = stackedButtonFace(QRect(0, 0, 20, 80), QRect(0, 0, 400, 88), QSize(16, 16),
                                          metrics, QStringLiteral("&Comments"));
    ASSERT_TRUE(marked.has_value());
    EXPECT_EQ(marked->text.width(), metrics.horizontalAdvance("Comments") + 2);
}

}  // namespace
}  // namespace quillery
