// Finding pictures by name in folders: a file beside the program comes before the added
// folders, exact names win over case-insensitive ones, folder parts and padding are ignored, an
// unreadable file gives way to the next place, icons keep every size, and a missing picture
// never posts an error. (The built-in artwork's part is tested with the artwork, in the
// support suite.)
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "runtime/errors.h"
#include "runtime/window/picture_files.h"
#include "tests/common/test_pictures.h"

namespace quillery {
namespace {

// Writes an icon file holding a square 32-bit image of each of `sides`, in the order given.
void writeIconFile(const QString& path, const QList<int>& sides) {
    QByteArray images;
    QByteArray directory;
    QDataStream dir(&directory, QIODevice::WriteOnly);
    dir.setByteOrder(QDataStream::LittleEndian);
    dir << quint16(0) << quint16(1) << quint16(sides.size());
    qint64 offset = 6 + 16 * sides.size();
    for (int side : sides) {
        QByteArray dib;
        QDataStream out(&dib, QIODevice::WriteOnly);
        out.setByteOrder(QDataStream::LittleEndian);
        // The image header; its height counts the colour rows and the mask rows.
        out << quint32(40) << qint32(side) << qint32(2 * side) << quint16(1) << quint16(32)
            << quint32(0) << quint32(0) << qint32(0) << qint32(0) << quint32(0) << quint32(0);
        for (int i = 0; i < side * side; ++i)
            out << quint8(side) << quint8(0) << quint8(200)
                << quint8(255);  // blue, green, red, alpha
        const int maskRow = (side + 31) / 32 * 4;
        for (int i = 0; i < maskRow * side; ++i)
            out << quint8(0);
        dir << quint8(side) << quint8(side) << quint8(0) << quint8(0) << quint16(1) << quint16(32)
            << quint32(dib.size()) << quint32(offset);
        offset += dib.size();
        images += dib;
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(directory + images);
}

class PictureLookupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        clearError();
    }

    // The folder standing for the program's own.
    QString folder() const { return folder_.path(); }
    QString beside(const QString& name) const { return QDir(folder()).filePath(name); }

    // Writes a plain image of `size` in `format` under `name` beside the "program".
    void writeImage(const QString& name, QSize size, const char* format = "png") {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        ASSERT_TRUE(image.save(beside(name), format));
    }

