// The standard message box: its rules, its layout, the real dialog answered through its buttons,
// and the "Runtime error" box of the fatal report.
#include "runtime/window/message_box.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "runtime/errors.h"
#include "runtime/runtime_options.h"
#include "runtime/settings_file.h"
#include "runtime/window/message_box_dialog.h"
#include "runtime/window/message_box_layout.h"
#include "runtime/window/runtime_error_box.h"
#include "tests/common/fatal_capture.h"
#include "tests/common/message_box_answer.h"

namespace quillery {
namespace {

using testing::BoxAnswerer;
using testing::kCloseBox;
using testing::kPressEscape;

constexpr int kAllButtons = 0xFF;

std::string screenshotPath(const char* name) {
    const QByteArray dir = qgetenv("QUILLERY_TEST_OUTPUT");
    if (dir.isEmpty()) return {};
    QDir().mkpath(QString::fromLocal8Bit(dir));
    return dir.toStdString() + "/" + name;
}

// ---- The rules -------------------------------------------------------------------------------

TEST(MessageBoxRules, EachBitAloneShowsThatButtonOnly) {
    for (int bit : kMessageButtonBits) {
        EXPECT_EQ(messageBoxButtons(bit), std::vector<int>{bit}) << bit;
    }
}

TEST(MessageBoxRules, ButtonsAppearInTableOrderWhateverTheSum) {
    EXPECT_EQ(messageBoxButtons(kAllButtons), (std::vector<int>{1, 2, 4, 8, 16, 32, 64, 128}));
    EXPECT_EQ(messageBoxButtons(BUTTON::Cancel | BUTTON::Yes | BUTTON::No),
              (std::vector<int>{2, 4, 64}));
    EXPECT_EQ(messageBoxButtons(BUTTON::Help | BUTTON::OK), (std::vector<int>{1, 128}));
    EXPECT_EQ(messageBoxButtons(BUTTON::Retry | BUTTON::Abort | BUTTON::Ignore),
              (std::vector<int>{8, 16, 32}));
}

TEST(MessageBoxRules, NoButtonsMeansOkAlone) {
    EXPECT_EQ(messageBoxButtons(0), std::vector<int>{BUTTON::OK});
    // Bits above the table are not buttons.
    EXPECT_EQ(messageBoxButtons(0x100), std::vector<int>{BUTTON::OK});
    EXPECT_EQ(messageBoxButtons(0x100 | BUTTON::No), std::vector<int>{BUTTON::No});
}

TEST(MessageBoxRules, DefaultIsLastShownButtonNamedElseFirstShown) {
    struct Case {
        int buttons;
        int defaultButton;
        int expected;
    };
    const Case cases[] = {
        {BUTTON::Yes | BUTTON::No, BUTTON::No, BUTTON::No},
        {BUTTON::Yes | BUTTON::No, BUTTON::Yes, BUTTON::Yes},
        {BUTTON::Yes | BUTTON::No, 0, BUTTON::Yes},
        {BUTTON::Yes | BUTTON::No, BUTTON::Cancel, BUTTON::Yes},  // not shown
        {BUTTON::Yes | BUTTON::No | BUTTON::Cancel, BUTTON::Yes | BUTTON::Cancel, BUTTON::Cancel},
        {BUTTON::Yes | BUTTON::No | BUTTON::Cancel, BUTTON::Yes | BUTTON::No, BUTTON::No},
        {kAllButtons, kAllButtons, BUTTON::Help},
        {0, BUTTON::Yes, BUTTON::OK},
        {0, 0, BUTTON::OK},
        {BUTTON::Retry | BUTTON::Cancel, BUTTON::Cancel, BUTTON::Cancel},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(messageBoxDefault(c.buttons, c.defaultButton), c.expected)
            << c.buttons << " default " << c.defaultButton;
    }
}

TEST(MessageBoxRules, ClosingWithoutAButtonChangesNothing) {
    struct Case {
        int buttons;
        int defaultButton;
        int expected;
    };
    const Case cases[] = {
        {BUTTON::Yes | BUTTON::No | BUTTON::Cancel, BUTTON::Yes, BUTTON::Cancel},
        {BUTTON::OK | BUTTON::Cancel, BUTTON::OK, BUTTON::Cancel},
        {BUTTON::Yes | BUTTON::No, BUTTON::Yes, BUTTON::No},
        {BUTTON::OK, BUTTON::OK, BUTTON::OK},
        {0, 0, BUTTON::OK},
        {BUTTON::Abort | BUTTON::Retry | BUTTON::Ignore, BUTTON::Retry, BUTTON::Retry},
        {BUTTON::Abort | BUTTON::Retry | BUTTON::Ignore, 0, BUTTON::Abort},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(messageBoxEscapeValue(c.buttons, c.defaultButton), c.expected) << c.buttons;
    }
}

TEST(MessageBoxRules, StandardCaptions) {
    const std::vector<std::string> expected = {"OK",     "&Yes",    "&No",    "&Abort",
                                               "&Retry", "&Ignore", "Cancel", "&Help"};
    for (std::size_t i = 0; i < kMessageButtonCount; ++i) {
        EXPECT_EQ(standardButtonCaption(kMessageButtonBits[i]), expected[i]);
    }
    EXPECT_EQ(standardButtonCaption(0), "");
    EXPECT_EQ(standardButtonCaption(BUTTON::Yes | BUTTON::No), "");
}

TEST(MessageBoxRules, BarsBecomeLineBreaks) {
    EXPECT_EQ(messageBoxText("Line one|Line two"), "Line one\r\nLine two");
    EXPECT_EQ(messageBoxText("|a||b|"), "\r\na\r\n\r\nb\r\n");
    EXPECT_EQ(messageBoxText("no bars"), "no bars");
    EXPECT_EQ(messageBoxText(""), "");
}

TEST(MessageBoxRules, BarsTurnOnlyWhileTheTextStaysWithinItsLimit) {
    // 1022 characters with one bar: turned, the text is 1023 long.
    std::string fits(1021, 'x');
    fits += '|';
    EXPECT_EQ(messageBoxText(fits), std::string(1021, 'x') + "\r\n");
    // 1023 characters: a turned bar would make 1024, so it stays.
    std::string full(1022, 'x');
    full += '|';
    EXPECT_EQ(messageBoxText(full), full);
    // The first bar fits, the second would not.
    std::string two = "a|" + std::string(1019, 'x') + "|";  // 1022 characters
    EXPECT_EQ(messageBoxText(two), "a\r\n" + std::string(1019, 'x') + "|");
    // A text longer than the limit keeps its bars and all its characters.
    std::string longer = "a|b" + std::string(2000, 'y');
    EXPECT_EQ(messageBoxText(longer), longer);
}

TEST(MessageBoxRules, IconNames) {
    EXPECT_EQ(ICON::None.name(), "");
    EXPECT_EQ(ICON::Stop.name(), "stop");
    EXPECT_EQ(ICON::Question.name(), "question");
    EXPECT_EQ(ICON::Exclamation.name(), "exclamation");
    EXPECT_EQ(ICON::Information.name(), "information");
    EXPECT_EQ(MessageIcon::fromPicture("book.ico").name(), "book.ico");
}

// ---- The layout ------------------------------------------------------------------------------

TEST(MessageBoxLayoutTest, DialogUnitsRoundToTheNearestPixel) {
    const DialogBaseUnits base{6, 13};
    EXPECT_EQ(dialogUnitsToPixelsX(50, base), 75);
    EXPECT_EQ(dialogUnitsToPixelsX(5, base), 8);  // 7.5 rounds up
    EXPECT_EQ(dialogUnitsToPixelsX(45, base), 68);
    EXPECT_EQ(dialogUnitsToPixelsX(0, base), 0);
    EXPECT_EQ(dialogUnitsToPixelsY(14, base), 23);  // 22.75
    EXPECT_EQ(dialogUnitsToPixelsY(8, base), 13);
    EXPECT_EQ(dialogUnitsToPixelsX(4, {7, 16}), 7);
}

TEST(MessageBoxLayoutTest, ButtonsAreFiftyUnitsWideFiveApartInOneRow) {
    const DialogBaseUnits base{6, 13};
    for (int count = 1; count <= 8; ++count) {
        MessageBoxLayoutInput in;
        in.base = base;
        in.textWidth = 40;
        in.textHeight = 13;
        in.buttonCount = count;
        const MessageBoxLayout out = layoutMessageBox(in);
        ASSERT_EQ(out.buttons.size(), static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(out.buttons[i].width, 75);
            EXPECT_EQ(out.buttons[i].height, 23);
            EXPECT_EQ(out.buttons[i].y, out.buttons[0].y);
            if (i > 0) {
                EXPECT_EQ(out.buttons[i].x - (out.buttons[i - 1].x + 75), 8);
            }
        }
        // Inside the margins and below the text.
        EXPECT_GE(out.buttons.front().x, 11);
        EXPECT_LE(out.buttons.back().x + 75, out.width - 11);
        EXPECT_GE(out.buttons.front().y, out.text.y + out.text.height);
        EXPECT_EQ(out.height, out.buttons.front().y + 23 + 11);
        EXPECT_GE(out.width, 68);
    }
}

TEST(MessageBoxLayoutTest, RowIsCentredUnderAWideText) {
    MessageBoxLayoutInput in;
    in.base = {6, 13};
    in.textWidth = 400;
    in.textHeight = 26;
    in.iconWidth = 32;
    in.iconHeight = 32;
    in.buttonCount = 2;
    const MessageBoxLayout out = layoutMessageBox(in);
    // Margin 7 units is 11 pixels: icon at 11, text after icon and margin.
    EXPECT_EQ(out.icon, (PixelRect{11, 11, 32, 32}));
    EXPECT_EQ(out.text, (PixelRect{54, 14, 400, 26}));  // centred on the icon's height
    EXPECT_EQ(out.width, 54 + 400 + 11);
    const int rowWidth = 75 + 8 + 75;
    EXPECT_EQ(out.buttons[0].x, 54 + (400 - rowWidth) / 2);
    EXPECT_EQ(out.buttons[0].y, 11 + 32 + 11);
}

TEST(MessageBoxLayoutTest, NarrowTextWidensTheBoxForTheButtons) {
    MessageBoxLayoutInput in;
    in.base = {6, 13};
    in.textWidth = 10;
    in.textHeight = 13;
    in.buttonCount = 3;
    const MessageBoxLayout out = layoutMessageBox(in);
    const int rowWidth = 3 * 75 + 2 * 8;
    EXPECT_EQ(out.width, rowWidth + 2 * 11);
    EXPECT_EQ(out.buttons[0].x, 11);
    EXPECT_EQ(out.icon, PixelRect{});
    EXPECT_EQ(out.text.x, 11);
}

TEST(MessageBoxLayoutTest, ALongCaptionWidensTheBoxSoTheTitleBarShowsItWhole) {
    MessageBoxLayoutInput in;
    in.base = {6, 13};
    in.textWidth = 40;
    in.textHeight = 13;
    in.captionWidth = 400;
    const MessageBoxLayout out = layoutMessageBox(in);
    EXPECT_EQ(out.width, 400);
    // The button stays centred under the text, inside the margins.
    EXPECT_EQ(out.buttons.size(), 1u);
    EXPECT_GE(out.buttons[0].x, 11);
    in.captionWidth = 20;  // a short caption changes nothing
    EXPECT_EQ(layoutMessageBox(in).width, 75 + 2 * 11);
}

// ---- The real box ----------------------------------------------------------------------------

TEST(MessageBoxShown, YesNoWithDefaultNo) {
    for (int answer : {BUTTON::Yes, BUTTON::No}) {
        BoxAnswerer answerer({answer});
        EXPECT_EQ(
            MESSAGE("Go on?", "Question", ICON::Question, BUTTON::Yes | BUTTON::No, BUTTON::No),
            answer);
        ASSERT_EQ(answerer.shown().size(), 1u);
        const auto& box = answerer.last();
        EXPECT_EQ(box.buttons, (std::vector<int>{BUTTON::Yes, BUTTON::No}));
        EXPECT_EQ(box.captions, (std::vector<std::string>{"&Yes", "&No"}));
        EXPECT_EQ(box.defaultButton, BUTTON::No);
        EXPECT_EQ(box.caption, "Question");
        EXPECT_EQ(box.text, "Go on?");
        EXPECT_EQ(box.icon, "question");
        EXPECT_TRUE(box.applicationModal);
        EXPECT_EQ(answerer.unexpected(), 0);
    }
}

TEST(MessageBoxShown, NoButtonsShowsOkAndReturnsOne) {
    BoxAnswerer answerer({BUTTON::OK});
    answerer.grabNextTo(screenshotPath("message_box_ok.png"));
    EXPECT_EQ(MESSAGE("Just so you know.", "Note", ICON::Information, 0), BUTTON::OK);
    ASSERT_EQ(answerer.shown().size(), 1u);
    EXPECT_EQ(answerer.last().buttons, std::vector<int>{BUTTON::OK});
    EXPECT_EQ(answerer.last().captions, std::vector<std::string>{"OK"});
    EXPECT_EQ(answerer.last().defaultButton, BUTTON::OK);
    EXPECT_EQ(answerer.last().icon, "information");
}

TEST(MessageBoxShown, BarSplitsTheTextIntoLines) {
    BoxAnswerer answerer({BUTTON::OK});
    MESSAGE("Line one|Line two", "Lines");
    ASSERT_EQ(answerer.shown().size(), 1u);
    EXPECT_EQ(answerer.last().text, "Line one\nLine two");
    EXPECT_EQ(answerer.last().displayed, "Line one\nLine two");
    EXPECT_EQ(answerer.last().icon, "");
}

TEST(MessageBoxShown, EveryButtonAloneReturnsItsBit) {
    for (int bit : kMessageButtonBits) {
        BoxAnswerer answerer({bit});
        EXPECT_EQ(MESSAGE("One button", "Buttons", ICON::None, bit), bit);
        ASSERT_EQ(answerer.shown().size(), 1u);
        EXPECT_EQ(answerer.last().buttons, std::vector<int>{bit});
        EXPECT_EQ(answerer.last().captions,
                  std::vector<std::string>{std::string(standardButtonCaption(bit))});
    }
}

TEST(MessageBoxShown, AllButtonsInOrderEachAnswerable) {
    for (int answer : kMessageButtonBits) {
        BoxAnswerer answerer({answer});
        EXPECT_EQ(MESSAGE("All of them", "Buttons", ICON::Exclamation, kAllButtons, BUTTON::Retry),
                  answer);
        ASSERT_EQ(answerer.shown().size(), 1u);
        EXPECT_EQ(answerer.last().buttons, (std::vector<int>{1, 2, 4, 8, 16, 32, 64, 128}));
        EXPECT_EQ(answerer.last().captions,
                  (std::vector<std::string>{"OK", "&Yes", "&No", "&Abort", "&Retry", "&Ignore",
                                            "Cancel", "&Help"}));
        EXPECT_EQ(answerer.last().defaultButton, BUTTON::Retry);
    }
}

TEST(MessageBoxShown, DefaultButtonFollowsTheRule) {
    const int buttons = BUTTON::Yes | BUTTON::No | BUTTON::Cancel;
    for (int named : {0, BUTTON::Yes, BUTTON::No, BUTTON::Cancel, BUTTON::Yes | BUTTON::No,
                      BUTTON::OK | BUTTON::Help}) {
        BoxAnswerer answerer({BUTTON::Yes});
        MESSAGE("Save?", "Default", ICON::Question, buttons, named);
        ASSERT_EQ(answerer.shown().size(), 1u);
        EXPECT_EQ(answerer.last().defaultButton, messageBoxDefault(buttons, named)) << named;
    }
}

TEST(MessageBoxShown, EscapeAndCloseBoxAnswerTheHarmlessButton) {
    struct Case {
        int buttons;
        int defaultButton;
        int expected;
    };
    const Case cases[] = {
        {BUTTON::Yes | BUTTON::No | BUTTON::Cancel, BUTTON::Yes, BUTTON::Cancel},
        {BUTTON::Yes | BUTTON::No, BUTTON::Yes, BUTTON::No},
        {BUTTON::OK, 0, BUTTON::OK},
        {BUTTON::Abort | BUTTON::Retry | BUTTON::Ignore, BUTTON::Ignore, BUTTON::Ignore},
    };
    for (int how : {kPressEscape, kCloseBox}) {
        for (const Case& c : cases) {
            BoxAnswerer answerer({how});
            EXPECT_EQ(MESSAGE("Leave?", "Escape", ICON::None, c.buttons, c.defaultButton),
                      c.expected)
                << c.buttons << " how " << how;
            EXPECT_EQ(answerer.shown().size(), 1u);
        }
    }
}

TEST(MessageBoxShown, LaidOutInDialogUnitsOfItsFont) {
    const QFont font = messageBoxFont();
    EXPECT_EQ(font.pointSize(), 8);
    EXPECT_FALSE(QFontInfo(font).family().isEmpty());
    const DialogBaseUnits base = dialogBaseUnits(font);
    ASSERT_GT(base.x, 0);
    ASSERT_GT(base.y, 0);
    const int buttonWidth = dialogUnitsToPixelsX(50, base);
    const int gap = dialogUnitsToPixelsX(5, base);

    BoxAnswerer answerer({BUTTON::Cancel, BUTTON::OK});
    answerer.grabNextTo(screenshotPath("message_box_three_buttons.png"));
    MESSAGE("Do you want to save the changes to this record?", "Update Cancelled", ICON::Question,
            BUTTON::Yes | BUTTON::No | BUTTON::Cancel, BUTTON::No);
    MESSAGE("x", "", ICON::None, BUTTON::OK);
    ASSERT_EQ(answerer.shown().size(), 2u);

    const auto& three = answerer.shown()[0];
    ASSERT_EQ(three.buttonRects.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(three.buttonRects[i].width(), buttonWidth);
        if (i > 0) {
            EXPECT_EQ(three.buttonRects[i].left() -
                          (three.buttonRects[i - 1].left() + three.buttonRects[i - 1].width()),
                      gap);
        }
    }
    EXPECT_GE(three.size.width(), three.buttonRects.back().right());

    // A one-character text with no icon: the box is still at least 45 units wide.
    const auto& tiny = answerer.shown()[1];
    EXPECT_GE(tiny.size.width(), dialogUnitsToPixelsX(45, base));
    ASSERT_EQ(tiny.buttonRects.size(), 1u);
    EXPECT_EQ(tiny.buttonRects[0].width(), buttonWidth);
    // The lone button sits in the middle of the box.
    EXPECT_NEAR(tiny.buttonRects[0].center().x(), tiny.size.width() / 2, 1);
}

TEST(MessageBoxShown, LongTextWrapsWithinTheBoxAndKeepsItsWords) {
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "word ";
    text += "|last line";
    MessageBoxDialog box({messageBoxText(text), "Long", ICON::Stop, BUTTON::OK, 0, false});
    auto* label = box.findChild<QLabel*>(kMessageTextObjectName);
    ASSERT_NE(label, nullptr);
    const QString expected = QString::fromStdString(text).replace('|', '\n');
    EXPECT_EQ(label->text(), expected);
    EXPECT_EQ(box.property(kMessageTextProperty).toString(), expected);

    // No wider than the longest line allowed, tall enough for every wrapped line.
    const DialogBaseUnits base = dialogBaseUnits(box.font());
    EXPECT_LE(label->width(), dialogUnitsToPixelsX(kMessageTextMaxWidth, base));
    EXPECT_GE(label->height(), 3 * QFontMetrics(box.font()).height());
    EXPECT_LE(label->heightForWidth(label->width()), label->height());
    EXPECT_LE(label->geometry().right(), box.width());
    if (const std::string path = screenshotPath("message_box_long_text.png"); !path.empty()) {
        box.grab().save(QString::fromStdString(path));
    }
}

TEST(MessageBoxShown, AWordWiderThanALineWidensTheBox) {
    const std::string word(200, 'W');
    MessageBoxDialog box({word, "Wide", ICON::None, BUTTON::OK, 0, false});
    auto* label = box.findChild<QLabel*>(kMessageTextObjectName);
    ASSERT_NE(label, nullptr);
    EXPECT_GE(label->width(), QFontMetrics(box.font()).horizontalAdvance(QString(200, 'W')));
    EXPECT_LE(label->geometry().right(), box.width());
}

TEST(MessageBoxShown, ProgramTextIsWindows1252) {
    BoxAnswerer answerer({BUTTON::OK});
    MESSAGE("Caf\xE9 \x80 5", "\x93Quoted\x94");
    ASSERT_EQ(answerer.shown().size(), 1u);
    EXPECT_EQ(answerer.last().text, "Caf\u00E9 \u20AC 5");
    EXPECT_EQ(answerer.last().caption, "\u201CQuoted\u201D");
}

TEST(MessageBoxShown, IconFromAPictureFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("book.png");
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(file));

