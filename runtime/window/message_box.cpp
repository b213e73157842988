// The standard message box's rules and `MESSAGE` itself.
#include "runtime/window/message_box.h"

#include <QApplication>

#include "runtime/settings_file.h"
#include "runtime/window/message_box_dialog.h"

namespace quillery {
namespace {

constexpr std::string_view kStandardCaptions[kMessageButtonCount] = {
    "OK", "&Yes", "&No", "&Abort", "&Retry", "&Ignore", "Cancel", "&Help"};

int buttonIndex(int bit) {
    for (std::size_t i = 0; i < kMessageButtonCount; ++i) {
        if (kMessageButtonBits[i] == bit) return static_cast<int>(i);
    }
    return -1;
}

bool isBlank(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

}  // namespace

std::string MessageIcon::name() const {
    switch (kind) {
        case Kind::None:
            return "";
        case Kind::Stop:
            return "stop";
        case Kind::Question:
            return "question";
        case Kind::Exclamation:
            return "exclamation";
        case Kind::Information:
            return "information";
        case Kind::Picture:
            return picture;
    }
    return "";
}

std::string messageBoxText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t length = text.size();  // the whole text's length with the bars turned so far
    for (char c : text) {
        if (c == '|' && length + 1 <= kMessageTextLimit) {
            out += "\r\n";
            ++length;
        } else {
            out += c;
        }
    }
    return out;
}

std::vector<int> messageBoxButtons(int buttons) {
    std::vector<int> shown;
    for (int bit : kMessageButtonBits) {
        if (buttons & bit) shown.push_back(bit);
    }
    if (shown.empty()) shown.push_back(BUTTON::OK);
    return shown;
}

int messageBoxDefault(int buttons, int defaultButton) {
    const std::vector<int> shown = messageBoxButtons(buttons);
    int chosen = shown.front();
    for (int bit : shown) {
        if (defaultButton & bit) chosen = bit;
    }
    return chosen;
}

int messageBoxEscapeValue(int buttons, int defaultButton) {
    const std::vector<int> shown = messageBoxButtons(buttons);
    for (int wanted : {BUTTON::Cancel, BUTTON::No}) {
        for (int bit : shown) {
            if (bit == wanted) return bit;
        }
    }
    return messageBoxDefault(buttons, defaultButton);
}

std::string_view standardButtonCaption(int bit) {
    const int index = buttonIndex(bit);
    return index < 0 ? std::string_view{} : kStandardCaptions[index];
}

std::string messageBoxButtonCaption(int bit) {
    const int index = buttonIndex(bit);
    if (index < 0) return {};
    const std::vector<std::string>& configured = messageBoxButtonCaptions();
    if (static_cast<std::size_t>(index) < configured.size() && !isBlank(configured[index])) {
        return configured[index];
    }
    return std::string(kStandardCaptions[index]);
}

int MESSAGE(std::string_view text, std::string_view caption, const MessageIcon& icon, int buttons,
            int defaultButton, bool modal) {
    // A box needs a widget application; a headless run (a command-line tool, a core test)
    // has none and gets 0, the answer of a box that could not be shown.
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return 0;

    MessageBoxDialog box(
        {messageBoxText(text), std::string(caption), icon, buttons, defaultButton, modal},
        QApplication::activeWindow());
    return box.exec();
}

}  // namespace quillery
