// Reading and writing the window state file: lines "key=value" with the keys x, y, width,
// height and maximised; unknown keys and blank lines are passed over.
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
constexpr qint64 kLargestStateFile = 4096;
// No screen arrangement reaches this far, in pixels.
constexpr int kFarthest = 1000000;

std::optional<int> number(const QString& text, int low, int high) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < low || value > high) return std::nullopt;
    return value;
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
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) return false;
    QTextStream out(&file);
    out << "x=" << state.normal.x() << "\ny=" << state.normal.y()
        << "\nwidth=" << state.normal.width() << "\nheight=" << state.normal.height()
        << "\nmaximised=" << (state.maximised ? 1 : 0) << "\n";
    out.flush();
    return file.commit();
}

}  // namespace quillery
