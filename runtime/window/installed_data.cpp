// Finding the installed data folder from the program's own place.
#include "runtime/window/installed_data.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace quillery {

QString installedDataFolder() {
    if (QCoreApplication::instance() == nullptr) return {};
    const QDir folder(QCoreApplication::applicationDirPath() +
                      QStringLiteral("/../share/quillery"));
    return folder.exists() ? folder.canonicalPath() : QString();
}

QString installedDataFile(const QString& relative, const QString& builtIn) {
    const QString folder = installedDataFolder();
    if (folder.isEmpty()) return builtIn;
    const QString path = folder + '/' + relative;
    return QFileInfo(path).isFile() ? path : builtIn;
}

}  // namespace quillery
