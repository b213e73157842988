// The help viewer: a window with the list of help topics, a search box that narrows the list to
// the topics containing the words typed, and the text of the chosen topic. The Help menu opens
// it at its contents ("How to Use Quillery") or with the search box ready ("Search Quillery
// Help").
#pragma once

#include <QWidget>
#include <string>

#include "runtime/window/help.h"
#include "support/help_document.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace quillery {

class HelpViewerWindow : public QWidget {
    Q_OBJECT

  public:
    explicit HelpViewerWindow(QWidget* parent = nullptr);

    // Shows `document`, the help for the help file named `helpFile`.
    void setDocument(const QString& helpFile, HelpDocument document);
    // Renames the help file shown without reading it again.
    void setHelpFile(const QString& helpFile) { helpFile_ = helpFile; }
    const QString& helpFile() const { return helpFile_; }
    const HelpDocument& document() const { return document_; }

    // Puts the viewer over `owner` (the window the help was asked from), centred on it and kept
    // above it; nullptr leaves it where it is.
    void placeOver(QWidget* owner);

    // Shows the window at the first topic, with the search cleared.
    void openContents();
    // Shows the window with the search box focused and its text selected.
    void openSearch();
    // Shows the topic with that index (-1 for none), listing it if the search hid it.
    void showTopic(int topic);

    int currentTopic() const { return currentTopic_; }
    // The topics listed now, in list order.
    QList<int> listedTopics() const;

    QLineEdit* searchBox() const { return search_; }
    QListWidget* topicList() const { return topics_; }
    QTextBrowser* textView() const { return text_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void fillList(const QList<int>& topics);
    void searchChanged(const QString& text);
    void listRowChanged(int row);
    void highlightWords();

    QString helpFile_;
    HelpDocument document_;
    int currentTopic_ = -1;
    QLineEdit* search_;
    QLabel* found_;
    QListWidget* topics_;
    QTextBrowser* text_;
};

// The one help viewer of the program, opened for `helpFile` (a name as the program gives it,
// "Book.hlp"), at its contents or at its search.
HelpViewerWindow* showHelpContents(const QString& helpFile);
HelpViewerWindow* showHelpSearch(const QString& helpFile);

// Opens this viewer for the window engine's Help menu items: the help viewer of the program's
// window options (runtime/window/window_options.h).
void showHelp(const std::string& file, HelpRequest request);

}  // namespace quillery
