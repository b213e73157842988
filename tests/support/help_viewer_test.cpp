// The help viewer: opened at its contents or at its search, the search narrowing the topic
// list, links between topics, an unknown help file, and the Help menu's way in through the
// window engine, its place over the window that asked and Escape. Saves a screenshot.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTextBrowser>
#include <QUrl>

#include "runtime/window/help.h"
#include "runtime/window/window.h"
#include "runtime/window/window_options.h"
#include "support/help_viewer.h"

namespace quillery {
namespace {

QString testOutputFolder() {
    QString folder = qEnvironmentVariable("QUILLERY_TEST_OUTPUT");
    if (folder.isEmpty()) folder = QDir::temp().filePath(QStringLiteral("quillery-test-output"));
    QDir().mkpath(folder);
    return folder;
}

QList<int> allTopics(const HelpDocument& document) {
    QList<int> all;
    for (int i = 0; i < document.topics().size(); ++i)
        all.append(i);
    return all;
}

class HelpViewerTest : public ::testing::Test {
  protected:
    void TearDown() override {
        if (viewer_) viewer_->hide();
        QApplication::processEvents();
    }
    HelpViewerWindow* viewer_ = nullptr;
};

TEST_F(HelpViewerTest, OpensAtTheContents) {
    viewer_ = showHelpContents(QStringLiteral("Book.hlp"));
    ASSERT_NE(viewer_, nullptr);
    QApplication::processEvents();
    EXPECT_TRUE(viewer_->isVisible());
    EXPECT_EQ(viewer_->windowTitle(), QStringLiteral("Quillery Help"));
    EXPECT_EQ(viewer_->currentTopic(), 0);
    EXPECT_TRUE(viewer_->searchBox()->text().isEmpty());
    EXPECT_EQ(viewer_->listedTopics(), allTopics(viewer_->document()));
    EXPECT_EQ(viewer_->topicList()->currentRow(), 0);
    EXPECT_TRUE(viewer_->textView()->toPlainText().startsWith(QStringLiteral("Contents")));
    EXPECT_EQ(viewer_->focusWidget(), viewer_->topicList());
}

TEST_F(HelpViewerTest, OpensWithTheSearchBoxReadyAndKeepsOneWindow) {
    HelpViewerWindow* contents = showHelpContents(QStringLiteral("Book.hlp"));
    contents->searchBox()->setText(QStringLiteral("printer"));
    viewer_ = showHelpSearch(QStringLiteral("BOOK.HLP"));
    QApplication::processEvents();
    EXPECT_EQ(viewer_, contents);
    EXPECT_TRUE(viewer_->isVisible());
    EXPECT_EQ(viewer_->focusWidget(), viewer_->searchBox());
    // The words typed last are kept and selected, so typing replaces them.
    EXPECT_EQ(viewer_->searchBox()->selectedText(), QStringLiteral("printer"));
    // Opening the contents again clears the search.
    showHelpContents(QStringLiteral("Book.hlp"));
    EXPECT_TRUE(viewer_->searchBox()->text().isEmpty());
    EXPECT_EQ(viewer_->currentTopic(), 0);
}

TEST_F(HelpViewerTest, TypingWordsListsTheTopicsContainingThem) {
    viewer_ = showHelpSearch(QStringLiteral("Book.hlp"));
    const HelpDocument& document = viewer_->document();
    for (const char* words : {"undo", "category tab", "Print by ISBN", "ignore case"}) {
        viewer_->searchBox()->setText(QString::fromLatin1(words));
        const QList<int> expected = document.search(QString::fromLatin1(words));
        ASSERT_FALSE(expected.isEmpty()) << words;
        EXPECT_EQ(viewer_->listedTopics(), expected) << words;
        EXPECT_EQ(viewer_->currentTopic(), expected.front()) << words;
        EXPECT_TRUE(viewer_->textView()->toPlainText().startsWith(
            document.topics()[expected.front()].title));
        EXPECT_FALSE(viewer_->textView()->extraSelections().isEmpty()) << words;
    }
    viewer_->searchBox()->setText(QStringLiteral("xylophone"));
    EXPECT_TRUE(viewer_->listedTopics().isEmpty());
    viewer_->searchBox()->clear();
    EXPECT_EQ(viewer_->listedTopics(), allTopics(document));
}

TEST_F(HelpViewerTest, ChoosingATopicOrFollowingALinkShowsIt) {
    viewer_ = showHelpContents(QStringLiteral("Book.hlp"));
    const HelpDocument& document = viewer_->document();
    const int undo = document.topicIndex(QStringLiteral("Undo"));
    ASSERT_GT(undo, 0);
    viewer_->topicList()->setCurrentRow(undo);
    EXPECT_EQ(viewer_->currentTopic(), undo);
    EXPECT_TRUE(viewer_->textView()->toPlainText().startsWith(QStringLiteral("Undo")));

    // A link to a topic the search has hidden clears the search and shows it.
    viewer_->searchBox()->setText(QStringLiteral("letter buttons"));
    ASSERT_FALSE(viewer_->listedTopics().contains(undo));
    emit viewer_->textView()->anchorClicked(QUrl(QStringLiteral("topic:%1").arg(undo)));
    EXPECT_EQ(viewer_->currentTopic(), undo);
    EXPECT_TRUE(viewer_->searchBox()->text().isEmpty());
    EXPECT_EQ(viewer_->topicList()->currentItem()->text(), QStringLiteral("Undo"));
    // Links that lead nowhere change nothing.
    emit viewer_->textView()->anchorClicked(QUrl(QStringLiteral("topic:9999")));
    emit viewer_->textView()->anchorClicked(QUrl(QStringLiteral("https://example.org/")));
    EXPECT_EQ(viewer_->currentTopic(), undo);

    viewer_->resize(820, 560);
    QApplication::processEvents();
    EXPECT_TRUE(
        viewer_->grab().save(QDir(testOutputFolder()).filePath(QStringLiteral("help_viewer.png"))));
    showHelpContents(QStringLiteral("Book.hlp"));
}

TEST_F(HelpViewerTest, AnUnknownHelpFileSaysThereIsNoHelp) {
    HelpViewerWindow window;
    window.setDocument(QStringLiteral("Other.hlp"), loadHelpDocument(QStringLiteral("Other.hlp")));
    window.openContents();
    EXPECT_TRUE(window.listedTopics().isEmpty());
    EXPECT_EQ(window.currentTopic(), -1);
    EXPECT_EQ(window.textView()->toPlainText(),
              QStringLiteral("No help is available for Other.hlp."));
    window.searchBox()->setText(QStringLiteral("undo"));
    EXPECT_TRUE(window.listedTopics().isEmpty());
}

TEST_F(HelpViewerTest, TheHelpMenuOpensItThroughTheWindowEngine) {
    viewer_ = showHelpContents(QStringLiteral("Book.hlp"));
    viewer_->hide();
    WindowOptions options = windowOptions();
    options.helpViewer = showHelp;
    const ScopedWindowOptions helpMenu(options);

    HELP("C:\\BOOK\\BOOK.HLP");
    openHelp(HelpRequest::Search);
    EXPECT_TRUE(viewer_->isVisible());
    EXPECT_EQ(viewer_->helpFile(), QStringLiteral("C:\\BOOK\\BOOK.HLP"));
    EXPECT_FALSE(viewer_->document().isEmpty());
    EXPECT_EQ(viewer_->focusWidget(), viewer_->searchBox());
    viewer_->hide();

    HELP("Book.hlp");
    openHelp(HelpRequest::Contents);
    EXPECT_TRUE(viewer_->isVisible());
    EXPECT_EQ(viewer_->helpFile(), QStringLiteral("Book.hlp"));
    EXPECT_EQ(viewer_->currentTopic(), 0);
}

TEST_F(HelpViewerTest, OpensOverTheAskingWindowAndEscapeClosesIt) {
    const ControlLayout controls[] = {{.kind = ControlKind::Button, .field = 1, .text = "OK"}};
    const WindowLayout layout{
        .module = "ASKING", .structure = "WINDOW", .at = {0, 0, 200, 120}, .controls = controls};
    Window asking(layout);
    OPEN(asking);
    viewer_ = showHelpContents(QStringLiteral("Book.hlp"));
    EXPECT_EQ(viewer_->parentWidget(), asking.widget());
    EXPECT_TRUE(viewer_->isWindow());
    const QPoint offCentre =
        viewer_->frameGeometry().center() - asking.widget()->frameGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 4);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(viewer_->searchBox(), &escape);
    EXPECT_FALSE(viewer_->isVisible());
    CLOSE(asking);
    viewer_->setParent(nullptr);  // outlives the window, as the program's one viewer does
}

}  // namespace
}  // namespace quillery
