// Reading and writing the window state file: lines "key=value" with the keys x, y, width,
// height and maximised, and one line "columns=NAMES|CATALOGUE" for each catalogue whose list
// columns were chosen; unknown keys and blank lines are passed over.
#include "app/window/window_state.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextStream>

namespace quillery {
namespace {

// A file larger than this is not ours.
constexpr qint64 kLargestStateFile = 65536;
// The catalogues whose list columns are kept, the latest chosen last.
constexpr int kKeptColumnChoices = 40;
const QString kColumnsKey = QStringLiteral("columns=");
// No screen arrangement reaches this far, in pixels.
constexpr int kFarthest = 1000000;

std::optional<int> number(const QString& text, int low, int high) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < low || value > high) return std::nullopt;
    return value;
}

// The file's lines; empty when it is missing, too large or unreadable.
QStringList stateLines(const QString& path) {
    QFile file(path);
    if (file.size() > kLargestStateFile || !file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    return QTextStream(&file).readAll().split('\n', Qt::SkipEmptyParts);
}

// The lines "columns=NAMES|CATALOGUE" of `lines`, in their order.
QStringList columnLines(const QStringList& lines) {
    QStringList kept;
    for (const QString& line : lines) {
        if (line.startsWith(kColumnsKey) && line.indexOf('|') > 0) kept.append(line);
    }
    return kept;
}

bool replaceFile(const QString& path, const QString& text) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) return false;
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size()) return false;
    return file.commit();
}

}  // namespace

QString windowStatePath() {
    QString folder = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (folder.isEmpty() || !QFileInfo(folder).isAbsolute()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    }
    return folder + QStringLiteral("/quillery/window-state");
}

std::optional<WindowState> readWindowState(const QString& path) {
    QFile file(path);
    if (file.size() > kLargestStateFile || !file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return std::nullopt;
    }
    std::optional<int> x, y, width, height;
    bool maximised = false;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        const qsizetype equals = line.indexOf('=');
        if (equals < 0) continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1);
        if (key == QLatin1String("x")) x = number(value, -kFarthest, kFarthest);
        if (key == QLatin1String("y")) y = number(value, -kFarthest, kFarthest);
        if (key == QLatin1String("width")) width = number(value, 1, kFarthest);
        if (key == QLatin1String("height")) height = number(value, 1, kFarthest);
        if (key == QLatin1String("maximised")) maximised = number(value, 0, 1).value_or(0) == 1;
    }
    if (!x || !y || !width || !height) return std::nullopt;
    return WindowState{QRect(*x, *y, *width, *height), maximised};
}

bool writeWindowState(const QString& path, const WindowState& state) {
    QString text;
    QTextStream out(&text);
    out << "x=" << state.normal.x() << "\ny=" << state.normal.y()
        << "\nwidth=" << state.normal.width() << "\nheight=" << state.normal.height()
        << "\nmaximised=" << (state.maximised ? 1 : 0) << "\n";
    for (const QString& line : columnLines(stateLines(path)))
        out << line << "\n";
    out.flush();
    return replaceFile(path, text);
}

std::optional<QString> readListColumns(const QString& path, const QString& catalogue) {
    std::optional<QString> found;
    for (const QString& line : columnLines(stateLines(path))) {
        const qsizetype bar = line.indexOf('|');
        if (line.mid(bar + 1) == catalogue)
            found = line.mid(kColumnsKey.size(), bar - kColumnsKey.size());
    }
    return found;
}

bool writeListColumns(const QString& path, const QString& catalogue, const QString& columns) {
    // A name that cannot stand on one line is not kept.
    if (catalogue.contains('\n') || catalogue.contains('\r') || columns.contains('|')) return false;
    QStringList lines = stateLines(path);
    lines.removeIf([&](const QString& line) {
        return line.startsWith(kColumnsKey) && line.mid(line.indexOf('|') + 1) == catalogue;
    });
    lines.append(kColumnsKey + columns + '|' + catalogue);
    QStringList kept;
    qsizetype choices = columnLines(lines).size();
    for (const QString& line : lines) {
        if (line.startsWith(kColumnsKey) && choices > kKeptColumnChoices) {
            --choices;
            continue;
        }
        kept.append(line);
    }
    return replaceFile(path, kept.join('\n') + '\n');
}

}  // namespace quillery
