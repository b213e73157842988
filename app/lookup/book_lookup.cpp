// The look-up's requests and their answers.
#include "app/lookup/book_lookup.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>
#include <algorithm>
#include <cstdlib>

namespace quillery::lookup {

namespace {

constexpr std::size_t kAuthorsFetched = 3;  // a first author is what the entry needs

QString address(const std::string& base) {
    QString text = QString::fromStdString(base);
    while (text.endsWith('/'))
        text.chop(1);
    return text;
}

bool isConnectionFailure(QNetworkReply::NetworkError error) {
    switch (error) {
        case QNetworkReply::ConnectionRefusedError:
        case QNetworkReply::RemoteHostClosedError:
        case QNetworkReply::HostNotFoundError:
        case QNetworkReply::TimeoutError:
        case QNetworkReply::TemporaryNetworkFailureError:
        case QNetworkReply::NetworkSessionFailedError:
        case QNetworkReply::ProxyConnectionRefusedError:
        case QNetworkReply::ProxyConnectionClosedError:
        case QNetworkReply::ProxyNotFoundError:
        case QNetworkReply::ProxyTimeoutError:
        case QNetworkReply::UnknownNetworkError:
        case QNetworkReply::UnknownProxyError:
            return true;
        default:
            return false;
    }
}

}  // namespace

LookupSettings withAddressFromEnvironment(LookupSettings settings) {
    if (const char* value = std::getenv(kLookupAddressVariable.data()); value && *value) {
        settings.booksAddress = value;
        settings.coversAddress = value;
    }
    return settings;
}

BookLookup::BookLookup(LookupSettings settings, QObject* parent)
    : QObject(parent), settings_(std::move(settings)), network_(new QNetworkAccessManager(this)) {
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, [this] {
        if (step_ == Step::kCover) return finish(LookupStatus::kFound);  // the book is enough
        const int seconds = std::max(1, settings_.timeoutMs / 1000);
        finish(LookupStatus::kTimedOut, "The book service did not answer within " +
                                            std::to_string(seconds) +
                                            (seconds == 1 ? " second." : " seconds."));
    });
}

BookLookup::~BookLookup() {
    if (reply_) reply_->abort();
}

void BookLookup::start(const std::string& isbn) {
    if (busy_) cancel();
    result_ = LookupResult{};
    result_.isbn = isbn;
    busy_ = true;
    if (!settings_.enabled) {
        return finish(LookupStatus::kTurnedOff, "Looking books up is turned off in the settings.");
    }
    deadline_.start(settings_.timeoutMs);
    request(Step::kBooks, address(settings_.booksAddress) + "/api/books?bibkeys=ISBN:" +
                              QString::fromStdString(isbn) + "&format=json&jscmd=data");
}

void BookLookup::cancel() {
    if (!busy_) return;
    finish(LookupStatus::kCancelled, "The look-up was cancelled.");
}

void BookLookup::request(Step step, const QString& url) {
    step_ = step;
    tooLarge_ = false;
    QNetworkRequest request{QUrl(url)};
    // Redirects stay within the service's own scheme, host and port.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::SameOriginRedirectPolicy);
    request.setHeader(QNetworkRequest::UserAgentHeader, "Quillery");
    QNetworkReply* reply = network_->get(request);
    reply_ = reply;
    const qint64 limit = settings_.answerLimit;
    connect(reply, &QNetworkReply::downloadProgress, this,
            [this, reply, limit](qint64 received, qint64 total) {
                if (received > limit || total > limit) {
                    tooLarge_ = true;
                    reply->abort();
                }
            });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { answered(reply); });
}

