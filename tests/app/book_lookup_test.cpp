// Looking books up against a book service on the loopback address: a book the books API
// knows, one only the edition record knows, an unknown one, and a service that is silent,
// answers garbage, answers without end, redirects to another scheme or is not there at all.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "app/exchange/contents_note.h"
#include "app/lookup/book_entry.h"
#include "app/lookup/book_lookup.h"
#include "runtime/dates.h"
#include "tests/app/book_service_server.h"

namespace quillery::lookup {
namespace {

using quillery::testing::BookServiceServer;
using quillery::testing::ServedAnswer;
namespace served = quillery::testing;

LookupSettings settingsFor(const BookServiceServer& server, int timeoutMs = 10'000) {
    LookupSettings settings;
    settings.booksAddress = server.address().toStdString();
    settings.coversAddress = server.address().toStdString();
    settings.timeoutMs = timeoutMs;
    return settings;
}

TEST(BookLookup, TheBooksApiAnswerBecomesAnEntryWithItsCover) {
    BookServiceServer server;
    server.serveTheLibrary();
    const LookupResult result = lookUpAndWait(settingsFor(server), served::kKnownIsbn);
    ASSERT_EQ(result.status, LookupStatus::kFound) << result.message;
    EXPECT_EQ(result.book.title, "The Salt Road Chronicles: Travels Along the Old Trade");
    EXPECT_EQ(result.book.authors, (std::vector<std::string>{"Aubrey Lindqvist", "Tomas Rook"}));
    EXPECT_EQ(result.cover, served::kCoverBytes);
    EXPECT_EQ(server.requests(), (QStringList{served::booksTarget(served::kKnownIsbn),
                                              served::coverTarget(served::kKnownIsbn)}));

    exchange::ImportReport report;
    const QuilleryRecord entry = entryOfFoundBook(result.book, served::kKnownIsbn, "Travel",
                                                  {dayNumberOf(2026, 12, 9), 1}, report);
    EXPECT_EQ(entry.LASTNAME.str(), "Lindqvist");
    EXPECT_EQ(entry.FIRSTNAME.str(), "Aubrey");
    EXPECT_EQ(entry.TITLE.str(), "The Salt Road Chronicles: Travels Along the O");
    EXPECT_EQ(entry.ISBN.str(), "9780140449136");
    EXPECT_EQ(entry.PUBDATE.str(), "March 1998");
    EXPECT_EQ(entry.OTHER.str(), "Harrow & Finch");
    EXPECT_EQ(entry.CATEGORY.str(), "Travel");
    EXPECT_EQ(entry.DELETED, 0);
    EXPECT_FALSE(entry.NAMEKEY.isBlank());
    const exchange::ContentsNote note = exchange::ContentsNote::read(entry.CONTENTS.clipped());
    EXPECT_EQ(note.value(exchange::NoteLabel::kAdditionalAuthors), "Tomas Rook");
    EXPECT_EQ(note.value(exchange::NoteLabel::kPages), "412");
    EXPECT_EQ(note.value(exchange::NoteLabel::kSubjects), "Salt trade, Travel");
    EXPECT_EQ(report.lines(),
              (std::vector<std::string>{"The Salt Road Chronicles: Travels Along the Old Trade: "
                                        "TITLE cut from 53 to 45 characters"}));
}

TEST(BookLookup, AnUnknownIsbnFallsBackToTheEditionRecordAndItsAuthor) {
    BookServiceServer server;
    server.serveTheLibrary();
    const LookupResult result = lookUpAndWait(settingsFor(server), served::kEditionOnlyIsbn);
    ASSERT_EQ(result.status, LookupStatus::kFound) << result.message;
    EXPECT_EQ(result.book.title, "Quayside Ledgers");
    EXPECT_EQ(result.book.authors, (std::vector<std::string>{"Mirela Toth"}));
    EXPECT_EQ(result.book.publishers, (std::vector<std::string>{"Quayside Press"}));
    EXPECT_EQ(result.book.publishDate, "2004");
    EXPECT_EQ(result.book.pages, "230");
    EXPECT_EQ(result.book.subjects, (std::vector<std::string>{"Harbours", "Account books"}));
    EXPECT_TRUE(result.cover.isEmpty());  // the service has none: 404
    EXPECT_EQ(server.requests(),
              (QStringList{served::booksTarget(served::kEditionOnlyIsbn),
                           "/isbn/9780804429573.json", "/books/OL77M.json", "/authors/OL5A.json",
                           served::coverTarget(served::kEditionOnlyIsbn)}));
}

TEST(BookLookup, ABookNoOneKnowsIsNotFound) {
    BookServiceServer server;
    server.serveTheLibrary();
    const LookupResult result = lookUpAndWait(settingsFor(server), served::kUnknownIsbn);
    EXPECT_EQ(result.status, LookupStatus::kNotFound);
    EXPECT_EQ(result.message, "The book service knows no book with ISBN 9791090636071.");
}

TEST(BookLookup, EveryWayAServiceFailsIsSaidPlainly) {
    struct Failure {
        const char* name;
        ServedAnswer answer;
        LookupStatus status;
        std::string messageStart;
    };
    const std::vector<Failure> failures{
        {"silent",
         {.silent = true},
         LookupStatus::kTimedOut,
         "The book service did not answer within 1 second."},
        {"garbage",
         {.body = "<html>Gateway \x01\x02 oops"},
         LookupStatus::kBadAnswer,
         "The book service's answer could not be read: it is not JSON"},
        {"not an object",
         {.body = "[1, 2]"},
         LookupStatus::kBadAnswer,
         "The book service's answer could not be read: it is not a JSON object."},
        {"another book",
         {.body = R"({"ISBN:0000000000": {"title": "X"}})"},
         LookupStatus::kBadAnswer,
         "The book service's answer could not be read: it names no book with this ISBN."},
        {"fifty megabytes",
         {.body = QByteArray(50 * 1024 * 1024, ' ')},
         LookupStatus::kBadAnswer,
         "The book service's answer could not be read: it is larger than 4096 KB."},
        {"fifty megabytes, size unsaid",
         {.body = QByteArray(50 * 1024 * 1024, '['), .announceSize = false},
         LookupStatus::kBadAnswer,
         "The book service's answer could not be read: it is larger than 4096 KB."},
        {"server error",
         {.status = 500, .type = "text/plain", .body = "down"},
         LookupStatus::kBadAnswer,
         "The book service's answer could not be read: "},
    };
    for (const Failure& failure : failures) {
        BookServiceServer server;
        server.answer(served::booksTarget(served::kKnownIsbn), failure.answer);
        QElapsedTimer clock;
        clock.start();
        const LookupResult result = lookUpAndWait(settingsFor(server, 1000), served::kKnownIsbn);
        EXPECT_EQ(result.status, failure.status) << failure.name << ": " << result.message;
        EXPECT_TRUE(result.message.starts_with(failure.messageStart))
            << failure.name << ": " << result.message;
        EXPECT_LT(clock.elapsed(), 5000) << failure.name;
        // No fallback after a failure. The transport itself may send the request again when a
        // connection drops under it (a large answer on a loaded machine), so count targets.
        EXPECT_FALSE(server.requests().isEmpty()) << failure.name;
        for (const QString& target : server.requests())
            EXPECT_EQ(target, served::booksTarget(served::kKnownIsbn)) << failure.name;
    }
}

TEST(BookLookup, ARedirectToAnotherSchemeIsNotFollowed) {
    BookServiceServer server;
    server.answer(
        served::booksTarget(served::kKnownIsbn),
        {.status = 302,
         .type = "text/html",
         .location = QString("https://127.0.0.1:%1/api/books").arg(server.port()).toUtf8()});
    const LookupResult result = lookUpAndWait(settingsFor(server), served::kKnownIsbn);
    EXPECT_EQ(result.status, LookupStatus::kBadAnswer) << result.message;
    EXPECT_EQ(server.requests().size(), 1);
}

TEST(BookLookup, NoServiceAtTheAddressIsNoConnection) {
    quint16 closedPort = 0;
    {
        BookServiceServer gone;
        closedPort = gone.port();
    }
    LookupSettings settings;
    settings.booksAddress = "http://127.0.0.1:" + std::to_string(closedPort);
    const LookupResult result = lookUpAndWait(settings, served::kKnownIsbn);
    EXPECT_EQ(result.status, LookupStatus::kNoConnection);
    EXPECT_TRUE(result.message.starts_with("Could not reach the book service at " +
                                           settings.booksAddress + ": "))
        << result.message;
}

TEST(BookLookup, TurnedOffSendsNothing) {
    BookServiceServer server;
    server.serveTheLibrary();
    LookupSettings settings = settingsFor(server);
    settings.enabled = false;
    const LookupResult result = lookUpAndWait(settings, served::kKnownIsbn);
    EXPECT_EQ(result.status, LookupStatus::kTurnedOff);
    EXPECT_EQ(result.message, "Looking books up is turned off in the settings.");
    QCoreApplication::processEvents();
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST(BookLookup, CancellingEndsALookUpAtOnce) {
    BookServiceServer server;
    server.answer(served::booksTarget(served::kKnownIsbn), {.silent = true});
    BookLookup lookup(settingsFor(server));
    std::vector<LookupResult> results;
    QObject::connect(&lookup, &BookLookup::finished,
                     [&](const LookupResult& result) { results.push_back(result); });
    lookup.start(served::kKnownIsbn);
    while (server.requests().isEmpty())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    lookup.cancel();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].status, LookupStatus::kCancelled);
    EXPECT_FALSE(lookup.busy());
}

TEST(BookLookup, TheEnvironmentPointsBooksAndCoversElsewhere) {
    qputenv("QUILLERY_LOOKUP_URL", "http://127.0.0.1:8080");
    const LookupSettings settings = withAddressFromEnvironment({});
    qunsetenv("QUILLERY_LOOKUP_URL");
    EXPECT_EQ(settings.booksAddress, "http://127.0.0.1:8080");
    EXPECT_EQ(settings.coversAddress, "http://127.0.0.1:8080");
    EXPECT_EQ(withAddressFromEnvironment({}).booksAddress, "https://openlibrary.org");
    EXPECT_EQ(LookupSettings{}.timeoutMs, 10'000);
}

}  // namespace
}  // namespace quillery::lookup
