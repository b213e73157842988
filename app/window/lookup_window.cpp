// The look-up window and the command that fills a new entry from it.
#include "app/window/lookup_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
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
#include "app/window/quick_add.h"
#include "runtime/codepage.h"
#include "runtime/dates.h"
#include "runtime/errors.h"
#include "runtime/settings_file.h"
#include "runtime/window/message_box.h"
#include "runtime/window/message_box_dialog.h"
#include "runtime/window/window.h"

namespace quillery {

namespace W = displayquillery;

namespace {

constexpr char kCaption[] = "Look Up by ISBN";

enum ScanColumn { kIsbnColumn, kBookColumn, kStateColumn };

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

// Quick add's way into the catalogue: the entry is added whole, listed and shown in the main
// window like a saved one.
bool addScannedBook(const QuilleryRecord& entry, std::string& error) {
    QLY = entry;
    if (addFinishedEntry()) return true;
    error = cp1252ToUtf8(errorText());
    displaySelectedEntry();  // the entry shown before, not the one refused
    return false;
}

// "3 added, 1 not found (added with ISBN only), 2 looking up"
QString tally(const QuickAdd& quickAdd) {
    QStringList parts;
    auto say = [&](ScanState state, const char* text) {
        if (const int n = quickAdd.count(state); n > 0) parts << QString("%1 %2").arg(n).arg(text);
    };
    say(ScanState::kAdded, "added");
    say(ScanState::kNotFound, "not found (added with ISBN only)");
    say(ScanState::kWaiting, "waiting");
    say(ScanState::kLookingUp, "looking up");
    say(ScanState::kFailed, "failed");
    say(ScanState::kRefused, "not added");
    return parts.join(", ");
}

// Asks what becomes of `count` scans not in the catalogue yet: BUTTON::Yes adds them with their
// ISBN only, BUTTON::No lets them go, BUTTON::Cancel (the default) goes back to the window.
int unresolvedScansAnswer(int count) {
    const std::string text =
        (count == 1 ? std::string("1 scanned ISBN is")
                    : std::to_string(count) + " scanned ISBNs are") +
        " not in the catalogue yet: still being looked up, or their look-up failed.|Add them "
        "with just their ISBN, to look up later?";
    MessageBoxDialog box({messageBoxText(text), kCaption, ICON::Question,
                          BUTTON::Yes | BUTTON::No | BUTTON::Cancel, BUTTON::Cancel, false},
                         QApplication::activeWindow());
    for (QPushButton* button : box.findChildren<QPushButton*>()) {
        const int bit = button->property(kButtonValueProperty).toInt();
        if (bit == BUTTON::Yes) button->setText("&Add with ISBN only");
        if (bit == BUTTON::No) button->setText("&Discard");
        if (bit == BUTTON::Cancel) button->setText("&Go back");
        button->setMinimumWidth(button->sizeHint().width());
    }
    return box.exec();
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
    : QDialog(parent), settings_(settings), lookup_(settings) {
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
    keepAdding_ =
        new QCheckBox("&Keep adding: each ISBN scanned is looked up and saved at once", this);
    keepAdding_->setObjectName("KeepAdding");
    scans_ = new QTreeWidget(this);
    scans_->setObjectName("Scans");
    scans_->setHeaderLabels({"ISBN", "Book", "State"});
    scans_->setRootIsDecorated(false);
    scans_->setFocusPolicy(Qt::NoFocus);  // the ISBN box keeps the scanner's keys
    scans_->header()->setStretchLastSection(false);
    scans_->header()->setSectionResizeMode(kIsbnColumn, QHeaderView::ResizeToContents);
    scans_->header()->setSectionResizeMode(kBookColumn, QHeaderView::Stretch);
    scans_->header()->setSectionResizeMode(kStateColumn, QHeaderView::Interactive);
    scans_->header()->resizeSection(kStateColumn, 250);  // long reasons show whole as tips
    scans_->setMinimumSize(640, 200);
    retryButton_ = new QPushButton("&Retry Failed", this);
    retryButton_->setObjectName("Retry");

    auto* row = new QHBoxLayout;
    row->addWidget(prompt);
    row->addWidget(isbn_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(retryButton_);
    buttons->addStretch(1);
    buttons->addWidget(lookUpButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(keepAdding_);
    layout->addWidget(scans_, 1);
    layout->addWidget(progress_);
    layout->addWidget(status_);
    layout->addLayout(buttons);
    setMinimumWidth(360);

    connect(lookUpButton_, &QPushButton::clicked, this, &LookupWindow::lookUp);
    connect(cancelButton_, &QPushButton::clicked, this, &LookupWindow::reject);
    connect(&lookup_, &lookup::BookLookup::finished, this, &LookupWindow::finished);
    connect(keepAdding_, &QCheckBox::toggled, this, &LookupWindow::setKeepAdding);
    connect(retryButton_, &QPushButton::clicked, this, [this] {
        if (quickAdd_ != nullptr) quickAdd_->retryFailed();
        isbn_->setFocus();
    });
    setKeepAdding(false);
}

void LookupWindow::setKeepAdding(bool on) {
    scans_->setVisible(on);
    retryButton_->setVisible(on);
    retryButton_->setEnabled(quickAdd_ != nullptr && quickAdd_->count(ScanState::kFailed) > 0);
    cancelButton_->setText(on ? "Close" : "Cancel");
    if (on && quickAdd_ == nullptr) status_->setText("Scan or type ISBNs; each is added at once.");
    if (!on && quickAdd_ == nullptr) status_->clear();
    adjustSize();
    isbn_->setFocus();
}

void LookupWindow::addScan() {
    if (quickAdd_ == nullptr) {
        QuickAddCatalogue catalogue{.path = QUILLERYFILE.str(),
                                    .add = addScannedBook,
                                    .knownIsbns = currentIsbns(),
                                    .toIsbn13 = isbn13Preferred()};
        quickAdd_ = new QuickAdd(settings_, std::move(catalogue), this);
        connect(quickAdd_, &QuickAdd::changed, this, &LookupWindow::showScan);
    }
    const QString typed = isbn_->text();
    isbn_->clear();  // free for the next scan at once
    isbn_->setFocus();
    quickAdd_->scan(typed.toStdString());
}

void LookupWindow::showScan(int row) {
    const Scan& scan = quickAdd_->scans()[row];
    QTreeWidgetItem* item = scans_->topLevelItem(row);
    if (item == nullptr) {
        item = new QTreeWidgetItem(scans_);
        scans_->scrollToItem(item);
    }
    item->setText(kIsbnColumn, QString::fromStdString(scan.isbn));
    item->setText(kBookColumn, QString::fromStdString(scan.state == ScanState::kNotFound
                                                          ? std::string("not found")
                                                          : scan.book));
    item->setText(kStateColumn, QString::fromStdString(scanStateText(scan)));
    for (int column : {kBookColumn, kStateColumn})
        item->setToolTip(column, item->text(column));
    retryButton_->setEnabled(quickAdd_->count(ScanState::kFailed) > 0);
    showTally();
    if (scan.state == ScanState::kRefused || scan.state == ScanState::kFailed) QApplication::beep();
}

void LookupWindow::showTally() {
    status_->setText(tally(*quickAdd_));
}

bool LookupWindow::unresolvedScansSettled() {
    if (quickAdd_ == nullptr || quickAdd_->unresolved() == 0) return true;
    const int answer = unresolvedScansAnswer(quickAdd_->unresolved());
    if (answer != BUTTON::Yes && answer != BUTTON::No) return false;
    quickAdd_->finish(answer == BUTTON::Yes);
    return true;
}

void LookupWindow::reject() {
    if (lookup_.busy()) {
        lookup_.cancel();  // stays open for another ISBN
        return;
    }
    if (!unresolvedScansSettled()) return;
    QDialog::reject();
}

void LookupWindow::lookUp() {
    if (keepAdding_->isChecked()) return addScan();
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
    keepAdding_->setEnabled(!busy);
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
