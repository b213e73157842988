// Picture lookup: a file beside the program, then the built-in artwork.
#include "support/picture_lookup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>
#include <algorithm>

namespace quillery {
namespace {

// The file name part of `name`: layouts may carry a folder (in either slash style) and are
// blank-padded.
QString plainName(const QString& name) {
    QString result = name;
    while (!result.isEmpty() && result.back().isSpace())
        result.chop(1);
    const qsizetype slash = std::max(result.lastIndexOf('/'), result.lastIndexOf('\\'));
    if (slash >= 0) result = result.mid(slash + 1);
    if (result == "." || result == "..") return {};
    return result;
}

// `name` in `folder`: the exact name first, then the first entry equal to it ignoring case.
QString findInFolder(const QString& folder, const QString& name) {
    const QDir dir(folder);
    const QString exact = dir.filePath(name);
    if (QFileInfo(exact).isFile()) return exact;
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
    }
    return {};
}

QString defaultProgramFolder() {
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
}

// The places that may hold `name`, in the order they are tried: beside the program, then the
// built-in artwork.
QStringList candidatePaths(const QString& name, const QString& programFolder) {
    QStringList paths;
    const QString wanted = plainName(name);
    if (wanted.isEmpty()) return paths;
    const QString folder = programFolder.isEmpty() ? defaultProgramFolder() : programFolder;
    if (!folder.isEmpty()) {
        if (QString found = findInFolder(folder, wanted); !found.isEmpty()) paths.append(found);
    }
    const QString builtIn = findInFolder(QString::fromLatin1(kPictureResourceFolder), wanted);
    if (!builtIn.isEmpty()) paths.append(builtIn);
    return paths;
}

QList<QImage> readImages(const QString& path) {
    QList<QImage> images;
    // The content decides the format: a user's replacement may be a bitmap named ".ICO".
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const int count = std::max(reader.imageCount(), 1);
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i)) break;
        QImage image = reader.read();
        if (image.isNull()) break;
        images.append(std::move(image));
    }
    std::stable_sort(images.begin(), images.end(), [](const QImage& a, const QImage& b) {
        return a.width() * a.height() > b.width() * b.height();
    });
    return images;
}

}  // namespace

QString lookUpPicture(const QString& name, const QString& programFolder) {
    const QStringList paths = candidatePaths(name, programFolder);
    return paths.isEmpty() ? QString() : paths.front();
}

QList<QImage> readPictureSizes(const QString& name, const QString& programFolder) {
    // A replacement beside the program that cannot be read gives way to the built-in picture.
    for (const QString& path : candidatePaths(name, programFolder)) {
        QList<QImage> images = readImages(path);
        if (!images.isEmpty()) return images;
    }
    return {};
}

QImage readPicture(const QString& name, const QString& programFolder) {
    const QList<QImage> images = readPictureSizes(name, programFolder);
    return images.isEmpty() ? QImage() : images.front();
}

QIcon readPictureIcon(const QString& name, const QString& programFolder) {
    QIcon icon;
    for (const QImage& image : readPictureSizes(name, programFolder)) {
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

}  // namespace quillery
