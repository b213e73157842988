// Quick add: the queue of scans, the look-ups side by side, and each answer saved.
#include "app/window/quick_add.h"

#include "app/cover_files.h"
#include "app/isbn.h"
#include "app/lookup/book_entry.h"
#include "app/window/isbn_questions.h"
#include "runtime/codepage.h"
#include "runtime/dates.h"

namespace quillery {

namespace {

QuilleryStamp now() {
    return {TODAY(), CLOCK()};
}

}  // namespace

std::string scanStateText(const Scan& scan) {
    const std::string copy = scan.copy ? " (already in the catalogue)" : "";
    switch (scan.state) {
        case ScanState::kWaiting:
            return "waiting";
        case ScanState::kLookingUp:
            return "looking up\u2026";
        case ScanState::kAdded:
            return "added" + copy;
        case ScanState::kNotFound:
            return "not found \u2014 added with ISBN only" + copy;
        case ScanState::kFailed:
            return "failed: " + scan.reason;
        case ScanState::kRefused:
            return "not added: " + scan.reason;
        case ScanState::kDropped:
            return "not added: " + scan.reason;
    }
    return {};
}

QuickAdd::QuickAdd(lookup::LookupSettings settings, QuickAddCatalogue catalogue, QObject* parent)
    : QObject(parent), catalogue_(std::move(catalogue)), workers_(kSideBySide) {
    for (Worker& worker : workers_) {
        worker.lookup = std::make_unique<lookup::BookLookup>(settings);
        connect(worker.lookup.get(), &lookup::BookLookup::finished, this,
                [this, &worker](const lookup::LookupResult& result) { lookedUp(worker, result); });
    }
}

QuickAdd::~QuickAdd() {
    finishing_ = true;  // answers of look-ups cut short here are no one's any more
    for (Worker& worker : workers_)
        worker.lookup->disconnect(this);
}

int QuickAdd::scan(std::string_view typed) {
    TidiedIsbn isbn = tidyIsbn(typed);
    if (isbn.form == IsbnForm::kEmpty) return -1;
    if (catalogue_.toIsbn13 && isbn.form == IsbnForm::kIsbn10) isbn = tidyIsbn(isbn13Of(isbn.text));
    const int row = static_cast<int>(scans_.size());
    scans_.push_back(Scan{.isbn = isbn.text, .book = {}, .reason = {}});
    if (!isbn.valid()) {
        set(row, ScanState::kRefused, isbnProblem(isbn));
        return row;
    }
    waiting_.push_back(row);
    emit changed(row);
    pump();
    return row;
}

void QuickAdd::retryFailed() {
    for (int row = 0; row < static_cast<int>(scans_.size()); ++row) {
        if (scans_[row].state != ScanState::kFailed) continue;
        waiting_.push_back(row);
        set(row, ScanState::kWaiting);
    }
    pump();
}

void QuickAdd::finish(bool keep) {
    settleAnswers();  // answers already in are books found, not scans to let go
    finishing_ = true;
    waiting_.clear();
    for (Worker& worker : workers_)
        worker.lookup->cancel();  // each answers kCancelled at once
    for (int row = 0; row < static_cast<int>(scans_.size()); ++row) {
        const ScanState state = scans_[row].state;
        if (state != ScanState::kWaiting && state != ScanState::kLookingUp &&
            state != ScanState::kFailed)
            continue;
        if (!keep) {
            set(row, ScanState::kDropped, "let go when the window closed");
            continue;
        }
        addEntry(row, lookup::entryOfUnknownBook(scans_[row].isbn, {}, now()),
                 ScanState::kNotFound);
    }
}

int QuickAdd::count(ScanState state) const {
    int n = 0;
    for (const Scan& scan : scans_)
        n += scan.state == state;
    return n;
}

int QuickAdd::unresolved() const {
    return count(ScanState::kWaiting) + count(ScanState::kLookingUp) + count(ScanState::kFailed);
}

void QuickAdd::pump() {
    if (pumping_ || finishing_) return;
    pumping_ = true;
    for (Worker& worker : workers_) {
        // A look-up that ends at once (look-ups turned off) frees its worker again at once.
        while (worker.row < 0 && !waiting_.empty()) {
            worker.row = waiting_.front();
            waiting_.pop_front();
            set(worker.row, ScanState::kLookingUp);
            worker.lookup->start(scans_[worker.row].isbn);
        }
    }
    pumping_ = false;
}

void QuickAdd::lookedUp(Worker& worker, const lookup::LookupResult& result) {
    const int row = worker.row;
    worker.row = -1;
    if (row < 0) return;
    if (finishing_) {
        // Stopped on the way out: finish() decides what becomes of the scan.
        set(row, ScanState::kFailed, result.message);
        return;
    }
    answered_.emplace_back(row, result);
    settleAnswers();
    pump();
}

void QuickAdd::settleAnswers() {
    if (settling_) return;
    settling_ = true;
    while (!answered_.empty()) {
        const auto [row, result] = std::move(answered_.front());
        answered_.pop_front();
        settle(row, result);
    }
    settling_ = false;
}

void QuickAdd::settle(int row, const lookup::LookupResult& result) {
    const std::string isbn = scans_[row].isbn;
    if (result.found()) {
        if (!result.cover.isEmpty()) {
            std::string error;
            // A cover that cannot be kept costs only the picture; the book is what matters.
            (void)storeCover(catalogue_.path, isbn,
                             std::string_view(result.cover.data(), result.cover.size()), error);
        }
        exchange::ImportReport report;  // what did not fit is in the entry's note already
        addEntry(row, lookup::entryOfFoundBook(result.book, isbn, {}, now(), report),
                 ScanState::kAdded);
    } else if (result.status == lookup::LookupStatus::kNotFound) {
        addEntry(row, lookup::entryOfUnknownBook(isbn, {}, now()), ScanState::kNotFound);
    } else {
        set(row, ScanState::kFailed, result.message);
    }
}

void QuickAdd::addEntry(int row, const QuilleryRecord& entry, ScanState state) {
    std::string error;
    if (!catalogue_.add(entry, error)) {
        set(row, ScanState::kFailed, error.empty() ? "the catalogue could not take it" : error);
        return;
    }
    Scan& scan = scans_[row];
    scan.book = cp1252ToUtf8(titleByAuthor(entry));
    scan.copy = catalogue_.knownIsbns.contains(scan.isbn);
    catalogue_.knownIsbns.emplace(scan.isbn, scan.book);
    set(row, state);
}

void QuickAdd::set(int row, ScanState state, std::string reason) {
    scans_[row].state = state;
    scans_[row].reason = std::move(reason);
    emit changed(row);
}

}  // namespace quillery