    BoxAnswerer answerer({BUTTON::OK, BUTTON::OK});
    MESSAGE("With a picture", "Icon", MessageIcon::fromPicture(file.toStdString()));
    MESSAGE("Missing picture", "Icon", MessageIcon::fromPicture("no-such-picture.bmp"));
    ASSERT_EQ(answerer.shown().size(), 2u);
    EXPECT_EQ(answerer.shown()[0].icon, file.toStdString());
    EXPECT_EQ(answerer.shown()[1].icon, "no-such-picture.bmp");

    // The picture is drawn at the icon size; a missing one leaves the box without an icon.
    MessageBoxDialog found(
        {"Text", "Icon", MessageIcon::fromPicture(file.toStdString()), BUTTON::OK, 0, false});
    auto* iconLabel = found.findChild<QLabel*>(kMessageIconObjectName);
    ASSERT_NE(iconLabel, nullptr);
    const QImage shown = iconLabel->pixmap().toImage();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.pixelColor(shown.width() / 2, shown.height() / 2), QColor(Qt::red));
    MessageBoxDialog missing(
        {"Text", "Icon", MessageIcon::fromPicture("no-such-picture.bmp"), BUTTON::OK, 0, false});
    EXPECT_EQ(missing.findChild<QLabel*>(kMessageIconObjectName), nullptr);
}

