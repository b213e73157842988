// Book > "Look Up by ISBN..." (Ctrl+L, and the "Look Up" tool button): a small window asks for
// an ISBN, looks the book up in the book service without freezing anything, shows that it is
// busy with a Cancel to stop it, and says plainly when the book is not found, the service
// cannot be reached or its answer cannot be read. A book found becomes a new pending entry for
// the person to review and save (or discard) as usual; its cover goes beside the catalogue.
// Nothing is sent anywhere until the person presses "Look Up".
//
// "Keep adding" turns it into quick add for barcode scanners: each ISBN entered is looked up
// and saved into the current category at once, the box free for the next scan straight away,
// with a running list of what became of every scan (see quick_add.h).
#pragma once

#include <QDialog>
#include <optional>

#include "app/lookup/book_lookup.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QProgressBar;
class QPushButton;

namespace quillery {

class QuickAdd;

// The look-up's settings: the settings file's [Lookup] (Enabled=no turns look-ups off,
// Address= points them elsewhere), then QUILLERY_LOOKUP_URL.
lookup::LookupSettings lookupSettings();
// The settings file's text read for [Lookup] and [Isbn] (ToIsbn13=yes); `base` for what it
// leaves out.
lookup::LookupSettings lookupSettingsFromText(std::string_view text, lookup::LookupSettings base,
                                              bool* toIsbn13 = nullptr);
// Reads [Isbn] ToIsbn13 of the program's settings file into the entry's ISBN preference.
void loadIsbnPreference();

class LookupWindow final : public QDialog {
    Q_OBJECT

  public:
    explicit LookupWindow(const lookup::LookupSettings& settings, QWidget* parent = nullptr);

    // The book found, once the window was accepted.
    const std::optional<lookup::LookupResult>& found() const { return found_; }

    void reject() override;  // Escape and the close box: cancel a look-up under way, or close

  private:
    void lookUp();
    void finished(const lookup::LookupResult& result);
    void setBusy(bool busy);
    void setKeepAdding(bool on);
    void addScan();
    void showScan(int row);
    void showTally();
    // Before closing with scans not yet in the catalogue: adds them with their ISBN only, lets
    // them go, or stays open (false).
    bool unresolvedScansSettled();

    QuickAdd* quickAdd_ = nullptr;  // made at the first scan kept adding
    QCheckBox* keepAdding_;
    QTreeWidget* scans_;
    QPushButton* retryButton_;

    lookup::LookupSettings settings_;
    lookup::BookLookup lookup_;
    QLineEdit* isbn_;
    QLabel* status_;
    QProgressBar* progress_;
    QPushButton* lookUpButton_;
    QPushButton* cancelButton_;
    std::optional<lookup::LookupResult> found_;
};

// The command: settles the entry being edited, asks, and fills a new pending entry.
void lookUpByIsbn();

}  // namespace quillery
