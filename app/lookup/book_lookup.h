// Looking a book up by its ISBN in the book service: the books API first, the edition record
// with its author records when that knows nothing, then the book's cover. Asynchronous over Qt
// Network, with one time-out for the whole look-up, a cap on every answer's size, redirects
// followed only within the service's own address, and the system's proxy.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <string>

#include "app/lookup/book_answers.h"

class QNetworkAccessManager;
class QNetworkReply;

namespace quillery::lookup {

inline constexpr std::string_view kDefaultBooksAddress = "https://openlibrary.org";
inline constexpr std::string_view kDefaultCoversAddress = "https://covers.openlibrary.org";
inline constexpr std::string_view kLookupAddressVariable = "QUILLERY_LOOKUP_URL";

struct LookupSettings {
    bool enabled = true;
    std::string booksAddress{kDefaultBooksAddress};
    std::string coversAddress{kDefaultCoversAddress};
    int timeoutMs = 10'000;
    qint64 answerLimit = 4 * 1024 * 1024;  // bytes; a book's data or cover is far smaller
    bool fetchCover = true;
};

// `settings` with the address from QUILLERY_LOOKUP_URL when it is set: books and covers are
// then both fetched from it.
LookupSettings withAddressFromEnvironment(LookupSettings settings);

enum class LookupStatus {
    kFound,
    kNotFound,
    kNoConnection,
    kTimedOut,
    kBadAnswer,
    kCancelled,
    kTurnedOff
};

struct LookupResult {
    LookupStatus status = LookupStatus::kBadAnswer;
    std::string isbn;
    std::string message;  // for every status but kFound: what to tell the person
    FoundBook book;
    QByteArray cover;  // the medium-size cover (JPEG) when the service has one
    bool found() const { return status == LookupStatus::kFound; }
};

class BookLookup final : public QObject {
    Q_OBJECT

  public:
    explicit BookLookup(LookupSettings settings, QObject* parent = nullptr);
    ~BookLookup() override;

    // Starts looking up `isbn` (tidied); finished() follows, also when it fails at once. A
    // look-up under way is cancelled first.
    void start(const std::string& isbn);
    // Ends the look-up under way; finished() follows with kCancelled.
    void cancel();
    bool busy() const { return busy_; }

  signals:
    void finished(const quillery::lookup::LookupResult& result);

  private:
    enum class Step { kBooks, kEdition, kAuthor, kCover };

    void request(Step step, const QString& url);
    void answered(QNetworkReply* reply);
    void booksAnswered(const QByteArray& body, int httpStatus);
    void editionAnswered(const QByteArray& body, int httpStatus);
    void nextAuthor();
    void fetchCover();
    void finish(LookupStatus status, std::string message = {});

    LookupSettings settings_;
    QNetworkAccessManager* network_;
    QPointer<QNetworkReply> reply_;
    QTimer deadline_;
    Step step_ = Step::kBooks;
    bool busy_ = false;
    bool tooLarge_ = false;
    std::size_t nextAuthor_ = 0;
    LookupResult result_;
};

// Looks `isbn` up and waits for the answer in an event loop of its own (the command line's
// way); a Qt application object must exist.
LookupResult lookUpAndWait(const LookupSettings& settings, const std::string& isbn);

}  // namespace quillery::lookup