void BookLookup::answered(QNetworkReply* reply) {
    reply->deleteLater();
    if (reply != reply_ || !busy_) return;  // cancelled, or overtaken by a newer request
    reply_ = nullptr;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QNetworkReply::NetworkError error = reply->error();
    if (step_ == Step::kCover) {
        if (error == QNetworkReply::NoError && !tooLarge_) result_.cover = reply->readAll();
        return finish(LookupStatus::kFound);
    }
    if (tooLarge_) {
        return finish(LookupStatus::kBadAnswer,
                      "The book service's answer could not be read: it is larger than " +
                          std::to_string(settings_.answerLimit / 1024) + " KB.");
    }
    if (step_ == Step::kAuthor) {
        if (error == QNetworkReply::NoError) {
            if (std::string name = readAuthorName(reply->readAll().toStdString()); !name.empty())
                result_.book.authors.push_back(std::move(name));
        }
        return nextAuthor();
    }
    if (error != QNetworkReply::NoError && status != 404) {
        if (isConnectionFailure(error)) {
            return finish(LookupStatus::kNoConnection,
                          "Could not reach the book service at " + settings_.booksAddress + ": " +
                              reply->errorString().toStdString() + ".");
        }
        return finish(LookupStatus::kBadAnswer, "The book service's answer could not be read: " +
                                                    reply->errorString().toStdString() + ".");
    }
    const QByteArray body = reply->readAll();
    if (step_ == Step::kBooks) return booksAnswered(body, status);
    editionAnswered(body, status);
}

void BookLookup::booksAnswered(const QByteArray& body, int httpStatus) {
    const BookAnswer answer =
        httpStatus == 404
            ? BookAnswer{AnswerKind::kNotFound, {}, {}}
            : readBooksAnswer(std::string_view(body.data(), body.size()), result_.isbn);
    switch (answer.kind) {
        case AnswerKind::kBook:
            result_.book = answer.book;
            return fetchCover();
        case AnswerKind::kNotFound:
            return request(Step::kEdition, address(settings_.booksAddress) + "/isbn/" +
                                               QString::fromStdString(result_.isbn) + ".json");
        case AnswerKind::kBad:
            return finish(LookupStatus::kBadAnswer,
                          "The book service's answer could not be read: " + answer.problem + ".");
    }
}

void BookLookup::editionAnswered(const QByteArray& body, int httpStatus) {
    const BookAnswer answer = httpStatus == 404
                                  ? BookAnswer{AnswerKind::kNotFound, {}, {}}
                                  : readEditionRecord(std::string_view(body.data(), body.size()));
    if (answer.kind == AnswerKind::kNotFound) {
        return finish(LookupStatus::kNotFound,
                      "The book service knows no book with ISBN " + result_.isbn + ".");
    }
    if (answer.kind == AnswerKind::kBad) {
        return finish(LookupStatus::kBadAnswer,
                      "The book service's answer could not be read: " + answer.problem + ".");
    }
    result_.book = answer.book;
    nextAuthor_ = 0;
    nextAuthor();
}

void BookLookup::nextAuthor() {
    const std::vector<std::string>& keys = result_.book.authorKeys;
    if (nextAuthor_ < keys.size() && nextAuthor_ < kAuthorsFetched) {
        const std::string& key = keys[nextAuthor_++];
        return request(Step::kAuthor,
                       address(settings_.booksAddress) + QString::fromStdString(key) + ".json");
    }
    fetchCover();
}

void BookLookup::fetchCover() {
    if (!settings_.fetchCover) return finish(LookupStatus::kFound);
    // Without default=false the service answers an unknown cover with a blank picture.
    request(Step::kCover, address(settings_.coversAddress) + "/b/isbn/" +
                              QString::fromStdString(result_.isbn) + "-M.jpg?default=false");
}

void BookLookup::finish(LookupStatus status, std::string message) {
    if (!busy_) return;
    busy_ = false;
    deadline_.stop();
    if (reply_) {
        QNetworkReply* reply = reply_;
        reply_ = nullptr;
        reply->abort();
    }
    result_.status = status;
    result_.message = std::move(message);
    emit finished(result_);
}

LookupResult lookUpAndWait(const LookupSettings& settings, const std::string& isbn) {
    BookLookup lookup(settings);
    LookupResult result;
    QEventLoop loop;
    QObject::connect(&lookup, &BookLookup::finished, &loop, [&](const LookupResult& answer) {
        result = answer;
        loop.quit();
    });
    lookup.start(isbn);
    if (lookup.busy()) loop.exec();
    return result;
}

}  // namespace quillery::lookup
