// Build-time generator of the program's pictures: draws every picture and icon the windows and
// listings name, writes each under its exact name into the folder given on the command line,
// then the program's launcher icons for the desktop, and last writes artwork.qrc listing the
// pictures for the resource compiler.
//
// Usage: quillery_draw_artwork <output folder>   (run with QT_QPA_PLATFORM=offscreen)
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>
#include <QTextStream>
#include <cstdio>
#include <functional>
#include <vector>

#include "support/artwork/artwork_drawings.h"
#include "support/artwork/icon_file.h"

namespace quillery::artwork {
namespace {

enum class PictureKind { Icon, Bitmap };

struct Picture {
    QString name;  // the exact file name the layouts use
    PictureKind kind;
    QSize bitmapSize;  // bitmaps only; icons come in kIconSizes
    std::function<void(Canvas&)> draw;
};

// Largest first, so a reader that takes only an icon file's first image gets the finest one.
// The larger sizes keep the 32 and 48 pixel icons crisp on screens scaled to 150 and 200 %.
constexpr int kIconSizes[] = {96, 64, 48, 32, 24, 16};
// The program's icon for the desktop's launchers, one file a size in the icon theme's layout.
constexpr int kLauncherIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

std::vector<Picture> allPictures() {
    std::vector<Picture> pictures = {
        {"book.ico", PictureKind::Icon, {}, drawBookIcon},
        {"book2.ICO", PictureKind::Icon, {}, drawNewBookIcon},
        {"bookcopy.ICO", PictureKind::Icon, {}, drawCopyBookIcon},
        {"cancel.ICO", PictureKind::Icon, {}, drawCancelIcon},
        {"save.ICO", PictureKind::Icon, {}, drawSaveIcon},
        {"undo.ICO", PictureKind::Icon, {}, drawUndoIcon},
        {"bookfind.ICO", PictureKind::Icon, {}, drawFindBookIcon},
        {"booklookup.ICO", PictureKind::Icon, {}, drawLookUpBookIcon},
        {"note.ico", PictureKind::Icon, {}, drawNoteIcon},
        // The report preview's tool buttons.
        {"print.ico", PictureKind::Icon, {}, drawPrintIcon},
        {"exit.ico", PictureKind::Icon, {}, drawExitIcon},
        {"zoom.ico", PictureKind::Icon, {}, drawZoomIcon},
        // "book.bmp" becomes the window icon; "BOOK.BMP" heads every printed page (0.4 inch
        // square, so it is drawn large enough for a 600 dpi printer); "BOOK3.BMP" sits beside
        // the program's name on the splash window, in the 48 x 60 pixels the layout leaves it.
        {"book.bmp", PictureKind::Bitmap, {48, 48}, drawWindowBitmap},
        {"BOOK.BMP", PictureKind::Bitmap, {240, 240}, drawReportLogo},
        {"BOOK3.BMP", PictureKind::Bitmap, {48, 60}, drawSplashBitmap},
    };
    // The letter bar: the A button's icon is "LA.ICO", the others are named after their letter.
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const QString name =
            letter == 'A' ? QStringLiteral("LA.ICO") : QStringLiteral("%1.ICO").arg(QChar(letter));
        pictures.push_back({name, PictureKind::Icon, {}, [letter](Canvas& canvas) {
                                drawLetterTile(canvas, QChar(letter));
                            }});
    }
    return pictures;
}

QImage render(const Picture& picture, QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        Canvas canvas(image);
        picture.draw(canvas);
    }
    return image.convertToFormat(QImage::Format_ARGB32);
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(bytes);
    return file.commit();
}

bool writePicture(const Picture& picture, const QDir& folder) {
    const QString path = folder.filePath(picture.name);
    if (picture.kind == PictureKind::Bitmap) {
        const QImage image =
            render(picture, picture.bitmapSize).convertToFormat(QImage::Format_RGB32);
        QImageWriter writer(path, "bmp");
        return writer.write(image);
    }
    QList<QImage> sizes;
    for (int size : kIconSizes)
        sizes.append(render(picture, QSize(size, size)));
    const std::optional<QByteArray> bytes = encodeIconFile(sizes);
    return bytes && writeBytes(path, *bytes);
}

// "hicolor/<n>x<n>/apps/quillery.png" for every launcher size, drawn afresh at each.
bool writeLauncherIcons(const QDir& folder) {
    const Picture program{"quillery.png", PictureKind::Icon, {}, drawBookIcon};
    for (int size : kLauncherIconSizes) {
        const QString sub = QStringLiteral("hicolor/%1x%1/apps").arg(size);
        if (!folder.mkpath(sub)) return false;
        QImageWriter writer(folder.filePath(sub + QStringLiteral("/quillery.png")), "png");
        if (!writer.write(render(program, QSize(size, size)))) return false;
    }
    return true;
}

bool writeResourceList(const std::vector<Picture>& pictures, const QDir& folder) {
    QByteArray text;
    QTextStream out(&text);
    out << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/pictures\">\n";
    for (const Picture& picture : pictures)
        out << "    <file>" << picture.name << "</file>\n";
    out << "</qresource>\n</RCC>\n";
    out.flush();
    return writeBytes(folder.filePath(QStringLiteral("artwork.qrc")), text);
}

int run(const QString& outputFolder) {
    const QDir folder(outputFolder);
    if (!folder.exists()) {
        std::fprintf(stderr, "quillery_draw_artwork: no folder %s\n", qPrintable(outputFolder));
        return 1;
    }
    const std::vector<Picture> pictures = allPictures();
    for (const Picture& picture : pictures) {
        if (!writePicture(picture, folder)) {
            std::fprintf(stderr, "quillery_draw_artwork: cannot write %s\n",
                         qPrintable(picture.name));
            return 1;
        }
    }
    if (!writeLauncherIcons(folder)) {
        std::fprintf(stderr, "quillery_draw_artwork: cannot write the launcher icons\n");
        return 1;
    }
    if (!writeResourceList(pictures, folder)) {
        std::fprintf(stderr, "quillery_draw_artwork: cannot write artwork.qrc\n");
        return 1;
    }
    return 0;
}

}  // namespace
}  // namespace quillery::artwork

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillery_draw_artwork <output folder>\n");
        return 2;
    }
    return quillery::artwork::run(QString::fromLocal8Bit(argv[1]));
}
