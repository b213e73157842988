// Finding the program's pictures and icons by the names its windows and listings use. A full
// path names its file; otherwise a file of that name beside the program wins, so a user can replace
// any picture; then the folders added here; then the program's own artwork, built in as
// ":/pictures/<name>". In each place names match exactly first, then without regard to case, as
// they did on the system the names come from. A picture that is missing or unreadable shows nothing
// and posts no error.
#pragma once

#include <QIcon>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <string_view>

namespace quillery {

// Where the built-in artwork lives among the program's resources.
inline constexpr char kPictureResourceFolder[] = ":/pictures";

// A loaded picture: its natural size in pixels and how to draw it into a rectangle.
class PictureSource {
  public:
    virtual ~PictureSource() = default;
    virtual QSize naturalSize() const = 0;
    virtual void paint(QPainter& painter, const QRectF& target) const = 0;
};

// Reads a kind of file the image readers do not know (the report engine's page images);
// returns nothing when the file is not of its kind.
using PictureDecoder = std::function<std::shared_ptr<const PictureSource>(const QString& path)>;
void addPictureDecoder(PictureDecoder decoder);

// Extra folders searched after the program's own and before the built-in artwork (tests add
// theirs).
void addPictureDirectory(const QString& directory);

// The path of the picture `name`: the file itself when `name` is the full path of one;
// otherwise (any folder part and trailing blanks ignored) a file in `programFolder` (the
// program's own folder when empty) or an added folder, else the built-in resource. An empty
// string when none has it.
QString lookUpPicture(const QString& name, const QString& programFolder = {});

// The picture `name` as an image (for an icon file, its largest image); a null image when it
// is missing or unreadable.
QImage readPicture(const QString& name, const QString& programFolder = {});

// Every image of the picture `name`, largest first (an icon file holds several sizes; other
// pictures hold one). A file that cannot be read gives way to the next place that has the
// name. Empty when missing or unreadable.
QList<QImage> readPictureSizes(const QString& name, const QString& programFolder = {});

// The picture `name` as an icon carrying all of its sizes; a null icon when missing.
// Requires: a QGuiApplication exists.
QIcon readPictureIcon(const QString& name, const QString& programFolder = {});

// The same for names held in program buffers (Windows-1252, blank-padded), as layouts and
// properties give them.

// The picture for an image control, read by an added decoder or the image readers; nullptr
// when it is missing or unreadable.
std::shared_ptr<const PictureSource> loadPicture(std::string_view name);

// The picture as an icon with every size of its file; a null icon when missing.
QIcon iconOf(std::string_view name);

}  // namespace quillery
