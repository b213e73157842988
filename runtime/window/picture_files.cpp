// Picture lookup: a file beside the program, then the added folders, then the built-in artwork.
#include "runtime/window/picture_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>
#include <algorithm>
#include <vector>

#include "runtime/window/installed_data.h"
#include "runtime/window/screen_text.h"

namespace quillery {
namespace {

std::vector<PictureDecoder>& decoders() {
    static std::vector<PictureDecoder> list;
    return list;
}

std::vector<QString>& extraDirectories() {
    static std::vector<QString> list;
    return list;
}

class ImagePicture final : public PictureSource {
  public:
    explicit ImagePicture(QImage image) : image_(std::move(image)) {}
    QSize naturalSize() const override { return image_.size(); }
    void paint(QPainter& painter, const QRectF& target) const override {
        painter.drawImage(target, image_);
    }

  private:
    QImage image_;
};

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

// The files that may hold `name`, in the order they are tried: the file itself when the name is
// a full path (the report engine's page images live in the temporary folder), beside the
// program, in the added folders, then the built-in artwork.
QStringList candidatePaths(const QString& name, const QString& programFolder) {
    QStringList paths;
    const QString given = QString(name).replace('\\', '/').trimmed();
    if (QFileInfo(given).isAbsolute() && QFileInfo(given).isFile()) paths.append(given);
    const QString wanted = plainName(name);
    if (wanted.isEmpty()) return paths;
    QStringList folders;
    const QString folder = programFolder.isEmpty() ? defaultProgramFolder() : programFolder;
    if (!folder.isEmpty()) folders.append(folder);
    for (const QString& extra : extraDirectories())
        folders.append(extra);
    if (const QString installed = installedDataFolder(); !installed.isEmpty()) {
        folders.append(installed + QStringLiteral("/pictures"));
    }
    folders.append(QString::fromLatin1(kPictureResourceFolder));
    for (const QString& place : folders) {
        if (QString found = findInFolder(place, wanted); !found.isEmpty()) paths.append(found);
    }
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

void addPictureDecoder(PictureDecoder decoder) {
    decoders().push_back(std::move(decoder));
}

void addPictureDirectory(const QString& directory) {
    extraDirectories().push_back(directory);
}

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

std::shared_ptr<const PictureSource> loadPicture(std::string_view name) {
    for (const QString& path : candidatePaths(toScreenClipped(name), {})) {
        for (const auto& decoder : decoders()) {
            if (auto picture = decoder(path)) return picture;
        }
        QList<QImage> images = readImages(path);
        if (!images.isEmpty()) return std::make_shared<ImagePicture>(std::move(images.front()));
    }
    return nullptr;
}

QIcon iconOf(std::string_view name) {
    return readPictureIcon(toScreenClipped(name));
}

}  // namespace quillery
