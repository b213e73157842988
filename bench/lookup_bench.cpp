// Our own time per look-up by ISBN: a whole look-up (books API answer, cover) against a book
// service on the loopback address, side by side with the bare requests it makes, fetched with
// Qt Network alone, as the baseline. The difference is what the look-up adds to the network's
// time: reading the answer, building the entry, the redirect and size checks.
//
// Then quick add in the main window, offscreen, over a catalogue of generated entries: a run of
// scans entered into the look-up window one after another (each as soon as the one before is
// in the catalogue), and the same run entered all at once as a fast scanner would. Each scan's
// time runs from its Return to its book being saved, listed and shown; the bare requests are
// again the baseline, and the one second a scanner allows is the budget.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <functional>

#include "app/isbn.h"
#include "app/lookup/book_entry.h"
#include "app/lookup/book_lookup.h"
#include "app/window/display_quillery.h"
#include "app/window/main_window_layout.h"
#include "app/window/program_start.h"
#include "bench/window_bench_setup.h"
#include "runtime/dates.h"
#include "runtime/window/testing/test_driver.h"
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

constexpr int kScans = 60;
constexpr std::size_t kEntries = 5000;

// A valid ISBN-13 of the run's book `n`.
std::string scannedIsbn(int n) {
    std::string digits = "97819" + QString("%1").arg(n, 7, 10, QChar('0')).toStdString();
    return digits + isbn13CheckDigit(digits);
}

void serveTheRun(testing::BookServiceServer& server) {
    for (int n = 0; n < 2 * kScans; ++n) {
        const std::string isbn = scannedIsbn(n);
        server.answer(testing::booksTarget(isbn.c_str()),
                      {.body = QString(R"({"ISBN:%1": {"title": "Scanned Book %2",
  "authors": [{"url": "https://openlibrary.org/authors/OL%2A/x", "name": "Ada Quist%2"}],
  "publishers": [{"name": "Kestrel House"}], "publish_date": "2001", "number_of_pages": 200,
  "subjects": [{"name": "Benchmarks", "url": "https://openlibrary.org/subjects/benchmarks"}]}})")
                                   .arg(QString::fromStdString(isbn))
                                   .arg(n)
                                   .toUtf8()});
        server.answer(testing::coverTarget(isbn.c_str()),
                      {.type = "image/jpeg", .body = testing::kCoverBytes});
    }
}

struct QuickAddTimes {
    double oneByOne = 0;   // ms per scan, each entered once the one before was saved
    double allAtOnce = 0;  // ms per scan, the whole run entered at once
    int saved = 0;
};

// Drives the look-up window while it is open: keep adding on, then the two runs, then Close.
class Scanner : public QObject {
  public:
    explicit Scanner(QuickAddTimes& times) : times_(times) {
        connect(&poll_, &QTimer::timeout, this, [this] { findWindow(); });
        poll_.start(5);
    }

  private:
    void findWindow() {
        QWidget* window = QApplication::activeModalWidget();
        if (window == nullptr || window->objectName() != "LookupWindow") return;
        poll_.stop();
        window_ = window;
        box_ = window->findChild<QLineEdit*>("Isbn");
        list_ = window->findChild<QTreeWidget*>("Scans");
        window->findChild<QCheckBox*>("KeepAdding")->setChecked(true);
        connect(list_->model(), &QAbstractItemModel::dataChanged, this, [this] { changed(); });
        clock_.start();
        scan(0);
    }
    void scan(int n) {
        box_->setText(QString::fromStdString(scannedIsbn(n)));
        window_->findChild<QAbstractButton*>("LookUp")->click();  // what Return does
    }
    int saved() const {
        int n = 0;
        for (int i = 0; i < list_->topLevelItemCount(); ++i)
            n += list_->topLevelItem(i)->text(2) == "added";
        return n;
    }
    void changed() {
        const int done = saved();
        if (done == next_ + 1 && next_ + 1 < kScans) {
            ++next_;
            QTimer::singleShot(0, this, [this] { scan(next_); });  // after this change is shown
        } else if (done == kScans && !burst_) {
            times_.oneByOne = clock_.nsecsElapsed() / 1e6 / kScans;
            burst_ = true;
            clock_.restart();
            QTimer::singleShot(0, this, [this] {
                for (int n = kScans; n < 2 * kScans; ++n)
                    scan(n);
            });
        } else if (done == 2 * kScans && burst_ && times_.saved == 0) {
            times_.allAtOnce = clock_.nsecsElapsed() / 1e6 / kScans;
            times_.saved = done;
            QTimer::singleShot(0, this, [this] {
                window_->findChild<QAbstractButton*>("Cancel")->click();  // "Close"
            });
        }
    }

    QuickAddTimes& times_;
    QTimer poll_;
    QElapsedTimer clock_;
    QWidget* window_ = nullptr;
    QLineEdit* box_ = nullptr;
    QTreeWidget* list_ = nullptr;
    int next_ = 0;
    bool burst_ = false;
};

QuickAddTimes runQuickAdd() {
    using namespace quillery::script;
    namespace W = displayquillery;
    const std::filesystem::path folder = bench::freshFolder("quillery-quick-add-bench");
    const std::filesystem::path path = folder / "SCANS.QLY";
    bench::writeCatalogue(path, bench::currentEntries(kEntries));
    QuickAddTimes times;
    Scanner scanner(times);
    ScriptedSession s;
    s.then(timer(1).in("BOOKSPLASH$WINDOW"))
        .then(click(W::LOOKUP).in("DISPLAYQUILLERY$QUICKWINDOW"))
        .then(menu(W::FILEEXIT));
    initialiseGlobals();
    DISPLAYQUILLERY(path.string());
    if (!s.done())
        std::fprintf(stderr, "lookup_bench: the script stopped:\n%s", s.report().c_str());
    return times;
}

}  // namespace

int main(int argc, char** argv) {
    bench::prepareOffscreen();
    QApplication application(argc, argv);
    // The served cover is a token, not a picture the window can draw; that is no news here.
    QLoggingCategory::setFilterRules("qt.gui.imageio.jpeg=false");
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

    serveTheRun(server);
    qputenv("QUILLERY_LOOKUP_URL", server.address().toUtf8());
    const QuickAddTimes quick = runQuickAdd();
    std::printf("\nquick add in the main window over %zu entries, %d scans a run (%d saved)\n",
                kEntries, kScans, quick.saved);
    std::printf("  bare requests (baseline)   %8.3f ms per book\n", bare);
    std::printf("  one scan after another     %8.3f ms per scan\n", quick.oneByOne);
    std::printf("  our own time               %8.3f ms per scan (budget: 1000 ms a scan)\n",
                quick.oneByOne - bare);
    std::printf("  a run entered at once      %8.3f ms per scan\n", quick.allAtOnce);
    return found == kRounds && quick.saved == 2 * kScans ? 0 : 1;
}
