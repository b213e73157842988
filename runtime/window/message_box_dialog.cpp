// The message box dialog: icon, text and a row of buttons placed by layoutMessageBox.
#include "runtime/window/message_box_dialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>

#include "runtime/window/picture_files.h"
#include "runtime/window/screen_text.h"
#include "runtime/window/window_font.h"

namespace quillery {
namespace {

constexpr char kBoxFamily[] = "MS Sans Serif";
constexpr int kBoxPointSize = 8;
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

QPixmap iconPixmap(const MessageIcon& icon, const QStyle& style, int size) {
    QStyle::StandardPixmap standard = QStyle::SP_MessageBoxInformation;
    switch (icon.kind) {
        case MessageIcon::Kind::None:
            return {};
        case MessageIcon::Kind::Stop:
            standard = QStyle::SP_MessageBoxCritical;
            break;
        case MessageIcon::Kind::Question:
            standard = QStyle::SP_MessageBoxQuestion;
            break;
        case MessageIcon::Kind::Exclamation:
            standard = QStyle::SP_MessageBoxWarning;
            break;
        case MessageIcon::Kind::Information:
            standard = QStyle::SP_MessageBoxInformation;
            break;
        case MessageIcon::Kind::Picture:
            // A picture that cannot be found or read leaves the box without an icon.
            return iconOf(icon.picture).pixmap(size, size);
    }
    return style.standardIcon(standard).pixmap(size, size);
}

}  // namespace

QFont messageBoxFont() {
    QFont font(nearestFamily(kBoxFamily), kBoxPointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

DialogBaseUnits dialogBaseUnits(const QFont& font) {
    const DialogUnits units(font);
    return {units.baseWidth(), units.baseHeight()};
}

MessageBoxDialog::MessageBoxDialog(const MessageBoxRequest& request, QWidget* parent)
    : QDialog(parent), escapeValue_(messageBoxEscapeValue(request.buttons, request.defaultButton)) {
    setObjectName(kMessageBoxObjectName);
    setWindowTitle(toScreen(request.caption));
    setProperty(kIconNameProperty, QString::fromStdString(request.icon.name()));
    setProperty("systemModal", request.modal);
    setWindowModality(Qt::ApplicationModal);
    setFont(messageBoxFont());

    const QFontMetrics metrics(font());
    const DialogBaseUnits base = dialogBaseUnits(font());
    QString text = toScreen(request.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setProperty(kMessageTextProperty, text);
    // The label wraps long lines itself, with the same rules as this measure.
    const QRect textBounds = metrics.boundingRect(
        QRect(0, 0, dialogUnitsToPixelsX(kMessageTextMaxWidth, base), 1 << 20), kTextFlags, text);

    MessageBoxLayoutInput input;
    input.base = base;
    input.textWidth = textBounds.width();
    input.textHeight = textBounds.height();
    const QPixmap pixmap =
        iconPixmap(request.icon, *style(), style()->pixelMetric(QStyle::PM_MessageBoxIconSize));
    if (!pixmap.isNull()) {
        input.iconWidth = pixmap.width();
        input.iconHeight = pixmap.height();
    }
    const std::vector<int> shown = messageBoxButtons(request.buttons);
    input.buttonCount = static_cast<int>(shown.size());
    // The title bar's font is the desktop's; the application's stands in for it, with room for
    // the bar's icon and close button on either side.
    const QFontMetrics titleMetrics(QApplication::font());
    input.captionWidth = titleMetrics.horizontalAdvance(windowTitle()) + 6 * titleMetrics.height();
    const MessageBoxLayout layout = layoutMessageBox(input);

    if (!pixmap.isNull()) {
        auto* icon = new QLabel(this);
        icon->setObjectName(kMessageIconObjectName);
        icon->setPixmap(pixmap);
        icon->setGeometry(layout.icon.x, layout.icon.y, layout.icon.width, layout.icon.height);
    }
    auto* label = new QLabel(this);
    label->setObjectName(kMessageTextObjectName);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    label->setText(text);
    label->setGeometry(layout.text.x, layout.text.y, layout.text.width, layout.text.height);

    const int defaultBit = messageBoxDefault(request.buttons, request.defaultButton);
    QPushButton* defaultButton = nullptr;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const int bit = shown[i];
        auto* button = new QPushButton(toScreen(messageBoxButtonCaption(bit)), this);
        button->setProperty(kButtonValueProperty, bit);
        const PixelRect& r = layout.buttons[i];
        button->setGeometry(r.x, r.y, r.width, r.height);
        connect(button, &QPushButton::clicked, this, [this, bit] { done(bit); });
        if (bit == defaultBit) defaultButton = button;
    }
    defaultButton->setDefault(true);
    defaultButton->setFocus();
    setFixedSize(layout.width, layout.height);
}

void MessageBoxDialog::reject() {
    done(escapeValue_);
}

}  // namespace quillery
