// The look-up window and the command that fills a new entry from it.
#include "app/window/lookup_window.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/catalogue_globals.h"
#include "app/cover_files.h"
#include "app/isbn.h"
#include "app/lookup/book_entry.h"
#include "app/quillery_file.h"
#include "app/window/cover_view.h"
#include "app/window/editing_cycle.h"
#include "app/window/isbn_questions.h"
#include "app/window/main_window_globals.h"
#include "app/window/main_window_layout.h"
#include "runtime/codepage.h"
#include "runtime/dates.h"
#include "runtime/settings_file.h"
#include "runtime/window/message_box.h"
#include "runtime/window/window.h"

namespace quillery {

namespace W = displayquillery;

namespace {

constexpr char kCaption[] = "Look Up by ISBN";

std::string_view trimmedText(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool yes(std::string_view value) {
    for (std::string_view word : {"yes", "on", "true", "1", "Yes", "On", "True", "YES", "ON"})
        if (value == word) return true;
    return false;
}

std::string settingsText() {
    const QStringList arguments = QCoreApplication::arguments();
    const std::string program = programFilePath(
        arguments.isEmpty() ? "quillery" : arguments.front().toLocal8Bit().constData());
    QFile file(QString::fromStdString(settingsFilePathFor(program)));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.read(64 * 1024).toStdString();  // a settings file is a few lines
}

// Fills the text fields of the entry in the buffer from `found`, keeping its own stamps,
// pending mark and category (the tab it was made on) unless it has none.
void fillEntry(const QuilleryRecord& found) {
    QLY.LASTNAME = found.LASTNAME.view();
    QLY.FIRSTNAME = found.FIRSTNAME.view();
    QLY.TITLE = found.TITLE.view();
    QLY.ISBN = found.ISBN.view();
    QLY.PUBDATE = found.PUBDATE.view();
    QLY.OTHER = found.OTHER.view();
    QLY.CONTENTS = found.CONTENTS.view();
    if (QLY.CATEGORY.isBlank()) QLY.CATEGORY = found.CATEGORY.view();
}

}  // namespace

lookup::LookupSettings lookupSettingsFromText(std::string_view text, lookup::LookupSettings base,
                                              bool* toIsbn13) {
    std::string section;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = trimmedText(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.starts_with('[') && line.ends_with(']')) {
            section = std::string(line.substr(1, line.size() - 2));
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view key = trimmedText(line.substr(0, equals));
        const std::string_view value = trimmedText(line.substr(equals + 1));
        if (section == "Lookup" && key == "Enabled") base.enabled = yes(value);
        if (section == "Lookup" && key == "Address" && !value.empty()) {
            base.booksAddress = value;
            base.coversAddress = value;
        }
        if (section == "Isbn" && key == "ToIsbn13" && toIsbn13 != nullptr) *toIsbn13 = yes(value);
    }
    return base;
}

lookup::LookupSettings lookupSettings() {
    return lookup::withAddressFromEnvironment(lookupSettingsFromText(settingsText(), {}));
}

void loadIsbnPreference() {
    bool toIsbn13 = false;
    lookupSettingsFromText(settingsText(), {}, &toIsbn13);
    setIsbn13Preferred(toIsbn13);
}

LookupWindow::LookupWindow(const lookup::LookupSettings& settings, QWidget* parent)
    : QDialog(parent), lookup_(settings) {
    setObjectName("LookupWindow");
    setWindowTitle(kCaption);
    setModal(true);
    isbn_ = new QLineEdit(this);
    isbn_->setObjectName("Isbn");
    isbn_->setMaxLength(32);
    auto* prompt = new QLabel("&ISBN:", this);
    prompt->setBuddy(isbn_);
    status_ = new QLabel(this);
    status_->setObjectName("Status");
    status_->setWordWrap(true);
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 0);  // busy, for as long as it takes
    progress_->setTextVisible(false);
    progress_->hide();
    lookUpButton_ = new QPushButton("&Look Up", this);
    lookUpButton_->setObjectName("LookUp");
    lookUpButton_->setDefault(true);
    cancelButton_ = new QPushButton("Cancel", this);
    cancelButton_->setObjectName("Cancel");

    auto* row = new QHBoxLayout;
    row->addWidget(prompt);
    row->addWidget(isbn_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(lookUpButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(progress_);
    layout->addWidget(status_);
    layout->addLayout(buttons);
    setMinimumWidth(360);

    connect(lookUpButton_, &QPushButton::clicked, this, &LookupWindow::lookUp);
    connect(cancelButton_, &QPushButton::clicked, this, &LookupWindow::reject);
    connect(&lookup_, &lookup::BookLookup::finished, this, &LookupWindow::finished);
}

void LookupWindow::reject() {
    if (lookup_.busy()) {
        lookup_.cancel();  // stays open for another ISBN
        return;
    }
    QDialog::reject();
}

void LookupWindow::lookUp() {
    if (lookup_.busy()) return;
    const TidiedIsbn isbn = tidyIsbn(isbn_->text().toStdString());
    if (!isbn.valid()) {
        const std::string problem = isbnProblem(isbn);
        status_->setText(problem.empty()
                             ? "Type or scan the book's ISBN."
                             : QString::fromStdString("This ISBN looks wrong: " + problem + "."));
        isbn_->setFocus();
        return;
    }
    status_->setText(QString("Looking up %1...").arg(QString::fromStdString(isbn.text)));
    setBusy(true);
    lookup_.start(isbn.text);
}

void LookupWindow::finished(const lookup::LookupResult& result) {
    setBusy(false);
    if (result.found()) {
        found_ = result;
        accept();
        return;
    }
    status_->setText(QString::fromStdString(result.message));
    isbn_->setFocus();
    isbn_->selectAll();
}

void LookupWindow::setBusy(bool busy) {
    progress_->setVisible(busy);
    isbn_->setEnabled(!busy);
    lookUpButton_->setEnabled(!busy);
}

void lookUpByIsbn() {
    if (!settlePendingWork()) return;
    LookupWindow window(lookupSettings(), QApplication::activeWindow());
    if (window.exec() != QDialog::Accepted || !window.found()) return;
    const lookup::LookupResult& result = *window.found();

    exchange::ImportReport report;
    const QuilleryRecord found =
        lookup::entryOfFoundBook(result.book, result.isbn, {}, {TODAY(), CLOCK()}, report);
    if (!result.cover.isEmpty()) {
        std::string error;
        // A cover that cannot be kept costs only the picture; the entry is what matters.
        (void)storeCover(QUILLERYFILE.str(), result.isbn,
                         std::string_view(result.cover.data(), result.cover.size()), error);
    }
    newEntry();
    if (PENDINGADD == 0) return;  // the catalogue refused the new entry and said so
    fillEntry(found);
    RECORDCHANGED = 1;
    DISPLAY();
    showCover();
    SELECT(W::QLY_LASTNAME);
}

}  // namespace quillery
