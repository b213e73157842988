// Finding the built-in artwork by name: exact names win over case-insensitive ones, folder
// parts and padding are ignored, and a file beside the program overrides a built-in picture
// unless it cannot be read. (Lookup in folders alone is tested in the window suite.)
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "runtime/errors.h"
#include "runtime/window/picture_files.h"

namespace quillery {
namespace {

class BuiltInPictureTest : public ::testing::Test {
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

TEST_F(BuiltInPictureTest, BuiltInNamesMatchExactlyThenIgnoringCase) {
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

TEST_F(BuiltInPictureTest, MissingOrEmptyNamesGiveNothingWithoutAnError) {
    for (const char* name : {"nothing.ico", "", "    ", "..", "C:\\BOOK\\", "artwork.qrc"}) {
        EXPECT_TRUE(lookUpPicture(QString::fromLatin1(name), folder()).isEmpty()) << name;
        EXPECT_TRUE(readPicture(QString::fromLatin1(name), folder()).isNull()) << name;
        EXPECT_TRUE(readPictureSizes(QString::fromLatin1(name), folder()).isEmpty()) << name;
        EXPECT_TRUE(readPictureIcon(QString::fromLatin1(name), folder()).isNull()) << name;
    }
    EXPECT_EQ(errorCode(), 0);
}

TEST_F(BuiltInPictureTest, AFileBesideTheProgramOverridesTheBuiltInPicture) {
    writeImage(QStringLiteral("note.ico"), QSize(20, 10));
    EXPECT_EQ(lookUpPicture(QStringLiteral("note.ico"), folder()),
              QDir(folder()).filePath(QStringLiteral("note.ico")));
    // The content decides the format, whatever the name's extension says.
    EXPECT_EQ(readPicture(QStringLiteral("note.ico"), folder()).size(), QSize(20, 10));
    // Other names still come from the built-in artwork.
    EXPECT_EQ(readPicture(QStringLiteral("save.ICO"), folder()).size(), QSize(96, 96));
}

TEST_F(BuiltInPictureTest, AnUnreadableFileBesideTheProgramGivesWayToTheBuiltInPicture) {
    QFile broken(QDir(folder()).filePath(QStringLiteral("cancel.ICO")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    // An icon directory's first bytes, then nonsense.
    static const char kBroken[] = "\0\0\1\0\3\0 not really an icon";
    broken.write(kBroken, sizeof(kBroken) - 1);
    broken.close();
    EXPECT_EQ(lookUpPicture(QStringLiteral("cancel.ICO"), folder()), broken.fileName());
    const QList<QImage> images = readPictureSizes(QStringLiteral("cancel.ICO"), folder());
    ASSERT_EQ(images.size(), 6);
    EXPECT_EQ(images[0].size(), QSize(96, 96));
    EXPECT_EQ(errorCode(), 0);
}

TEST_F(BuiltInPictureTest, AFolderEntryIsNotAPicture) {
    ASSERT_TRUE(QDir(folder()).mkdir(QStringLiteral("book.ico")));
    EXPECT_EQ(lookUpPicture(QStringLiteral("book.ico"), folder()),
              QStringLiteral(":/pictures/book.ico"));
}

TEST_F(BuiltInPictureTest, IconsCarryEverySizeOfTheFile) {
    const QIcon icon = readPictureIcon(QStringLiteral("bookfind.ICO"), folder());
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.availableSizes().size(), 6);
    EXPECT_EQ(icon.pixmap(16, 16).size(), QSize(16, 16));
    // A one-image replacement gives a one-size icon.
    writeImage(QStringLiteral("bookfind.ICO"), QSize(24, 24));
    EXPECT_EQ(readPictureIcon(QStringLiteral("bookfind.ICO"), folder()).availableSizes(),
              QList<QSize>{QSize(24, 24)});
}

}  // namespace
}  // namespace quillery
