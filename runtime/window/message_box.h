// The standard message box: `MESSAGE(text, caption, icon, buttons, default, modal)` and the rules
// it follows (button order and captions, the default button, the text's line breaks).
//
// Texts are the program's single-byte Windows-1252 text; they are converted where they meet the
// screen. The box is a modal dialog named "MessageBox" whose buttons carry their value in the
// dynamic property "buttonValue", so a scripted driver can answer it.
#pragma once

#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace quillery {

// The buttons of a box, one bit each; a set of buttons is the sum. The value a box returns is
// the bit of the button pressed.
namespace BUTTON {
inline constexpr int OK = 0x01;
inline constexpr int Yes = 0x02;
inline constexpr int No = 0x04;
inline constexpr int Abort = 0x08;
inline constexpr int Retry = 0x10;
inline constexpr int Ignore = 0x20;
inline constexpr int Cancel = 0x40;
inline constexpr int Help = 0x80;
}  // namespace BUTTON

// Every button bit in the order the buttons are shown.
inline constexpr int kMessageButtonBits[] = {BUTTON::OK,     BUTTON::Yes,   BUTTON::No,
                                             BUTTON::Abort,  BUTTON::Retry, BUTTON::Ignore,
                                             BUTTON::Cancel, BUTTON::Help};
inline constexpr std::size_t kMessageButtonCount = std::size(kMessageButtonBits);

// The icon shown left of the text: none, one of the system's icons, or a picture file.
struct MessageIcon {
    enum class Kind { None, Stop, Question, Exclamation, Information, Picture };
    Kind kind = Kind::None;
    std::string picture;  // file name, for Kind::Picture only

    static MessageIcon fromPicture(std::string_view fileName) {
        return {Kind::Picture, std::string(fileName)};
    }
    // "stop", "question", "exclamation", "information", the picture's file name, or "" for none.
    std::string name() const;
};

namespace ICON {
inline const MessageIcon None{};
inline const MessageIcon Stop{MessageIcon::Kind::Stop, {}};
inline const MessageIcon Question{MessageIcon::Kind::Question, {}};
inline const MessageIcon Exclamation{MessageIcon::Kind::Exclamation, {}};
inline const MessageIcon Information{MessageIcon::Kind::Information, {}};
}  // namespace ICON

// Longest box text within which `|` still becomes a line break.
inline constexpr std::size_t kMessageTextLimit = 1023;

// Shows the standard message box and returns the bit of the button pressed, or 0 when no box
// could be shown (no application object). `buttons` 0 means OK alone. Closing the box without
// a button (Escape, the window's close box) answers Cancel when Cancel is shown, else No when
// No is shown, else the default button: the answer that changes nothing. `modal` asks for a
// box that blocks the whole system; the strongest modality a desktop application has is the
// whole application, which every box gets anyway.
int MESSAGE(std::string_view text, std::string_view caption = {},
            const MessageIcon& icon = ICON::None, int buttons = BUTTON::OK, int defaultButton = 0,
            bool modal = false);

// The rules the box follows, for its own use and for callers that must know in advance.

// `text` with each `|` turned into CR LF while the whole text, after the turn, stays within
// kMessageTextLimit characters; later bars are left as they stand.
std::string messageBoxText(std::string_view text);

// The bits of the buttons shown for `buttons`, in the order shown (OK alone for 0).
std::vector<int> messageBoxButtons(int buttons);

// The default button: the last shown button whose bit is in `defaultButton`, else the first.
int messageBoxDefault(int buttons, int defaultButton);

// What closing the box without pressing a button answers.
int messageBoxEscapeValue(int buttons, int defaultButton);

// The caption of the button `bit`: the settings file's replacement in table order when it gives
// a non-blank one, else the standard caption ("OK", "&Yes", "&No", ...). Windows-1252.
std::string messageBoxButtonCaption(int bit);

// The standard caption of the button `bit`; empty for a value that is not a single button bit.
std::string_view standardButtonCaption(int bit);

}  // namespace quillery
