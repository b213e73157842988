// Pictures named by file name for image controls, icons and window icons. A name is looked
// up as given, beside the program, in the directories added here, then among the program's
// resources as ":/pictures/<name>". A picture that cannot be found or read shows nothing.
#pragma once

#include <QIcon>
#include <QPainter>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <string_view>

namespace quillery {

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

// Extra directories searched after the program's own (tests add theirs).
void addPictureDirectory(const QString& directory);

// The path of a picture file, or an empty string when there is none. Names match without
// regard to case, as they did on the system the names come from.
QString findPictureFile(std::string_view name);

// The picture named `name`; nullptr when it is missing or unreadable.
std::shared_ptr<const PictureSource> loadPicture(std::string_view name);

// The picture as an icon; a null icon when missing.
QIcon iconOf(std::string_view name);

}  // namespace quillery
