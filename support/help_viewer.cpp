// The help viewer window and the Help menu's two ways into it.
#include "support/help_viewer.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "runtime/window/help.h"
#include "runtime/window/picture_files.h"
#include "runtime/window/screen_text.h"
#include "runtime/window/window.h"

namespace quillery {
namespace {

constexpr int kTopicRole = Qt::UserRole;

}  // namespace

HelpViewerWindow::HelpViewerWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      search_(new QLineEdit),
      found_(new QLabel),
      topics_(new QListWidget),
      text_(new QTextBrowser) {
    setWindowTitle(tr("Quillery Help"));
    setWindowIcon(readPictureIcon(QStringLiteral("book.ico")));
    // Closing help must not end the program when it is the last window left.
    setAttribute(Qt::WA_QuitOnClose, false);

    search_->setPlaceholderText(tr("Type words to search for"));
    search_->setClearButtonEnabled(true);
    auto* searchLabel = new QLabel(tr("&Search:"));
    searchLabel->setBuddy(search_);
    found_->setWordWrap(true);

    auto* side = new QWidget;
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(searchLabel);
    sideLayout->addWidget(search_);
    sideLayout->addWidget(found_);
    auto* topicsLabel = new QLabel(tr("&Topics:"));
    topicsLabel->setBuddy(topics_);
    sideLayout->addWidget(topicsLabel);
    sideLayout->addWidget(topics_, 1);
    topics_->setWordWrap(true);
    topics_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    text_->setOpenLinks(false);
    text_->document()->setDefaultStyleSheet(
        QStringLiteral("h2 { color: #1d3f78; } h3 { color: #24508f; } a { color: #2a5aa8; }"));

    auto* splitter = new QSplitter;
    splitter->addWidget(side);
    splitter->addWidget(text_);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({250, 570});
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(splitter);
    resize(820, 580);

    connect(search_, &QLineEdit::textChanged, this, &HelpViewerWindow::searchChanged);
    connect(topics_, &QListWidget::currentRowChanged, this, &HelpViewerWindow::listRowChanged);
    connect(text_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (url.scheme() == QStringLiteral("topic")) showTopic(url.path().toInt());
    });
}

void HelpViewerWindow::setDocument(const QString& helpFile, HelpDocument document) {
    helpFile_ = helpFile;
    document_ = std::move(document);
    currentTopic_ = -1;
    search_->clear();
    searchChanged(QString());
}

QList<int> HelpViewerWindow::listedTopics() const {
    QList<int> listed;
    for (int row = 0; row < topics_->count(); ++row) {
        listed.append(topics_->item(row)->data(kTopicRole).toInt());
    }
    return listed;
}

void HelpViewerWindow::fillList(const QList<int>& topics) {
    const QSignalBlocker blocker(topics_);
    topics_->clear();
    for (int topic : topics) {
        auto* item = new QListWidgetItem(document_.topics()[topic].title, topics_);
        item->setData(kTopicRole, topic);
    }
}

void HelpViewerWindow::searchChanged(const QString& text) {
    if (document_.isEmpty()) {
        fillList({});
        found_->clear();
        currentTopic_ = -1;
        text_->setHtml(tr("<p>No help is available for %1.</p>").arg(helpFile_.toHtmlEscaped()));
        return;
    }
    qsizetype row = 0;  // a search shows its best match
    if (searchWords(text).isEmpty()) {
        QList<int> all;
        for (int i = 0; i < document_.topics().size(); ++i)
            all.append(i);
        fillList(all);
        found_->clear();
        // Clearing the search keeps the topic being read.
        row = std::max<qsizetype>(0, listedTopics().indexOf(currentTopic_));
    } else {
        const QList<int> matches = document_.search(text);
        fillList(matches);
        found_->setText(matches.isEmpty()     ? tr("No topic contains these words.")
                        : matches.size() == 1 ? tr("1 topic found.")
                                              : tr("%1 topics found.").arg(matches.size()));
    }
    topics_->setCurrentRow(int(row));
    if (topics_->count() == 0) text_->clear();
    listRowChanged(topics_->currentRow());
}

void HelpViewerWindow::listRowChanged(int row) {
    if (row < 0 || row >= topics_->count()) return;
    const int topic = topics_->item(row)->data(kTopicRole).toInt();
    currentTopic_ = topic;
    text_->setHtml(document_.topicHtml(topic));
    highlightWords();
}

void HelpViewerWindow::showTopic(int topic) {
    if (topic < 0 || topic >= document_.topics().size()) return;
    if (!listedTopics().contains(topic)) {
        currentTopic_ = topic;
        search_->clear();  // lists every topic again
    }
    topics_->setCurrentRow(listedTopics().indexOf(topic));
}

void HelpViewerWindow::highlightWords() {
    QList<QTextEdit::ExtraSelection> marks;
    for (const QString& word : searchWords(search_->text())) {
        QTextCursor cursor(text_->document());
        while (!(cursor = text_->document()->find(word, cursor)).isNull()) {
            QTextEdit::ExtraSelection mark;
            mark.cursor = cursor;
            mark.format.setBackground(QColor(0xff, 0xe8, 0x80));
            marks.append(mark);
        }
    }
    text_->setExtraSelections(marks);
}

void HelpViewerWindow::keyPressEvent(QKeyEvent* event) {
    // Escape reaches here from any part of the viewer that has no use for it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void HelpViewerWindow::placeOver(QWidget* owner) {
    if (owner == nullptr) return;
    // A window with a parent stays above it and goes with it.
    if (parentWidget() != owner) setParent(owner, windowFlags() | Qt::Window);
    QRect place(QPoint(0, 0), size());
    place.moveCenter(owner->frameGeometry().center());
    move(place.topLeft());
}

void HelpViewerWindow::openContents() {
    search_->clear();
    showTopic(0);
    show();
    raise();
    activateWindow();
    topics_->setFocus();
}

void HelpViewerWindow::openSearch() {
    show();
    raise();
    activateWindow();
    search_->setFocus();
    search_->selectAll();
}

namespace {

// The program has one help viewer; it is made on first use and kept for the next.
HelpViewerWindow* viewerFor(const QString& helpFile) {
    static QPointer<HelpViewerWindow> viewer;
    if (!viewer) viewer = new HelpViewerWindow;
    // Names that lead to the same document ("C:\BOOK\BOOK.HLP", "Book.hlp") keep the reader's
    // place and search.
    if (viewer->document().isEmpty() ||
        helpDocumentPath(helpFile) != helpDocumentPath(viewer->helpFile())) {
        viewer->setDocument(helpFile, loadHelpDocument(helpFile));
    } else {
        viewer->setHelpFile(helpFile);
    }
    return viewer;
}

// The window whose Help menu asked; nullptr when none is open.
QWidget* askingWindow() {
    Window* window = currentWindow();
    return window != nullptr ? window->widget() : nullptr;
}

}  // namespace

HelpViewerWindow* showHelpContents(const QString& helpFile) {
    HelpViewerWindow* viewer = viewerFor(helpFile);
    viewer->placeOver(askingWindow());
    viewer->openContents();
    return viewer;
}

HelpViewerWindow* showHelpSearch(const QString& helpFile) {
    HelpViewerWindow* viewer = viewerFor(helpFile);
    viewer->placeOver(askingWindow());
    viewer->openSearch();
    return viewer;
}

void showHelp(const std::string& file, HelpRequest request) {
    const QString name = toScreen(file).trimmed();
    if (request == HelpRequest::Search) {
        showHelpSearch(name);
    } else {
        showHelpContents(name);
    }
}

}  // namespace quillery