TEST(MessageBoxShown, SystemIconsAreShownLeftOfTheText) {
    for (const MessageIcon* icon :
         {&ICON::Stop, &ICON::Question, &ICON::Exclamation, &ICON::Information}) {
        MessageBoxDialog box({"Text", "Icons", *icon, BUTTON::OK, 0, false});
        auto* iconLabel = box.findChild<QLabel*>(kMessageIconObjectName);
        auto* textLabel = box.findChild<QLabel*>(kMessageTextObjectName);
        ASSERT_NE(iconLabel, nullptr) << icon->name();
        ASSERT_NE(textLabel, nullptr);
        EXPECT_LT(iconLabel->geometry().right(), textLabel->geometry().left());
        EXPECT_EQ(box.property(kIconNameProperty).toString().toStdString(), icon->name());
    }
    MessageBoxDialog plain({"Text", "Icons", ICON::None, BUTTON::OK, 0, false});
    EXPECT_EQ(plain.findChild<QLabel*>(kMessageIconObjectName), nullptr);
}

TEST(MessageBoxShown, ModalFlagStillGivesAnApplicationModalBox) {
    BoxAnswerer answerer({BUTTON::OK});
    EXPECT_EQ(MESSAGE("Modal", "Modal", ICON::None, BUTTON::OK, 0, true), BUTTON::OK);
    ASSERT_EQ(answerer.shown().size(), 1u);
    EXPECT_TRUE(answerer.last().applicationModal);
}

