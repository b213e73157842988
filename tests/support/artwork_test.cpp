// The built-in artwork: every picture the windows and listings name is there under its exact
// name, in its real file format and sizes, registered in the test program without any call,
// and drawn distinctly. Also saves a contact sheet of all of it for people to look at.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFont>
#include <QImageReader>
#include <QPainter>
#include <QSet>
#include <cstdint>
#include <iterator>

#include "runtime/window/picture_files.h"

namespace quillery {
namespace {

struct NamedPicture {
    const char* name;
    bool icon;
    QSize size;  // bitmaps only
};

// The names the main window, its tool buttons and letter bar, the comment page, the splash and
// the listings use.
QList<NamedPicture> namedPictures() {
    QList<NamedPicture> pictures = {
        {"book.ico", true, {}},
        {"book2.ICO", true, {}},
        {"bookcopy.ICO", true, {}},
        {"cancel.ICO", true, {}},
        {"save.ICO", true, {}},
        {"undo.ICO", true, {}},
        {"bookfind.ICO", true, {}},
        {"booklookup.ICO", true, {}},
        {"note.ico", true, {}},
        {"print.ico", true, {}},
        {"exit.ico", true, {}},
        {"zoom.ico", true, {}},
        {"LA.ICO", true, {}},
        {"book.bmp", false, {48, 48}},
        {"BOOK.BMP", false, {240, 240}},
        {"BOOK3.BMP", false, {48, 60}},
    };
    static const QList<QByteArray> letters = [] {
        QList<QByteArray> names;
        for (char letter = 'B'; letter <= 'Z'; ++letter)
            names.append(QByteArray(1, letter) + ".ICO");
        return names;
    }();
    for (const QByteArray& name : letters)
        pictures.append({name.constData(), true, {}});
    return pictures;
}

void PrintTo(const NamedPicture& picture, std::ostream* out) {
    *out << picture.name;
}

QString testOutputFolder() {
    QString folder = qEnvironmentVariable("QUILLERY_TEST_OUTPUT");
    if (folder.isEmpty()) folder = QDir::temp().filePath(QStringLiteral("quillery-test-output"));
    QDir().mkpath(folder);
    return folder;
}

std::uint32_t u16(const QByteArray& bytes, int at) {
    return std::uint8_t(bytes[at]) | std::uint32_t(std::uint8_t(bytes[at + 1])) << 8;
}

std::uint32_t u32(const QByteArray& bytes, int at) {
    return u16(bytes, at) | u16(bytes, at + 2) << 16;
}

// Nothing in the program registers the resources by a call: linking them in is enough.
TEST(ArtworkResources, RegisteredInTheProgramWithoutAnyCall) {
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/pictures/LA.ICO")));
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/pictures/BOOK3.BMP")));
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/help/quillery_help.txt")));
}

TEST(ArtworkResources, HoldExactlyTheNamedPictures) {
    QSet<QString> expected;
    for (const NamedPicture& picture : namedPictures())
        expected.insert(picture.name);
    const QStringList entries =
        QDir(QString::fromLatin1(kPictureResourceFolder)).entryList(QDir::Files);
    EXPECT_EQ(QSet<QString>(entries.begin(), entries.end()), expected);
    EXPECT_EQ(expected.size(), 41);
}

class NamedPictureTest : public ::testing::TestWithParam<NamedPicture> {};

TEST_P(NamedPictureTest, IsFoundUnderItsExactNameAndLoads) {
    const NamedPicture picture = GetParam();
    const QString name = QString::fromLatin1(picture.name);
    // An empty folder stands in for the program's own, so only the built-in artwork can answer.
    const QString nowhere = QDir::temp().filePath(QStringLiteral("quillery-no-pictures-here"));
    EXPECT_EQ(lookUpPicture(name, nowhere), QStringLiteral(":/pictures/") + name);

    const QImage image = readPicture(name, nowhere);
    ASSERT_FALSE(image.isNull()) << picture.name;
    if (picture.icon) {
        EXPECT_EQ(image.size(), QSize(96, 96)) << picture.name;  // the largest
    } else {
        EXPECT_EQ(image.size(), picture.size) << picture.name;
    }
}

TEST_P(NamedPictureTest, IsInItsRealFileFormat) {
    const NamedPicture picture = GetParam();
    QFile file(QStringLiteral(":/pictures/") + picture.name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GE(bytes.size(), 54);
    if (!picture.icon) {
        EXPECT_EQ(bytes.left(2), QByteArray("BM"));
        EXPECT_EQ(u32(bytes, 2), std::uint32_t(bytes.size()));
        EXPECT_EQ(QImageReader::imageFormat(file.fileName()), QByteArray("bmp"));
        return;
    }
    // Icon directory: reserved 0, type 1, six images from 96 down to 16 pixels whose data lie
    // inside the file one after another.
    const int sides[] = {96, 64, 48, 32, 24, 16};
    EXPECT_EQ(u16(bytes, 0), 0u);
    EXPECT_EQ(u16(bytes, 2), 1u);
    ASSERT_EQ(u16(bytes, 4), std::size(sides));
    std::uint32_t expectedOffset = 6 + std::size(sides) * 16;
    for (int i = 0; i < int(std::size(sides)); ++i) {
        const int entry = 6 + 16 * i;
        EXPECT_EQ(std::uint8_t(bytes[entry]), sides[i]);
        EXPECT_EQ(std::uint8_t(bytes[entry + 1]), sides[i]);
        EXPECT_EQ(u32(bytes, entry + 12), expectedOffset);
        expectedOffset += u32(bytes, entry + 8);
    }
    EXPECT_EQ(expectedOffset, std::uint32_t(bytes.size()));
}

TEST_P(NamedPictureTest, IconsCarrySixSizesAndBitmapsOne) {
    const NamedPicture picture = GetParam();
    const QList<QImage> images = readPictureSizes(QString::fromLatin1(picture.name));
    if (!picture.icon) {
        ASSERT_EQ(images.size(), 1);
        // Bitmaps keep no transparency: even the corners are opaque.
        EXPECT_EQ(images[0].pixelColor(0, 0).alpha(), 255);
        EXPECT_EQ(images[0].pixelColor(images[0].width() - 1, images[0].height() - 1).alpha(), 255);
        return;
    }
    ASSERT_EQ(images.size(), 6);
    EXPECT_EQ(images[0].size(), QSize(96, 96));
    EXPECT_EQ(images[2].size(), QSize(48, 48));
    EXPECT_EQ(images[5].size(), QSize(16, 16));
    for (const QImage& image : images) {
        // Drawn, not blank: a good part of every size is covered.
        int covered = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                covered += qAlpha(image.pixel(x, y)) > 128;
        }
        EXPECT_GT(covered * 4, image.width() * image.height())
            << picture.name << " " << image.width();
    }
    const QIcon icon = readPictureIcon(QString::fromLatin1(picture.name));
    const QList<QSize> sizes = icon.availableSizes();
    for (int side : {16, 32, 48, 96})
        EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
}

INSTANTIATE_TEST_SUITE_P(AllNames, NamedPictureTest, ::testing::ValuesIn(namedPictures()),
                         [](const ::testing::TestParamInfo<NamedPicture>& info) {
                             QString name = QString::fromLatin1(info.param.name);
                             name.replace('.', '_');
                             return name.toStdString();
                         });

TEST(Artwork, PictureIconsHaveTransparentCorners) {
    for (const char* name :
         {"book.ico", "book2.ICO", "bookcopy.ICO", "cancel.ICO", "undo.ICO", "bookfind.ICO",
          "booklookup.ICO", "note.ico", "print.ico", "exit.ico", "zoom.ico"}) {
        for (const QImage& image : readPictureSizes(QString::fromLatin1(name))) {
            EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << name << " " << image.width();
            EXPECT_EQ(image.pixelColor(image.width() - 1, 0).alpha(), 0) << name;
        }
    }
}

TEST(Artwork, EveryPictureIsDrawnDifferently) {
    QList<QImage> seen;
    QStringList names;
    for (const NamedPicture& picture : namedPictures()) {
        const QImage image = readPicture(QString::fromLatin1(picture.name));
        for (int i = 0; i < seen.size(); ++i) {
            EXPECT_NE(seen[i], image) << picture.name << " looks like " << names[i].toStdString();
        }
        seen.append(image);
        names.append(QString::fromLatin1(picture.name));
    }
}

TEST(Artwork, LetterTilesAllShareOneTileAndDifferInTheLetter) {
    // The tile's frame (the left column and top row of pixels) is the same on every letter.
    const QImage first = readPicture(QStringLiteral("LA.ICO"));
    for (char letter = 'B'; letter <= 'Z'; ++letter) {
        const QImage tile = readPicture(QString(QChar(letter)) + QStringLiteral(".ICO"));
        for (int y = 0; y < 48; ++y)
            EXPECT_EQ(tile.pixel(0, y), first.pixel(0, y)) << letter;
        for (int x = 0; x < 48; ++x)
            EXPECT_EQ(tile.pixel(x, 0), first.pixel(x, 0)) << letter;
    }
}

// Lays every picture out on a window-coloured sheet: icons at 48, 32 and 16 pixels with the two
// small sizes enlarged beside them so their pixels can be judged; bitmaps at their own size.
TEST(Artwork, SavesAContactSheet) {
    const QList<NamedPicture> pictures = namedPictures();
    const int columns = 6;
    const QSize cell(210, 166);
    const int rows = int(pictures.size() + columns - 1) / columns;
    QImage sheet(columns * cell.width() + 20, rows * cell.height() + 50, QImage::Format_RGB32);
    sheet.fill(QColor(0xf0, 0xf0, 0xf0));
    QPainter painter(&sheet);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    painter.setFont(font);
    painter.drawText(QRect(0, 8, sheet.width(), 30), Qt::AlignCenter,
                     QStringLiteral("Quillery artwork: icons at 48, 32 and 16 pixels, with 32 and "
                                    "16 enlarged; bitmaps at their own size"));
    for (int i = 0; i < pictures.size(); ++i) {
        const QRect box(
            QPoint((i % columns) * cell.width() + 10, (i / columns) * cell.height() + 44),
            cell - QSize(8, 8));
        painter.setPen(QColor(0xd0, 0xd0, 0xd0));
        painter.setBrush(QColor(0xfa, 0xfa, 0xfa));
        painter.drawRoundedRect(box, 6, 6);
        const QList<QImage> images = readPictureSizes(QString::fromLatin1(pictures[i].name));
        ASSERT_FALSE(images.isEmpty()) << pictures[i].name;
        const QPoint origin = box.topLeft() + QPoint(10, 10);
        if (pictures[i].icon) {
            int x = origin.x();
            for (const QImage& image : images) {
                painter.drawImage(QPoint(x, origin.y() + 48 - image.height()), image);
                x += image.width() + 10;
            }
            painter.drawImage(QRect(origin.x(), origin.y() + 56, 64, 64), images[1]);
            painter.drawImage(QRect(origin.x() + 72, origin.y() + 56, 64, 64), images[2]);
        } else {
            const QImage& image = images.front();
            const QSize shown = image.size().boundedTo(QSize(110, 110));
            painter.drawImage(QRect(origin, image.size().scaled(shown, Qt::KeepAspectRatio)),
                              image);
        }
        painter.setPen(Qt::black);
        painter.drawText(QRect(box.left(), box.bottom() - 22, box.width() - 8, 20),
                         Qt::AlignRight | Qt::AlignVCenter, QString::fromLatin1(pictures[i].name));
    }
    painter.end();
    const QString path =
        QDir(testOutputFolder()).filePath(QStringLiteral("artwork_contact_sheet.png"));
    EXPECT_TRUE(sheet.save(path));
    EXPECT_FALSE(QImage(path).isNull());
}

}  // namespace
}  // namespace quillery
