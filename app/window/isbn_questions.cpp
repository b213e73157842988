// The ISBN questions on save.
#include "app/window/isbn_questions.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>
#include <functional>
#include <string>

#include "app/catalogue_globals.h"
#include "app/isbn.h"
#include "app/quillery_file.h"
#include "app/window/main_window_globals.h"
#include "app/window/main_window_layout.h"
#include "runtime/codepage.h"
#include "runtime/errors.h"
#include "runtime/window/message_box_dialog.h"
#include "runtime/window/window.h"
#include "storage/file_statements.h"

namespace quillery {

namespace W = displayquillery;

namespace {

constexpr char kCaption[] = "Save Book";

bool& declined() {
    static bool wentBack = false;
    return wentBack;
}

// Hyphens and spaces are dropped as they arrive; everything else is for the save to judge.
class IsbnTyping final : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override {
        QString kept;
        for (qsizetype i = 0; i < input.size(); ++i) {
            if (input[i] == '-' || input[i] == ' ') {
                if (i < position) --position;
            } else {
                kept += input[i];
            }
        }
        input = kept;
        return Acceptable;
    }
};

bool& preferIsbn13() {
    static bool preferred = false;
    return preferred;
}

// The ISBN of the entry as it was loaded (blank for a new one).
std::string loadedIsbn() {
    QuilleryRecord loaded{};
    copyImageToRecord(CURRENTRECORD, loaded);
    return std::string(loaded.ISBN.clipped());
}

// Reads every current entry but the one at `skip` into the buffer, in file order, until
// `visit` says it has seen enough. The buffer is left as it was.
void visitCurrentEntries(std::int32_t skip, const std::function<bool()>& visit) {
    const QuilleryRecord shown = QLY;
    SET(QUILLERY);
    NEXT(QUILLERY);  // the header record
    for (NEXT(QUILLERY); errorCode() == ErrorCode::kNone; NEXT(QUILLERY)) {
        if (QLY.DELETED != 0 || static_cast<std::int32_t>(POSITION(QUILLERY)) == skip) continue;
        if (!visit()) break;
    }
    clearError();
    QLY = shown;
}

// "Title by First Last" of the first current entry other than the one being saved whose ISBN
// is `isbn`; empty when there is none.
std::string bookWithIsbn(const std::string& isbn) {
    std::string found;
    visitCurrentEntries(PENDINGADD != 0 ? PENDINGADD : CURRENTPOINTER, [&] {
        if (tidyIsbn(QLY.ISBN.clipped()).text != isbn) return true;
        found = titleByAuthor(QLY);
        return false;
    });
    return found;
}

bool goBack() {
    declined() = true;
    SELECT(W::QLY_ISBN);
    return false;
}

}  // namespace

bool isbnQuestionDeclined() {
    return declined();
}

void tidyIsbnAsTyped(Window& window) {
    if (auto* edit = qobject_cast<QLineEdit*>(window.controlWidget(W::QLY_ISBN))) {
        edit->setValidator(new IsbnTyping(edit));
    }
}

bool isbn13Preferred() {
    return preferIsbn13();
}

void setIsbn13Preferred(bool preferred) {
    preferIsbn13() = preferred;
}

std::string titleByAuthor(const QuilleryRecord& entry) {
    std::string text(entry.TITLE.clipped());
    std::string author(entry.FIRSTNAME.clipped());
    if (!entry.LASTNAME.isBlank()) author += (author.empty() ? "" : " ") + entry.LASTNAME.str();
    if (!author.empty()) text += " by " + author;
    return text;
}

std::map<std::string, std::string> currentIsbns() {
    std::map<std::string, std::string> isbns;
    visitCurrentEntries(0, [&] {
        if (const TidiedIsbn isbn = tidyIsbn(QLY.ISBN.clipped()); isbn.form != IsbnForm::kEmpty)
            isbns.emplace(isbn.text, cp1252ToUtf8(titleByAuthor(QLY)));
        return true;
    });
    return isbns;
}

bool saveAnywayAsked(std::string_view text) {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return true;
    MessageBoxDialog box({messageBoxText(text), kCaption, ICON::Question, BUTTON::Yes | BUTTON::No,
                          BUTTON::No, false},
                         QApplication::activeWindow());
    for (QPushButton* button : box.findChildren<QPushButton*>()) {
        const int bit = button->property(kButtonValueProperty).toInt();
        if (bit == BUTTON::Yes) button->setText("&Save anyway");
        if (bit == BUTTON::No) button->setText("&Go back");
        button->setMinimumWidth(button->sizeHint().width());
    }
    return box.exec() == BUTTON::Yes;
}

bool isbnAccepted() {
    declined() = false;
    const std::string typed = PROP(W::QLY_ISBN, Prop::Text).text();
    TidiedIsbn isbn = tidyIsbn(typed);
    if (isbn13Preferred() && isbn.form == IsbnForm::kIsbn10) isbn = tidyIsbn(isbn13Of(isbn.text));
    // What fits is stored tidied and shown so; longer text is left to the typing question.
    if (isbn.text.size() <= QLY.ISBN.size() && isbn.text != typed) {
        QLY.ISBN = isbn.text;
        DISPLAY(W::QLY_ISBN);
    }
    const bool changed = isbn.text != tidyIsbn(loadedIsbn()).text;
    if (!changed) return true;
    if (const std::string problem = isbnProblem(isbn); !problem.empty()) {
        if (!saveAnywayAsked("This ISBN looks wrong: " + problem + ".|Save the book anyway?")) {
            return goBack();
        }
    }
    if (PENDINGADD != 0 && isbn.form != IsbnForm::kEmpty) {
        if (const std::string other = bookWithIsbn(isbn.text); !other.empty()) {
            if (!saveAnywayAsked("This catalogue already has " + other + " with this ISBN (" +
                                 isbn.text + ").|Save the book anyway?")) {
                return goBack();
            }
        }
    }
    return true;
}

}  // namespace quillery