// ---- Captions from the settings file -------------------------------------------------------

class MessageBoxCaptions : public ::testing::Test {
  protected:
    void SetUp() override { resetRuntimeSettings(); }
    void TearDown() override { resetRuntimeSettings(); }
};

TEST_F(MessageBoxCaptions, ReplacedInTableOrder) {
    applySettingsText("ZEMBUTTON=Okay,&Ja,&Nein\r\n");
    EXPECT_EQ(messageBoxButtonCaption(BUTTON::OK), "Okay");
    EXPECT_EQ(messageBoxButtonCaption(BUTTON::Yes), "&Ja");
    EXPECT_EQ(messageBoxButtonCaption(BUTTON::No), "&Nein");
    // The list ends before Abort: the rest keep their own captions.
    EXPECT_EQ(messageBoxButtonCaption(BUTTON::Abort), "&Abort");
    EXPECT_EQ(messageBoxButtonCaption(BUTTON::Help), "&Help");
    EXPECT_EQ(messageBoxButtonCaption(BUTTON::Yes | BUTTON::No), "");

    BoxAnswerer answerer({BUTTON::No});
    EXPECT_EQ(
        MESSAGE("Weiter?", "Frage", ICON::Question, BUTTON::Yes | BUTTON::No | BUTTON::Cancel),
        BUTTON::No);
    ASSERT_EQ(answerer.shown().size(), 1u);
    EXPECT_EQ(answerer.last().captions, (std::vector<std::string>{"&Ja", "&Nein", "Cancel"}));
}

