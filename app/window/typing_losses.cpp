// The question about typing the entry fields could not keep.
#include "app/window/typing_losses.h"

#include <QList>
#include <QString>
#include <string>

#include "app/window/main_window_layout.h"
#include "runtime/window/message_box.h"
#include "runtime/window/window.h"

namespace quillery {

namespace W = displayquillery;

namespace {

constexpr char kCaption[] = "Save Book";

bool& declined() {
    static bool answeredNo = false;
    return answeredNo;
}

// The name of an entry field as its prompt shows it: "Last Name".
std::string fieldName(int entryField) {
    const ControlLayout* prompt =
        mainWindowControl(entryField - 1);  // each prompt precedes its entry
    std::string name = prompt != nullptr ? std::string(prompt->text) : std::string();
    std::erase(name, '&');
    if (name.ends_with(':')) name.pop_back();
    return name;
}

// "Title: 2 characters it cannot hold become "?" (U+0141, U+017A); cut from 52 to 45
// characters". The characters go by their numbers: the message's own text cannot show them.
std::string describe(int field, const TypingLoss& loss) {
    std::string text = fieldName(field) + ": ";
    if (!loss.replaced.empty()) {
        const QList<uint> chars = QString::fromStdString(loss.replaced).toUcs4();
        text += chars.size() == 1
                    ? "1 character it cannot hold becomes \"?\" ("
                    : std::to_string(chars.size()) + " characters it cannot hold become \"?\" (";
        for (qsizetype i = 0; i < chars.size(); ++i) {
            if (i > 0) text += ", ";
            text += QString("U+%1").arg(chars[i], 4, 16, QChar('0')).toUpper().toStdString();
        }
        text += ")";
    }
    if (loss.typedLength > loss.keptLength) {
        if (!loss.replaced.empty()) text += "; ";
        text += "cut from " + std::to_string(loss.typedLength) + " to " +
                std::to_string(loss.keptLength) + " characters";
    }
    return text;
}

}  // namespace

bool typingLossesDeclined() {
    return declined();
}

bool typingLossesAccepted() {
    declined() = false;
    std::string lines;
    int first = 0;
    for (const int field : panelReadingOrder()) {
        const TypingLoss loss = typingLoss(field);
        if (!loss.any()) continue;
        if (first == 0) first = field;
        lines += describe(field, loss) + "|";
    }
    if (first == 0) return true;
    const int answer = MESSAGE("Not all that was typed can be kept as it is:|" + lines +
                                   "Save the book anyway?  Choose No to go back and change it.",
                               kCaption, ICON::Question, BUTTON::Yes | BUTTON::No, BUTTON::No);
    if (answer == BUTTON::Yes) return true;
    declined() = true;
    SELECT(first);
    return false;
}

}  // namespace quillery
