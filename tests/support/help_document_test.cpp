// The help document: its format read into topics, search, rendering, the mapping of the help
// file name the program gives, and the program's own document covering every menu item.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>

#include "support/help_document.h"

namespace quillery {
namespace {

using Kind = HelpBlock::Kind;

HelpDocument sample() {
    return HelpDocument::parse(
        QStringLiteral("# a comment before any topic\n"
                       "text before the first topic is ignored\n"
                       "= First Topic =\n"
                       "One line\n"
                       "and its continuation.\n"
                       "\n"
                       "- an item\n"
                       "- another item with [[Second]]\n"
                       "== A Heading ==\n"
                       "# a comment inside\n"
                       "Last paragraph with <b> & \"&New\".\r\n"
                       "= Second =\r\n"
                       "Talks about Undo and Saving.\n"
                       "=Not a topic=\n"
                       "= Third: undo =\n"
                       "Nothing but [[Missing Topic]] and [[first topic]].\n"));
}

TEST(HelpDocumentParse, ReadsTopicsAndBlocks) {
    const HelpDocument document = sample();
    ASSERT_EQ(document.topics().size(), 3);
    EXPECT_EQ(document.topics()[0].title, QStringLiteral("First Topic"));
    EXPECT_EQ(document.topics()[1].title, QStringLiteral("Second"));
    EXPECT_EQ(document.topics()[2].title, QStringLiteral("Third: undo"));

    struct Expected {
        Kind kind;
        const char* text;
    };
    const Expected first[] = {
        {Kind::Paragraph, "One line and its continuation."},      {Kind::ListItem, "an item"},
        {Kind::ListItem, "another item with [[Second]]"},         {Kind::Heading, "A Heading"},
        {Kind::Paragraph, "Last paragraph with <b> & \"&New\"."},
    };
    const QList<HelpBlock>& blocks = document.topics()[0].blocks;
    ASSERT_EQ(blocks.size(), std::size(first));
    for (std::size_t i = 0; i < std::size(first); ++i) {
        EXPECT_EQ(blocks[i].kind, first[i].kind) << i;
        EXPECT_EQ(blocks[i].text, QString::fromUtf8(first[i].text)) << i;
    }
    // "=Not a topic=" has no spaces inside its marks: it is ordinary text.
    ASSERT_EQ(document.topics()[1].blocks.size(), 1);
    EXPECT_EQ(document.topics()[1].blocks[0].text,
              QStringLiteral("Talks about Undo and Saving. =Not a topic="));
}

TEST(HelpDocumentParse, EmptyAndTopiclessTextsGiveNoTopics) {
    EXPECT_TRUE(HelpDocument::parse(QString()).isEmpty());
    EXPECT_TRUE(HelpDocument::parse(QStringLiteral("just text\n== heading ==\n")).isEmpty());
    const HelpDocument bare = HelpDocument::parse(QStringLiteral("= Alone ="));
    ASSERT_EQ(bare.topics().size(), 1);
    EXPECT_TRUE(bare.topics()[0].blocks.isEmpty());
}

TEST(HelpDocumentParse, TopicIndexIgnoresCase) {
    const HelpDocument document = sample();
    EXPECT_EQ(document.topicIndex(QStringLiteral("second")), 1);
    EXPECT_EQ(document.topicIndex(QStringLiteral("FIRST TOPIC")), 0);
    EXPECT_EQ(document.topicIndex(QStringLiteral("Fourth")), -1);
}

TEST(HelpDocumentSearch, FindsTopicsHoldingEveryWordTitlesFirst) {
    const HelpDocument document = sample();
    struct Case {
        const char* words;
        QList<int> found;
    };
    const Case cases[] = {
        {"undo", {2, 1}},           // "Third: undo" has it in its title
        {"UNDO saving", {1}},       // every word, ignoring case
        {"  continuation  ", {0}},  // surrounding blanks do not count
        {"New", {0}},               // "&New" reads as New
        {"&New", {}},               // the ampersand is not part of what a reader sees
        {"second", {1, 0}},         // a link reads as its title
        {"missing topic", {2}},
        {"zebra", {}},
        {"", {}},
        {"   ", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(document.search(QString::fromUtf8(c.words)), c.found) << c.words;
    }
}

TEST(HelpDocumentRender, EscapesTextAndMakesLinksListsAndAccelerators) {
    const HelpDocument document = sample();
    const QString html = document.topicHtml(0);
    EXPECT_TRUE(
        html.startsWith(QStringLiteral("<h2>First Topic</h2>\n<p>One line and its "
                                       "continuation.</p>\n<ul>\n<li>an item</li>\n")))
        << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral(
        "<li>another item with <a href=\"topic:1\">Second</a></li>\n</ul>\n<h3>A Heading</h3>")));
    EXPECT_TRUE(html.contains(
        QStringLiteral("<p>Last paragraph with &lt;b&gt; &amp; &quot;<u>N</u>ew&quot;.</p>")))
        << html.toStdString();

