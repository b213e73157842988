// A book service on the loopback address for the look-up tests: answers shaped as the real
// service's books API, edition, author and cover requests are, from book data of our own, plus
// the ways a service can fail (silence, garbage, an endless answer, a redirect elsewhere).
#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace quillery::testing {

struct ServedAnswer {
    int status = 200;
    QByteArray type = "application/json";
    QByteArray body{};
    QByteArray location{};     // for a redirect
    bool silent = false;       // never answer at all
    bool announceSize = true;  // false: no Content-Length, the end is the connection's close
    int delayMs = 0;           // answer only after this long, as a slow service does
};

class BookServiceServer : public QObject {
  public:
    BookServiceServer() {
        server_.listen(QHostAddress::LocalHost);
        QObject::connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                socket->setParent(this);
                QObject::connect(socket, &QTcpSocket::readyRead, this,
                                 [this, socket] { readRequest(socket); });
            }
        });
    }

    QString address() const { return QString("http://127.0.0.1:%1").arg(server_.serverPort()); }
    quint16 port() const { return server_.serverPort(); }

    // `target` is the path with its query, as requested: "/api/books?bibkeys=...".
    void answer(const QString& target, ServedAnswer reply) { answers_[target] = reply; }
    // The requests seen, in order.
    const QStringList& requests() const { return requests_; }

    // The service as the tests know it: one book the books API describes, one only the edition
    // record knows (reached through a redirect, as the service does), the rest unknown.
    void serveTheLibrary();

  private:
    void readRequest(QTcpSocket* socket) {
        QByteArray& buffer = pending_[socket];
        buffer += socket->readAll();
        if (!buffer.contains("\r\n\r\n")) return;
        const QList<QByteArray> words = buffer.left(buffer.indexOf("\r\n")).split(' ');
        const QString target = words.size() > 1 ? QString::fromUtf8(words[1]) : QString();
        requests_.append(target);
        pending_.remove(socket);
        const auto found = answers_.constFind(target);
        ServedAnswer reply = found != answers_.constEnd()
                                 ? *found
                                 : ServedAnswer{.status = 404, .body = "{\"error\": \"notfound\"}"};
        if (reply.silent) return;
        if (reply.delayMs > 0) {
            QTimer::singleShot(reply.delayMs, socket, [socket, reply] { send(socket, reply); });
        } else {
            send(socket, reply);
        }
    }

    static void send(QTcpSocket* socket, const ServedAnswer& reply) {
        QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + " " +
                          (reply.status == 200   ? "OK"
                           : reply.status == 302 ? "Found"
                                                 : "Not Found") +
                          "\r\nContent-Type: " + reply.type + "\r\nConnection: close\r\n";
        if (!reply.location.isEmpty()) head += "Location: " + reply.location + "\r\n";
        if (reply.announceSize)
            head += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
        socket->write(head + "\r\n");
        socket->write(reply.body);
        socket->disconnectFromHost();
    }

    QTcpServer server_;
    QMap<QString, ServedAnswer> answers_;
    QMap<QTcpSocket*, QByteArray> pending_;
    QStringList requests_;
};

// Our own books.
inline constexpr char kKnownIsbn[] = "9780140449136";
inline constexpr char kEditionOnlyIsbn[] = "9780804429573";
inline constexpr char kUnknownIsbn[] = "9791090636071";
inline const QByteArray kCoverBytes("\xFF\xD8\xFF\xE0\0\x10JFIF\0 a cover of our own\xFF\xD9", 33);

inline QString booksTarget(const char* isbn) {
    return QString("/api/books?bibkeys=ISBN:%1&format=json&jscmd=data").arg(isbn);
}
inline QString coverTarget(const char* isbn) {
    return QString("/b/isbn/%1-M.jpg?default=false").arg(isbn);
}

inline void BookServiceServer::serveTheLibrary() {
    answer(booksTarget(kKnownIsbn), {.body = R"({"ISBN:9780140449136": {
  "url": "https://openlibrary.org/books/OL9001M/the-salt-road-chronicles",
  "key": "/books/OL9001M",
  "title": "The Salt Road Chronicles",
  "subtitle": "Travels Along the Old Trade",
  "authors": [{"url": "https://openlibrary.org/authors/OL501A/Aubrey_Lindqvist",
               "name": "Aubrey Lindqvist"},
              {"url": "https://openlibrary.org/authors/OL502A/Tomas_Rook", "name": "Tomas Rook"}],
  "number_of_pages": 412,
  "pagination": "xii, 412 p.",
  "identifiers": {"isbn_10": ["0140449132"], "isbn_13": ["9780140449136"],
                  "openlibrary": ["OL9001M"]},
  "publishers": [{"name": "Harrow & Finch"}],
  "publish_places": [{"name": "Bristol"}],
  "publish_date": "March 1998",
  "subjects": [{"name": "Salt trade", "url": "https://openlibrary.org/subjects/salt_trade"},
               {"name": "Travel", "url": "https://openlibrary.org/subjects/travel"}],
  "cover": {"small": "https://covers.openlibrary.org/b/id/1234-S.jpg",
            "medium": "https://covers.openlibrary.org/b/id/1234-M.jpg",
            "large": "https://covers.openlibrary.org/b/id/1234-L.jpg"}
}})"});
    answer(coverTarget(kKnownIsbn), {.type = "image/jpeg", .body = kCoverBytes});

    answer(booksTarget(kEditionOnlyIsbn), {.body = "{}"});
    answer(QString("/isbn/%1.json").arg(kEditionOnlyIsbn),
           {.status = 302, .type = "text/html", .location = "/books/OL77M.json"});
    answer("/books/OL77M.json", {.body = R"({
  "key": "/books/OL77M", "type": {"key": "/type/edition"},
  "title": "Quayside Ledgers",
  "authors": [{"key": "/authors/OL5A"}],
  "publishers": ["Quayside Press"],
  "publish_date": "2004",
  "number_of_pages": 230,
  "isbn_10": ["080442957X"], "isbn_13": ["9780804429573"],
  "covers": [77001],
  "works": [{"key": "/works/OL55W"}],
  "subjects": ["Harbours", "Account books"],
  "latest_revision": 3, "revision": 3
})"});
    answer("/authors/OL5A.json", {.body = R"({
  "key": "/authors/OL5A", "type": {"key": "/type/author"},
  "name": "Mirela Toth", "personal_name": "Mirela Toth", "revision": 2
})"});

    answer(booksTarget(kUnknownIsbn), {.body = "{}"});
}

}  // namespace quillery::testing
