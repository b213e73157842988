// Quick add for barcode scanners, which type the digits and Return: every ISBN entered is
// looked up at once, several side by side so that typing never waits, and each answer becomes
// a book in the catalogue straight away. A book the service does not know is added with just
// its ISBN, to be looked up later; a second copy of a book is added and said. A look-up that
// fails (no connection, time-out, look-ups turned off) keeps its ISBN in the list for a retry.
// A scan that is no ISBN, or whose check digit is wrong, is said and not added: it is nearly
// always a misread or a slip of the finger, and looking it up would file a stranger's book.
#pragma once

#include <QObject>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/lookup/book_lookup.h"
#include "app/quillery_record.h"

namespace quillery {

enum class ScanState {
    kWaiting,    // queued behind the look-ups under way
    kLookingUp,  // asked of the service
    kAdded,      // found and added
    kNotFound,   // unknown to the service; added with its ISBN only
    kFailed,     // the look-up or the save failed; kept for a retry
    kRefused,    // no ISBN, or its check digit wrong; not added
    kDropped,    // failed or outstanding, and let go when the window closed
};

struct Scan {
    std::string isbn;  // tidied; the text as typed when it is no ISBN
    std::string book;  // UTF-8: "Title by Author" once added
    ScanState state = ScanState::kWaiting;
    std::string reason;  // UTF-8: why it failed or was refused
    bool copy = false;   // the catalogue already had a book with this ISBN
};

// The state column of the running list: "looking up…", "added", "not found — added with ISBN
// only", "failed: …" (UTF-8).
std::string scanStateText(const Scan& scan);

// What quick add needs of the catalogue it fills.
struct QuickAddCatalogue {
    std::filesystem::path path;  // covers are kept beside it
    // Adds a finished entry; false with `error` set when the catalogue refused it.
    std::function<bool(const QuilleryRecord& entry, std::string& error)> add;
    // The ISBNs the catalogue's current books have, each with its "Title by Author" (UTF-8).
    std::map<std::string, std::string> knownIsbns;
    bool toIsbn13 = false;  // an ISBN-10 is looked up and stored as its ISBN-13
};

class QuickAdd final : public QObject {
    Q_OBJECT

  public:
    static constexpr int kSideBySide = 4;

    QuickAdd(lookup::LookupSettings settings, QuickAddCatalogue catalogue,
             QObject* parent = nullptr);
    ~QuickAdd() override;

    // Takes one scan and returns its row in scans(); -1 for blank text.
    int scan(std::string_view typed);
    // Looks the failed scans up once more.
    void retryFailed();
    // Stops the look-ups under way; those and the failed scans are added with their ISBN only
    // (`keep`), or let go.
    void finish(bool keep);

    const std::vector<Scan>& scans() const { return scans_; }
    int count(ScanState state) const;
    // Scans not in the catalogue yet that could still be: waiting, looking up or failed.
    int unresolved() const;

  signals:
    void changed(int row);  // a scan was added to the list or changed its state

  private:
    struct Worker {
        std::unique_ptr<lookup::BookLookup> lookup;
        int row = -1;
    };

    void pump();
    void lookedUp(Worker& worker, const lookup::LookupResult& result);
    void settleAnswers();
    void settle(int row, const lookup::LookupResult& result);
    void addEntry(int row, const QuilleryRecord& entry, ScanState state);
    void set(int row, ScanState state, std::string reason = {});

    QuickAddCatalogue catalogue_;
    std::vector<Worker> workers_;
    std::deque<int> waiting_;
    // Answers wait here while one is being saved: a save's error box runs the event loop, and
    // the next answer must not start a save inside it.
    std::deque<std::pair<int, lookup::LookupResult>> answered_;
    bool settling_ = false;
    std::vector<Scan> scans_;
    bool pumping_ = false;
    bool finishing_ = false;
};

}  // namespace quillery
