// The widget behind `MESSAGE`: a fixed-size modal dialog laid out in dialog units.
#pragma once

#include <QDialog>
#include <QFont>
#include <QString>
#include <string>

#include "runtime/window/message_box.h"
#include "runtime/window/message_box_layout.h"

namespace quillery {

// What a box shows. `text` has its bars already turned into line breaks; all texts are
// Windows-1252.
struct MessageBoxRequest {
    std::string text;
    std::string caption;
    MessageIcon icon;
    int buttons = BUTTON::OK;
    int defaultButton = 0;
    bool modal = false;
};

// The dialog's object name and the property names a driver reads; each button carries its
// bit in "buttonValue", the dialog its icon's name in "icon" and its text in "messageText".
inline constexpr char kMessageBoxObjectName[] = "MessageBox";
inline constexpr char kMessageTextObjectName[] = "MessageText";
inline constexpr char kMessageIconObjectName[] = "MessageIcon";
inline constexpr char kButtonValueProperty[] = "buttonValue";
inline constexpr char kIconNameProperty[] = "icon";
// The box's text as given, line breaks as '\n'; the text label holds the same and wraps long
// lines when it draws them.
inline constexpr char kMessageTextProperty[] = "messageText";

// 8-point "MS Sans Serif", or the installed family nearest to it.
QFont messageBoxFont();

// The base units of `font`: its average character width and its height, in pixels.
DialogBaseUnits dialogBaseUnits(const QFont& font);

class MessageBoxDialog : public QDialog {
    Q_OBJECT
  public:
    MessageBoxDialog(const MessageBoxRequest& request, QWidget* parent = nullptr);

    // Closing without a button gives the answer that changes nothing (messageBoxEscapeValue).
    void reject() override;

  private:
    int escapeValue_;
};

}  // namespace quillery
