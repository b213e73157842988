// Reading, searching and rendering the help document.
#include "support/help_document.h"

#include <QFile>
#include <QRegularExpression>
#include <algorithm>

#include "runtime/window/installed_data.h"

namespace quillery {
namespace {

const QRegularExpression& linkPattern() {
    static const QRegularExpression pattern(QStringLiteral("\\[\\[([^\\]]+)\\]\\]"));
    return pattern;
}

// "= Title =" gives "Title"; "== Heading ==" gives "Heading" with `level` 2. Anything else
// gives an empty string.
QString headingText(const QString& line, int level) {
    const QString marks(level, '=');
    if (!line.startsWith(marks + ' ') || !line.endsWith(' ' + marks)) return {};
    if (line.size() > level && line[level] == '=') return {};
    return line.mid(level, line.size() - 2 * level).trimmed();
}

// Link titles shown as their text, accelerators without their ampersand.
QString readableText(const QString& text) {
    QString result = text;
    result.replace(linkPattern(), QStringLiteral("\\1"));
    QString plain;
    plain.reserve(result.size());
    for (qsizetype i = 0; i < result.size(); ++i) {
        if (result[i] == '&' && i + 1 < result.size() && result[i + 1].isLetterOrNumber()) {
            continue;
        }
        plain.append(result[i]);
    }
    return plain;
}

}  // namespace

HelpDocument HelpDocument::parse(const QString& text) {
    HelpDocument document;
    HelpTopic* topic = nullptr;
    QString paragraph;
    auto endParagraph = [&] {
        if (topic && !paragraph.isEmpty()) {
            topic->blocks.append({HelpBlock::Kind::Paragraph, paragraph});
        }
        paragraph.clear();
    };

    const QStringList lines = text.split('\n');
    for (QString line : lines) {
        if (line.endsWith('\r')) line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith('#')) continue;
        if (const QString title = headingText(trimmed, 1); !title.isEmpty()) {
            endParagraph();
            document.topics_.append({title, {}});
            topic = &document.topics_.last();
            continue;
        }
        if (!topic) continue;
        if (const QString heading = headingText(trimmed, 2); !heading.isEmpty()) {
            endParagraph();
            topic->blocks.append({HelpBlock::Kind::Heading, heading});
        } else if (trimmed.startsWith(QStringLiteral("- "))) {
            endParagraph();
            topic->blocks.append({HelpBlock::Kind::ListItem, trimmed.mid(2).trimmed()});
        } else if (trimmed.isEmpty()) {
            endParagraph();
        } else {
            paragraph += (paragraph.isEmpty() ? QString() : QStringLiteral(" ")) + trimmed;
        }
    }
    endParagraph();
    return document;
}

int HelpDocument::topicIndex(const QString& title) const {
    for (int i = 0; i < topics_.size(); ++i) {
        if (topics_[i].title.compare(title, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

QString HelpDocument::plainText(int topic) const {
    if (topic < 0 || topic >= topics_.size()) return {};
    QString text = topics_[topic].title;
    for (const HelpBlock& block : topics_[topic].blocks)
        text += '\n' + readableText(block.text);
    return text;
}

QList<int> HelpDocument::search(const QString& words) const {
    const QStringList wanted = searchWords(words);
    QList<int> inTitle;
    QList<int> inText;
    if (wanted.isEmpty()) return inTitle;
    for (int i = 0; i < topics_.size(); ++i) {
        const QString text = plainText(i);
        const bool all = std::all_of(wanted.begin(), wanted.end(), [&](const QString& word) {
            return text.contains(word, Qt::CaseInsensitive);
        });
        if (!all) continue;
        const bool titled = std::any_of(wanted.begin(), wanted.end(), [&](const QString& word) {
            return topics_[i].title.contains(word, Qt::CaseInsensitive);
        });
        (titled ? inTitle : inText).append(i);
    }
    return inTitle + inText;
}

QString HelpDocument::topicHtml(int topic) const {
    if (topic < 0 || topic >= topics_.size()) return {};

    // Escapes the text, turning [[Title]] into a link and "&N" into an underlined N.
    auto inlineHtml = [this](const QString& text) {
        QString html;
        qsizetype at = 0;
        auto escaped = [](const QString& part) {
            QString out;
            for (qsizetype i = 0; i < part.size(); ++i) {
                if (part[i] == '&' && i + 1 < part.size() && part[i + 1].isLetterOrNumber()) {
                    out += QStringLiteral("<u>") + QString(part[i + 1]).toHtmlEscaped() +
                           QStringLiteral("</u>");
                    ++i;
                } else {
                    out += QString(part[i]).toHtmlEscaped();
                }
            }
            return out;
        };
        QRegularExpressionMatchIterator links = linkPattern().globalMatch(text);
        while (links.hasNext()) {
            const QRegularExpressionMatch link = links.next();
            html += escaped(text.mid(at, link.capturedStart() - at));
            const QString title = link.captured(1);
            const int target = topicIndex(title);
            if (target >= 0) {
                html += QStringLiteral("<a href=\"topic:%1\">%2</a>")
                            .arg(target)
                            .arg(title.toHtmlEscaped());
            } else {
                html += title.toHtmlEscaped();
            }
            at = link.capturedEnd();
        }
        return html + escaped(text.mid(at));
    };

    const HelpTopic& shown = topics_[topic];
    QString html = QStringLiteral("<h2>%1</h2>\n").arg(shown.title.toHtmlEscaped());
    bool inList = false;
    for (const HelpBlock& block : shown.blocks) {
        const bool item = block.kind == HelpBlock::Kind::ListItem;
        if (item != inList) {
            html += item ? QStringLiteral("<ul>\n") : QStringLiteral("</ul>\n");
            inList = item;
        }
        switch (block.kind) {
            case HelpBlock::Kind::Heading:
                html += QStringLiteral("<h3>%1</h3>\n").arg(inlineHtml(block.text));
                break;
            case HelpBlock::Kind::ListItem:
                html += QStringLiteral("<li>%1</li>\n").arg(inlineHtml(block.text));
                break;
            case HelpBlock::Kind::Paragraph:
                html += QStringLiteral("<p>%1</p>\n").arg(inlineHtml(block.text));
                break;
        }
    }
    if (inList) html += QStringLiteral("</ul>\n");
    return html;
}

QString helpDocumentPath(const QString& helpFile) {
    QString name = helpFile.trimmed();
    const qsizetype slash = std::max(name.lastIndexOf('/'), name.lastIndexOf('\\'));
    name = name.mid(slash + 1);
    if (name.compare(QStringLiteral("Book.hlp"), Qt::CaseInsensitive) != 0) return {};
    return installedDataFile(QStringLiteral("help/quillery_help.txt"),
                             QString::fromLatin1(kHelpDocumentResource));
}

HelpDocument loadHelpDocument(const QString& helpFile) {
    const QString path = helpDocumentPath(helpFile);
    if (path.isEmpty()) return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return HelpDocument::parse(QString::fromUtf8(file.readAll()));
}

QStringList searchWords(const QString& text) {
    static const QRegularExpression spaces(QStringLiteral("\\s+"));
    return text.split(spaces, Qt::SkipEmptyParts);
}

}  // namespace quillery
