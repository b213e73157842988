// Finding the program's pictures and icons by the names its windows and listings use. A file
// of that name beside the program wins, so a user can replace any picture; otherwise the
// program's own artwork, built in as ":/pictures/<name>", is used. Names match exactly first,
// then without regard to case, as they did on the system the names come from.
#pragma once

#include <QIcon>
#include <QImage>
#include <QList>
#include <QString>

namespace quillery {

// Where the built-in artwork lives among the program's resources.
inline constexpr char kPictureResourceFolder[] = ":/pictures";

// The path of the picture `name` (a plain file name; any folder part and trailing blanks are
// ignored): a file in `programFolder` (the program's own folder when empty), else the built-in
// resource. An empty string when neither has it.
QString lookUpPicture(const QString& name, const QString& programFolder = {});

// The picture `name` as an image (for an icon file, its largest image); a null image when it
// is missing or unreadable. Never posts an error and never stops the program.
QImage readPicture(const QString& name, const QString& programFolder = {});

// Every image of the picture `name`, largest first (an icon file holds several sizes; other
// pictures hold one). Empty when missing or unreadable.
QList<QImage> readPictureSizes(const QString& name, const QString& programFolder = {});

// The picture `name` as an icon carrying all of its sizes; a null icon when missing.
// Requires: a QGuiApplication exists.
QIcon readPictureIcon(const QString& name, const QString& programFolder = {});

}  // namespace quillery
