// Page images played back: the player's picture of a page against the same page drawn straight
// with Qt, and an outside reader of the format finding the page's texts.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "report_engine/core/metafile_writer.h"
#include "report_engine/metafile_player.h"
#include "runtime/window/window_font.h"
#include "tests/report_engine/sample_report.h"
#include "tests/window/test_pictures.h"

namespace quillery::testing {
namespace {

using namespace report;

QImage played(const std::string& file, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    const auto page = loadPageImageFile(QString::fromStdString(file));
    if (!page) return {};
    QPainter painter(&image);
    playPageImage(painter, *page, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

TEST(PagePictures, ThreeSamplePagesPlayAndReadOutside) {
    QTemporaryDir temp;
    SampleListing listing;
    listing.preview(12, temp.filePath("sample.pdf"));
    const auto files = listing.pageFiles();
    ASSERT_EQ(files.size(), 3u);
    for (std::size_t i = 0; i < files.size(); ++i) {
        const QImage image = played(files[i], QSize(850, 1100));
        ASSERT_FALSE(image.isNull());
        const QString saved = testOutputDirectory() + QString("/sample-page-%1").arg(i + 1);
        image.save(saved + ".png");
        QFile::remove(saved + ".wmf");
        QFile::copy(QString::fromStdString(files[i]), saved + ".wmf");
        // An outside reader finds every text the page holds.
        const QString svg = temp.filePath(QString("page-%1.svg").arg(i + 1));
        runTool("wmf2svg", {"-o", svg, QString::fromStdString(files[i])});
        QFile out(svg);
        ASSERT_TRUE(out.open(QIODevice::ReadOnly)) << "wmf2svg wrote nothing for " << files[i];
        const std::string content = out.readAll().toStdString();
        for (const std::string& text : pageTexts(files[i]))
            EXPECT_NE(content.find(text), std::string::npos) << text << " on page " << i + 1;
    }
    PROP(listing.report, ReportProp::Flush) = 1;
    CLOSE(listing.report);
    std::printf("%s\n",
                runTool("pdftotext", {"-layout", temp.filePath("sample.pdf"), "-"}).c_str());
}

}  // namespace
}  // namespace quillery::testing