TEST_F(MessageBoxCaptions, BlankItemsKeepTheStandardCaptionAndExtraItemsAreIgnored) {
    applySettingsText("ZEMBUTTON=, ,\"&Nein, danke\",A,R,I,Abbrechen,Hilfe,Extra\n");
    EXPECT_EQ(messageBoxButtonCaption(BUTTON::OK), "OK");
    EXPECT_EQ(messageBoxButtonCaption(BUTTON::Yes), "&Yes");
    EXPECT_EQ(messageBoxButtonCaption(BUTTON::No), "&Nein, danke");
    EXPECT_EQ(messageBoxButtonCaption(BUTTON::Cancel), "Abbrechen");
    EXPECT_EQ(messageBoxButtonCaption(BUTTON::Help), "Hilfe");
}

TEST_F(MessageBoxCaptions, CaptionsAreWindows1252) {
    applySettingsText(
        "ZEMBUTTON=\xDC"
        "bernehmen\n");
    BoxAnswerer answerer({BUTTON::OK});
    MESSAGE("Text", "Caption");
    ASSERT_EQ(answerer.shown().size(), 1u);
    EXPECT_EQ(answerer.last().captions, std::vector<std::string>{"\u00DCbernehmen"});
}

// ---- The "Runtime error" box -----------------------------------------------------------------

