// Finding and decoding picture files.
#include "runtime/window/picture_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPixmap>
#include <vector>

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

// `name` inside `directory`, matched without regard to case.
QString findIn(const QString& directory, const QString& name) {
    const QDir dir(directory);
    if (!dir.exists()) return {};
    if (QFileInfo::exists(dir.filePath(name))) return dir.filePath(name);
    const QStringList entries = dir.entryList(QDir::Files);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
    }
    return {};
}

}  // namespace

void addPictureDecoder(PictureDecoder decoder) {
    decoders().push_back(std::move(decoder));
}

void addPictureDirectory(const QString& directory) {
    extraDirectories().push_back(directory);
}

QString findPictureFile(std::string_view name) {
    QString wanted = toScreenClipped(name).trimmed();
    if (wanted.isEmpty()) return {};
    wanted.replace('\\', '/');
    if (QFileInfo(wanted).isFile()) return wanted;
    const QString base = QFileInfo(wanted).fileName();
    if (QCoreApplication::instance()) {
        if (QString found = findIn(QCoreApplication::applicationDirPath(), base); !found.isEmpty())
            return found;
    }
    for (const QString& dir : extraDirectories()) {
        if (QString found = findIn(dir, base); !found.isEmpty()) return found;
    }
    for (const QString& candidate : {base, base.toLower(), base.toUpper()}) {
        const QString resource = ":/pictures/" + candidate;
        if (QFileInfo::exists(resource)) return resource;
    }
    return {};
}

std::shared_ptr<const PictureSource> loadPicture(std::string_view name) {
    const QString path = findPictureFile(name);
    if (path.isEmpty()) return nullptr;
    for (const auto& decoder : decoders()) {
        if (auto picture = decoder(path)) return picture;
    }
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (image.isNull()) return nullptr;
    return std::make_shared<ImagePicture>(std::move(image));
}

QIcon iconOf(std::string_view name) {
    const QString path = findPictureFile(name);
    if (path.isEmpty()) return {};
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QImage image = reader.read();
    if (image.isNull()) return {};
    return QIcon(QPixmap::fromImage(image));
}

}  // namespace quillery
