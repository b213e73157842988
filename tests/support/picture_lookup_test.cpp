// Finding pictures by name: a file beside the program overrides the built-in artwork, exact
// names win over case-insensitive ones, folder parts and padding are ignored, and a missing
// or unreadable picture never stops the program.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "runtime/errors.h"
#include "support/picture_lookup.h"

namespace quillery {
namespace {

class PictureLookupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        clearError();
    }

    QString folder() const { return folder_.path(); }

    // Writes a plain image of `size` in `format` under `name` beside the "program".
    void writeImage(const QString& name, QSize size, const char* format = "png") {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        ASSERT_TRUE(image.save(QDir(folder()).filePath(name), format));
    }

  private:
    QTemporaryDir folder_;
};

TEST_F(PictureLookupTest, BuiltInNamesMatchExactlyThenIgnoringCase) {
    struct Case {
        const char* asked;
        const char* found;
    };
    const Case cases[] = {
        {"book.bmp", ":/pictures/book.bmp"},          // two names that differ only in case
        {"BOOK.BMP", ":/pictures/BOOK.BMP"},          // are two different pictures
        {"Bookfind.ico", ":/pictures/bookfind.ICO"},  // neither the lower- nor the upper-case form
        {"la.ico", ":/pictures/LA.ICO"},
        {"k.ico", ":/pictures/K.ICO"},
        {"Book3.Bmp", ":/pictures/BOOK3.BMP"},
        {"C:\\BOOK\\BOOK3.BMP", ":/pictures/BOOK3.BMP"},  // a folder part is ignored
        {"pictures/note.ico", ":/pictures/note.ico"},
        {"save.ICO      ", ":/pictures/save.ICO"},  // blank padding of a layout field
    };
    for (const Case& c : cases) {
        EXPECT_EQ(lookUpPicture(QString::fromLatin1(c.asked), folder()),
                  QString::fromLatin1(c.found))
            << c.asked;
    }
    EXPECT_EQ(readPicture(QStringLiteral("book.bmp"), folder()).size(), QSize(48, 48));
    EXPECT_EQ(readPicture(QStringLiteral("BOOK.BMP"), folder()).size(), QSize(240, 240));
}

TEST_F(PictureLookupTest, MissingOrEmptyNamesGiveNothingWithoutAnError) {
    for (const char* name : {"nothing.ico", "", "    ", "..", "C:\\BOOK\\", "artwork.qrc"}) {
        EXPECT_TRUE(lookUpPicture(QString::fromLatin1(name), folder()).isEmpty()) << name;
        EXPECT_TRUE(readPicture(QString::fromLatin1(name), folder()).isNull()) << name;
        EXPECT_TRUE(readPictureSizes(QString::fromLatin1(name), folder()).isEmpty()) << name;
        EXPECT_TRUE(readPictureIcon(QString::fromLatin1(name), folder()).isNull()) << name;
    }
    EXPECT_EQ(errorCode(), 0);
}

TEST_F(PictureLookupTest, AFileBesideTheProgramOverridesTheBuiltInPicture) {
    writeImage(QStringLiteral("note.ico"), QSize(20, 10));
    EXPECT_EQ(lookUpPicture(QStringLiteral("note.ico"), folder()),
              QDir(folder()).filePath(QStringLiteral("note.ico")));
    // The content decides the format, whatever the name's extension says.
    EXPECT_EQ(readPicture(QStringLiteral("note.ico"), folder()).size(), QSize(20, 10));
    // Other names still come from the built-in artwork.
    EXPECT_EQ(readPicture(QStringLiteral("save.ICO"), folder()).size(), QSize(48, 48));
}

TEST_F(PictureLookupTest, AFileBesideTheProgramMatchesIgnoringCase) {
    writeImage(QStringLiteral("Book3.bmp"), QSize(7, 9), "bmp");
    EXPECT_EQ(lookUpPicture(QStringLiteral("BOOK3.BMP"), folder()),
              QDir(folder()).filePath(QStringLiteral("Book3.bmp")));
    EXPECT_EQ(readPicture(QStringLiteral("BOOK3.BMP"), folder()).size(), QSize(7, 9));
}

TEST_F(PictureLookupTest, AnExactFileNameWinsOverOneDifferingInCase) {
    writeImage(QStringLiteral("Undo.ico"), QSize(5, 5));
    writeImage(QStringLiteral("undo.ICO"), QSize(6, 6));
    writeImage(QStringLiteral("UNDO.ICO"), QSize(7, 7));
    EXPECT_EQ(readPicture(QStringLiteral("undo.ICO"), folder()).size(), QSize(6, 6));
    EXPECT_EQ(readPicture(QStringLiteral("UNDO.ICO"), folder()).size(), QSize(7, 7));
    EXPECT_EQ(readPicture(QStringLiteral("Undo.ico"), folder()).size(), QSize(5, 5));
}

TEST_F(PictureLookupTest, AnUnreadableFileBesideTheProgramGivesWayToTheBuiltInPicture) {
    QFile broken(QDir(folder()).filePath(QStringLiteral("cancel.ICO")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    // An icon directory's first bytes, then nonsense.
    static const char kBroken[] = "\0\0\1\0\3\0 not really an icon";
    broken.write(kBroken, sizeof(kBroken) - 1);
    broken.close();
    EXPECT_EQ(lookUpPicture(QStringLiteral("cancel.ICO"), folder()), broken.fileName());
    const QList<QImage> images = readPictureSizes(QStringLiteral("cancel.ICO"), folder());
    ASSERT_EQ(images.size(), 3);
    EXPECT_EQ(images[0].size(), QSize(48, 48));
    EXPECT_EQ(errorCode(), 0);
}

TEST_F(PictureLookupTest, AFolderEntryIsNotAPicture) {
    ASSERT_TRUE(QDir(folder()).mkdir(QStringLiteral("book.ico")));
    EXPECT_EQ(lookUpPicture(QStringLiteral("book.ico"), folder()),
              QStringLiteral(":/pictures/book.ico"));
}

TEST_F(PictureLookupTest, ThePicturesFolderIsTheProgramsOwnByDefault) {
    // A name no built-in picture has, so only the file beside the test program can answer.
    const QString name =
        QStringLiteral("quillery-probe-%1.BMP").arg(QCoreApplication::applicationPid());
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(name);
    QImage image(3, 4, QImage::Format_RGB32);
    image.fill(Qt::cyan);
    ASSERT_TRUE(image.save(path, "bmp"));
    const QString found = lookUpPicture(name.toLower());
    const QImage read = readPicture(name);
    QFile::remove(path);
    EXPECT_EQ(found, path);
    EXPECT_EQ(read.size(), QSize(3, 4));
}

TEST_F(PictureLookupTest, IconsCarryEverySizeOfTheFile) {
    const QIcon icon = readPictureIcon(QStringLiteral("bookfind.ICO"), folder());
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.availableSizes().size(), 3);
    EXPECT_EQ(icon.pixmap(16, 16).size(), QSize(16, 16));
    // A one-image replacement gives a one-size icon.
    writeImage(QStringLiteral("bookfind.ICO"), QSize(24, 24));
    EXPECT_EQ(readPictureIcon(QStringLiteral("bookfind.ICO"), folder()).availableSizes(),
              QList<QSize>{QSize(24, 24)});
}

}  // namespace
}  // namespace quillery