// The runtime's options with the box as the fatal report, as the program installs it.
RuntimeOptions reportingInTheBox() {
    RuntimeOptions options = runtimeOptions();
    options.fatalReporter = showRuntimeErrorBox;
    return options;
}

class RuntimeErrorBox : public ::testing::Test {
  protected:
    void SetUp() override { clearError(); }
    void TearDown() override { clearError(); }
};

TEST_F(RuntimeErrorBox, ShowsAFaultWithoutCode) {
    testing::FatalCapture capture;
    const ScopedRuntimeOptions boxReports(reportingInTheBox());
    BoxAnswerer answerer({BUTTON::OK});
    answerer.grabNextTo(screenshotPath("runtime_error_box.png"));
    try {
        fatalError("Internal error : vltbt line 7");
        ADD_FAILURE() << "the program did not end";
    } catch (const ProgramEnded& ended) {
        EXPECT_EQ(ended.exitCode, 2);
    }
    ASSERT_EQ(answerer.shown().size(), 1u);
    const auto& box = answerer.last();
    EXPECT_EQ(box.caption, "Runtime error");
    EXPECT_EQ(box.icon, "stop");
    EXPECT_EQ(box.text, "Internal error : vltbt line 7");
    EXPECT_EQ(box.buttons, std::vector<int>{BUTTON::OK});
    EXPECT_EQ(errorCode(), 0);
    EXPECT_TRUE(capture.reports().empty());  // the box, not the capture, reported it
}

