// Plays page images onto any Qt painter at any scale: the preview shows them through the
// window engine's image controls and printing previewed pages plays them onto the printer, so
// a page looks the same on screen and on paper.
#pragma once

#include <QPainter>
#include <QRectF>
#include <QSize>
#include <QString>
#include <optional>
#include <span>

#include "report_engine/core/metafile_reader.h"

namespace quillery {

// Draws `page` with its box stretched over `target` (painter coordinates).
void playPageImage(QPainter& painter, const report::PageImage& page, const QRectF& target);

// Reads a page image file; nothing when it cannot be read or is not a page image.
std::optional<report::PageImage> loadPageImageFile(const QString& path);

// The size a page image shows at on screen when nothing else sizes it.
QSize pageImageScreenSize(const report::PlaceableHeader& header);

// Lets image controls show page image files by name. Safe to call more than once.
void registerPageImagePictures();

}  // namespace quillery
