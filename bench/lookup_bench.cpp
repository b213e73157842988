// Our own time per look-up by ISBN: a whole look-up (books API answer, cover) against a book
// service on the loopback address, side by side with the bare requests it makes, fetched with
// Qt Network alone, as the baseline. The difference is what the look-up adds to the network's
// time: reading the answer, building the entry, the redirect and size checks.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <cstdio>

#include "app/lookup/book_entry.h"
#include "app/lookup/book_lookup.h"
#include "runtime/dates.h"
#include "tests/app/book_service_server.h"

namespace {

using namespace quillery;

QByteArray fetch(QNetworkAccessManager& network, const QString& url) {
    QNetworkReply* reply = network.get(QNetworkRequest(QUrl(url)));
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const QByteArray body = reply->readAll();
    reply->deleteLater();
    return body;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    testing::BookServiceServer server;
    server.serveTheLibrary();
    lookup::LookupSettings settings;
    settings.booksAddress = settings.coversAddress = server.address().toStdString();
    constexpr int kRounds = 200;

    QNetworkAccessManager network;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kRounds; ++i) {
        fetch(network, server.address() + testing::booksTarget(testing::kKnownIsbn));
        fetch(network, server.address() + testing::coverTarget(testing::kKnownIsbn));
    }
    const double bare = clock.nsecsElapsed() / 1e6 / kRounds;

    clock.restart();
    int found = 0;
    for (int i = 0; i < kRounds; ++i) {
        const lookup::LookupResult result = lookup::lookUpAndWait(settings, testing::kKnownIsbn);
        exchange::ImportReport report;
        const QuilleryRecord entry =
            lookup::entryOfFoundBook(result.book, result.isbn, {}, {TODAY(), CLOCK()}, report);
        found += result.found() && !entry.TITLE.isBlank();
    }
    const double whole = clock.nsecsElapsed() / 1e6 / kRounds;

    std::printf("look-up by ISBN over loopback, %d rounds (%d found)\n", kRounds, found);
    std::printf("  bare requests (baseline)   %8.3f ms per book\n", bare);
    std::printf("  whole look-up and entry    %8.3f ms per book\n", whole);
    std::printf("  our own time               %8.3f ms per book\n", whole - bare);
    return found == kRounds ? 0 : 1;
}
