// The program's help document: topics of paragraphs, headings and list items, read from our own
// plain-text format (UTF-8; "= Title =" starts a topic, "== Heading ==" a heading inside it, a
// blank line ends a paragraph, "- " starts a list item, [[Title]] links to a topic, "#" starts a
// comment line). The program names its help file "Book.hlp"; that name maps to this document.
#pragma once

#include <QList>
#include <QString>

namespace quillery {

// Where the built-in help document lives among the program's resources.
inline constexpr char kHelpDocumentResource[] = ":/help/quillery_help.txt";

struct HelpBlock {
    enum class Kind { Paragraph, Heading, ListItem };
    Kind kind = Kind::Paragraph;
    QString text;  // as written, links and menu accelerators included
};

struct HelpTopic {
    QString title;
    QList<HelpBlock> blocks;
};

class HelpDocument {
  public:
    // Reads the document from its text; lines before the first topic are ignored.
    static HelpDocument parse(const QString& text);

    const QList<HelpTopic>& topics() const { return topics_; }
    bool isEmpty() const { return topics_.isEmpty(); }

    // The index of the topic titled `title` (ignoring case), or -1.
    int topicIndex(const QString& title) const;

    // What a reader sees of a topic as plain text: title and blocks, links shown as their
    // titles and menu accelerators ("&New") as the bare text ("New").
    QString plainText(int topic) const;

    // The topics whose plain text contains every word of `words` (ignoring case), those with a
    // word in their title first, otherwise in document order. No words finds nothing.
    QList<int> search(const QString& words) const;

    // The topic as HTML for the viewer: links become "topic:<index>" anchors and menu
    // accelerators are underlined as on the menus.
    QString topicHtml(int topic) const;

  private:
    QList<HelpTopic> topics_;
};

// The help document for the help file the program names ("Book.hlp", in any folder and any
// case); an empty path for any other name.
QString helpDocumentPath(const QString& helpFile);

// The help document for `helpFile`; an empty document when there is none or it cannot be read.
HelpDocument loadHelpDocument(const QString& helpFile);

// The words of a search text, split at white space.
QStringList searchWords(const QString& text);

}  // namespace quillery
