// Icon files holding several sizes of one picture. Qt's icon writer stores one image per file,
// so each size is written through it on its own and the single-image files are then joined
// into one directory of images.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <optional>

namespace quillery::artwork {

// The bytes of an icon file holding every image of `images` (each at most 256 pixels square),
// in the order given; nothing when Qt's writer fails or produces a file we cannot join.
std::optional<QByteArray> encodeIconFile(const QList<QImage>& images);

}  // namespace quillery::artwork