TEST_F(RuntimeErrorBox, ShowsTheCodesTextFirst) {
    testing::FatalCapture capture;
    const ScopedRuntimeOptions boxReports(reportingInTheBox());
    BoxAnswerer answerer({BUTTON::OK});
    try {
        assertionFailed("done+len <= limit", "record.cpp", 42);
    } catch (const ProgramEnded& ended) {
        EXPECT_EQ(ended.exitCode, 2);
    }
    ASSERT_EQ(answerer.shown().size(), 1u);
    EXPECT_EQ(answerer.last().text,
              "Internal error 01 : Assertion failed:done+len <= limit\nFile record.cpp line 42");
    EXPECT_EQ(answerer.last().caption, "Runtime error");
    EXPECT_EQ(errorCode(), 501);
}

TEST_F(RuntimeErrorBox, EscapeAlsoEndsTheProgram) {
    testing::FatalCapture capture;
    const ScopedRuntimeOptions boxReports(reportingInTheBox());
    BoxAnswerer answerer({kPressEscape});
    try {
        fatalError(537, "");
    } catch (const ProgramEnded& ended) {
        EXPECT_EQ(ended.exitCode, 2);
    }
    ASSERT_EQ(answerer.shown().size(), 1u);
    EXPECT_EQ(answerer.last().text, errorTextOf(537) + " : ");
}

}  // namespace
}  // namespace quillery