  private:
    QTemporaryDir folder_;
};

TEST_F(PictureLookupTest, NamesMatchExactlyThenIgnoringCaseWithoutFolderOrPadding) {
    writeImage(QStringLiteral("Cover.bmp"), QSize(7, 9), "bmp");
    struct Case {
        const char* asked;
        const char* found;
    };
    const Case cases[] = {
        {"Cover.bmp", "Cover.bmp"},
        {"COVER.BMP", "Cover.bmp"},
        {"cover.bmp", "Cover.bmp"},
        {"C:\\BOOK\\COVER.BMP", "Cover.bmp"},  // a folder part in either slash style
        {"pictures/cover.bmp", "Cover.bmp"},
        {"cover.bmp      ", "Cover.bmp"},  // blank padding of a layout field
    };
    for (const Case& c : cases) {
        EXPECT_EQ(lookUpPicture(QString::fromLatin1(c.asked), folder()),
                  beside(QString::fromLatin1(c.found)))
            << c.asked;
        EXPECT_EQ(readPicture(QString::fromLatin1(c.asked), folder()).size(), QSize(7, 9))
            << c.asked;
    }
}

TEST_F(PictureLookupTest, AFullPathNamesItsFileAndOtherwiseOnlyItsNameCounts) {
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    const QString page = QDir(elsewhere.path()).filePath(QStringLiteral("QLY1A2B.TMP"));
    QImage image(8, 5, QImage::Format_RGB32);
    image.fill(Qt::gray);
    ASSERT_TRUE(image.save(page, "png"));
    writeImage(QStringLiteral("QLY1A2B.TMP"), QSize(2, 2));
    EXPECT_EQ(lookUpPicture(page, folder()), page);
    EXPECT_EQ(lookUpPicture(page + QStringLiteral("   "), folder()), page);
    EXPECT_EQ(readPicture(page, folder()).size(), QSize(8, 5));
    // A full path to no file falls back to the name alone.
    ASSERT_TRUE(QFile::remove(page));
    EXPECT_EQ(lookUpPicture(page, folder()), beside(QStringLiteral("QLY1A2B.TMP")));
    // A relative path is never taken from the current folder.
    const QString other = QDir(elsewhere.path()).filePath(QStringLiteral("other.bmp"));
    ASSERT_TRUE(image.save(other, "bmp"));
    const QString relative = QDir::current().relativeFilePath(other);
    ASSERT_TRUE(QFileInfo(relative).isFile());
    EXPECT_TRUE(lookUpPicture(relative, folder()).isEmpty()) << relative.toStdString();
}

TEST_F(PictureLookupTest, AnExactFileNameWinsOverOneDifferingInCase) {
    writeImage(QStringLiteral("Undo.ico"), QSize(5, 5));
    writeImage(QStringLiteral("undo.ICO"), QSize(6, 6));
    writeImage(QStringLiteral("UNDO.ICO"), QSize(7, 7));
    EXPECT_EQ(readPicture(QStringLiteral("undo.ICO"), folder()).size(), QSize(6, 6));
    EXPECT_EQ(readPicture(QStringLiteral("UNDO.ICO"), folder()).size(), QSize(7, 7));
    EXPECT_EQ(readPicture(QStringLiteral("Undo.ico"), folder()).size(), QSize(5, 5));
}

TEST_F(PictureLookupTest, MissingOrEmptyNamesGiveNothingWithoutAnError) {
    ASSERT_TRUE(QDir(folder()).mkdir(QStringLiteral("shelf.bmp")));
    for (const char* name :
         {"nothing.ico", "", "    ", ".", "..", "C:\\BOOK\\", "shelf.bmp", "SHELF.BMP"}) {
        EXPECT_TRUE(lookUpPicture(QString::fromLatin1(name), folder()).isEmpty()) << name;
        EXPECT_TRUE(readPicture(QString::fromLatin1(name), folder()).isNull()) << name;
        EXPECT_TRUE(readPictureSizes(QString::fromLatin1(name), folder()).isEmpty()) << name;
        EXPECT_TRUE(readPictureIcon(QString::fromLatin1(name), folder()).isNull()) << name;
    }
    EXPECT_EQ(loadPicture("nothing.ico"), nullptr);
    EXPECT_TRUE(iconOf("nothing.ico").isNull());
    EXPECT_EQ(errorCode(), 0);
}

TEST_F(PictureLookupTest, TheContentDecidesTheFormatNotTheExtension) {
    writeImage(QStringLiteral("ribbon.ico"), QSize(20, 10));
    writeImage(QStringLiteral("ribbon.png"), QSize(11, 3), "bmp");
    EXPECT_EQ(readPicture(QStringLiteral("ribbon.ico"), folder()).size(), QSize(20, 10));
    EXPECT_EQ(readPicture(QStringLiteral("ribbon.png"), folder()).size(), QSize(11, 3));
}

TEST_F(PictureLookupTest, TheProgramsFolderComesBeforeTheAddedFolders) {
    const QString added = testing::testPictureDirectory();  // holds "note.ico", 32 by 32
    EXPECT_EQ(lookUpPicture(QStringLiteral("NOTE.ICO"), folder()),
              QDir(added).filePath(QStringLiteral("note.ico")));
    writeImage(QStringLiteral("Note.Ico"), QSize(12, 12));
    EXPECT_EQ(lookUpPicture(QStringLiteral("NOTE.ICO"), folder()), beside("Note.Ico"));
    EXPECT_EQ(readPicture(QStringLiteral("note.ico"), folder()).size(), QSize(12, 12));
}

TEST_F(PictureLookupTest, AnUnreadableFileGivesWayToTheNextPlaceHoldingTheName) {
    testing::testPictureDirectory();
    QFile broken(beside(QStringLiteral("note.ico")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    // An icon directory's first bytes, then nonsense.
    static const char kBroken[] = "\0\0\1\0\3\0 not really an icon";
    broken.write(kBroken, sizeof(kBroken) - 1);
    broken.close();
    // The broken file is still the one found, so a user sees which file was meant...
    EXPECT_EQ(lookUpPicture(QStringLiteral("note.ico"), folder()), broken.fileName());
    // ...but what is shown comes from the next place.
    const QList<QImage> images = readPictureSizes(QStringLiteral("note.ico"), folder());
    ASSERT_EQ(images.size(), 1);
    EXPECT_EQ(images[0].size(), QSize(32, 32));
    EXPECT_EQ(errorCode(), 0);

    // Nothing else holds this one: nothing is shown.
    QFile::copy(broken.fileName(), beside(QStringLiteral("torn.ico")));
    EXPECT_TRUE(readPicture(QStringLiteral("torn.ico"), folder()).isNull());
    EXPECT_TRUE(readPictureIcon(QStringLiteral("torn.ico"), folder()).isNull());
    EXPECT_EQ(errorCode(), 0);
}

TEST_F(PictureLookupTest, IconFilesGiveEverySizeLargestFirst) {
    writeIconFile(beside(QStringLiteral("shelf.ico")), {16, 48, 32});
    const QList<QImage> images = readPictureSizes(QStringLiteral("SHELF.ICO"), folder());
    ASSERT_EQ(images.size(), 3);
    EXPECT_EQ(images[0].size(), QSize(48, 48));
    EXPECT_EQ(images[1].size(), QSize(32, 32));
    EXPECT_EQ(images[2].size(), QSize(16, 16));
    // Each image is its own: the blue channel holds the side it was written for.
    EXPECT_EQ(qBlue(images[0].pixel(0, 0)), 48);
    EXPECT_EQ(qBlue(images[2].pixel(15, 15)), 16);
    EXPECT_EQ(qRed(images[1].pixel(5, 7)), 200);
    EXPECT_EQ(readPicture(QStringLiteral("shelf.ico"), folder()).size(), QSize(48, 48));

    const QIcon icon = readPictureIcon(QStringLiteral("shelf.ico"), folder());
    EXPECT_EQ(icon.availableSizes().size(), 3);
    EXPECT_EQ(icon.pixmap(16, 16).size(), QSize(16, 16));
    // A one-image replacement gives a one-size icon.
    writeImage(QStringLiteral("shelf.ico"), QSize(24, 24));
    EXPECT_EQ(readPictureIcon(QStringLiteral("shelf.ico"), folder()).availableSizes(),
              QList<QSize>{QSize(24, 24)});
}

TEST_F(PictureLookupTest, ThePicturesFolderIsTheProgramsOwnByDefault) {
    // A name nothing else has, so only the file beside the test program can answer.
    const QString name =
        QStringLiteral("quillery-probe-%1.BMP").arg(QCoreApplication::applicationPid());
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(name);
    QImage image(3, 4, QImage::Format_RGB32);
    image.fill(Qt::cyan);
    ASSERT_TRUE(image.save(path, "bmp"));
    const QString found = lookUpPicture(name.toLower());
    const QImage read = readPicture(name);
    const std::string bufferName = name.toLower().toStdString() + "   ";
    const auto loaded = loadPicture(bufferName);
    const QIcon icon = iconOf(bufferName);
    QFile::remove(path);
    EXPECT_EQ(found, path);
    EXPECT_EQ(read.size(), QSize(3, 4));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->naturalSize(), QSize(3, 4));
    EXPECT_EQ(icon.availableSizes(), QList<QSize>{QSize(3, 4)});
}

// The engine's own entry points read names from program buffers and, for an image control,
// the largest image of an icon file.
TEST_F(PictureLookupTest, ImageControlsAndIconsUseTheSameLookup) {
    static QTemporaryDir added;
    static const bool registered = [] {
        addPictureDirectory(added.path());
        return true;
    }();
    ASSERT_TRUE(registered);
    writeIconFile(QDir(added.path()).filePath(QStringLiteral("Lectern.ICO")), {16, 32});
    const auto picture = loadPicture("lectern.ico ");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->naturalSize(), QSize(32, 32));
    EXPECT_EQ(iconOf("C:\\BOOK\\LECTERN.ICO").availableSizes().size(), 2);
    // Windows-1252 names reach the files under their Unicode names.
    writeIconFile(QDir(added.path()).filePath(QString::fromUtf8("caf\u00e9.ico")), {16});
    EXPECT_NE(loadPicture("caf\xe9.ico"), nullptr);
    EXPECT_EQ(errorCode(), 0);
}

}  // namespace
}  // namespace quillery