    const QString third = document.topicHtml(2);
    EXPECT_TRUE(third.contains(
        QStringLiteral("Nothing but Missing Topic and <a href=\"topic:0\">first topic</a>.")))
        << third.toStdString();
    EXPECT_TRUE(third.endsWith(QStringLiteral("</p>\n")));
    EXPECT_TRUE(document.topicHtml(3).isEmpty());
    EXPECT_TRUE(document.topicHtml(-1).isEmpty());
}

TEST(HelpFileName, TheProgramsHelpFileMapsToTheDocument) {
    for (const char* name :
         {"Book.hlp", "BOOK.HLP", "book.hlp   ", "C:\\BOOK\\BOOK.HLP", "help/Book.hlp"}) {
        EXPECT_EQ(helpDocumentPath(QString::fromLatin1(name)),
                  QStringLiteral(":/help/quillery_help.txt"))
            << name;
    }
    for (const char* name : {"", "Other.hlp", "Book.hlp.bak", "Book"}) {
        EXPECT_TRUE(helpDocumentPath(QString::fromLatin1(name)).isEmpty()) << name;
        EXPECT_TRUE(loadHelpDocument(QString::fromLatin1(name)).isEmpty()) << name;
    }
}

// The program's own help document.
class QuilleryHelpTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        QFile file(QString::fromLatin1(kHelpDocumentResource));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        source_ = QString::fromUtf8(file.readAll());
        document_ = loadHelpDocument(QStringLiteral("Book.hlp"));
    }
    static QString source_;
    static HelpDocument document_;
};
QString QuilleryHelpTest::source_;
HelpDocument QuilleryHelpTest::document_;

TEST_F(QuilleryHelpTest, OpensAtItsContents) {
    ASSERT_GE(document_.topics().size(), 15);
    EXPECT_EQ(document_.topics()[0].title, QStringLiteral("Contents"));
}

TEST_F(QuilleryHelpTest, MentionsEveryMenuItemAsTheMenuShowsIt) {
    // Menu texts without their shortcut part ("\tCtrl N").
    const char* const items[] = {
        "Open Awards File (Example)",
        "&New Quillery File...",
        "&Open Quillery File ...",
        "&Save Quillery File As ...",
        "E&xit",
        "&New",
        "Du&plicate",
        "&Delete",
        "&Save",
        "&Undo",
        "&Find",
        "Print by Author",
        "Print by Title",
        "Print by Location",
        "Print by Category",
        "Print by Rating",
        "Print by Condition",
        "Print by Value",
        "Print by ISBN",
        "Print by Edition",
        "Print by Publisher's Date",
        "Print by Buy Date",
        "Print by PrintDate",
        "Print by Other",
        "&How to Use Quillery ...",
        "&Search Quillery Help...",
        "&About Quillery ...",
    };
    for (const char* item : items) {
        const QString quoted = '"' + QString::fromUtf8(item) + '"';
        EXPECT_TRUE(source_.contains(quoted)) << item;
    }
}

TEST_F(QuilleryHelpTest, DescribesEveryToolButtonByTextAndTip) {
    const char* const texts[] = {"New", "Copy", "Delete", "Save", "Undo", "Find"};
    const char* const tips[] = {"Add New Book",        "Create Duplicate Book",
                                "Delete Book",         "Save Book Contents",
                                "Undo Last Operation", "Find Matching Books"};
    const int topic = document_.topicIndex(QStringLiteral("The Tool Buttons"));
    ASSERT_GE(topic, 0);
    const QString text = document_.plainText(topic);
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        EXPECT_TRUE(text.contains(QStringLiteral("%1 (\"%2\")").arg(texts[i], tips[i]))) << tips[i];
    }
}

TEST_F(QuilleryHelpTest, EveryLinkLeadsToATopicAndContentsLinksEveryTopic) {
    static const QRegularExpression link(QStringLiteral("\\[\\[([^\\]]+)\\]\\]"));
    int count = 0;
    for (const QString& line : source_.split('\n')) {
        if (line.startsWith('#')) continue;  // the format's own description
        QRegularExpressionMatchIterator links = link.globalMatch(line);
        while (links.hasNext()) {
            const QString title = links.next().captured(1);
            EXPECT_GE(document_.topicIndex(title), 0) << title.toStdString();
            ++count;
        }
    }
    EXPECT_GT(count, 20);
    const QString contents = document_.topicHtml(0);
    for (int topic = 1; topic < document_.topics().size(); ++topic) {
        EXPECT_TRUE(contents.contains(QStringLiteral("href=\"topic:%1\"").arg(topic)))
            << document_.topics()[topic].title.toStdString();
    }
}

TEST_F(QuilleryHelpTest, SearchFindsTheTopicsAUserWouldLookFor) {
    struct Case {
        const char* words;
        const char* first;
    };
    const Case cases[] = {
        {"undo", "Undo"},
        {"comment", "The Comment Page"},
        {"zoom", "Printing and the Report Preview"},
        {"listing", "The Reports Menu"},
        {"letter buttons", "The Letter Buttons"},
        {"quillery-data", "The quillery-data Command-Line Tool"},
        {"Ctrl+D", "Keyboard Shortcuts"},
        {"awards.qly", "The Example Catalogue"},
        {"category", "Categories and Tabs"},
    };
    for (const Case& c : cases) {
        const QList<int> found = document_.search(QString::fromUtf8(c.words));
        ASSERT_FALSE(found.isEmpty()) << c.words;
        const int expected = document_.topicIndex(QString::fromUtf8(c.first));
        ASSERT_GE(expected, 0) << c.first;
        EXPECT_TRUE(found.contains(expected)) << c.words;
    }
    EXPECT_TRUE(document_.search(QStringLiteral("xylophone")).isEmpty());
}

}  // namespace
}  // namespace quillery
