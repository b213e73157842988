// Page images played back: the player's picture of a page against the same page drawn straight
// with Qt, and an outside reader of the format finding the page's texts.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>

#include "report_engine/core/metafile_writer.h"
#include "report_engine/metafile_player.h"
#include "runtime/window/window_font.h"
#include "tests/common/sample_report.h"
#include "tests/common/test_pictures.h"

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

// The share of pixels that differ clearly between two images of one size.
double differingShare(const QImage& a, const QImage& b) {
    int differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int d = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                    std::abs(qBlue(p) - qBlue(q))});
            if (d > 64) ++differing;
        }
    }
    return static_cast<double>(differing) / (a.width() * a.height());
}

int inkedPixels(const QImage& image) {
    int inked = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) ++inked;
    return inked;
}

TEST(PagePictures, APlayedPageLooksLikeThePageDrawnDirectly) {
    // A page at 600 units per inch played at a tenth of its size.
    constexpr double kScale = 0.1;
    const QSize size(510, 660);
    RasterImage checks{2, 2, {0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000}};
    LogFont logFont;
    logFont.height = -200;
    logFont.weight = kWeightBold;
    logFont.faceName = "Arial";

    MetafileWriter writer(5100, 6600);
    writer.usePen({PenStyle::Solid, 6, {0, 0, 0}});
    writer.useBrush({BrushStyle::Solid, {120, 160, 220}});
    writer.rectangle({600, 1500, 4500, 2500});
    writer.line(600, 3000, 4500, 3000);
    writer.useFont(logFont);
    writer.setTextColor({128, 0, 32});
    writer.text(600, 600, "Quillery pages", std::nullopt);
    writer.setTextAlign(TextAlign::kRight);
    writer.text(4500, 3500, "right edge", std::nullopt);
    writer.bitmap({600, 4000, 1600, 5000}, checks);
    const auto bytes = pageImageBytes(5100, 6600, 600, writer.finish());
    const auto page = readPageImage(bytes);
    ASSERT_TRUE(page);

    QImage playedImage(size, QImage::Format_RGB32);
    playedImage.fill(Qt::white);
    {
        QPainter painter(&playedImage);
        playPageImage(painter, *page, QRectF(0, 0, size.width(), size.height()));
    }

    QImage direct(size, QImage::Format_RGB32);
    direct.fill(Qt::white);
    {
        QPainter painter(&direct);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.scale(kScale, kScale);
        painter.setPen(QPen(Qt::black, 6));
        painter.setBrush(QColor(120, 160, 220));
        painter.drawRect(QRectF(600, 1500, 3900, 1000));
        painter.drawLine(QPointF(600, 3000), QPointF(4500, 3000));
        QFont font = fontOf(FontChoice{"Arial", 0, FontStyle::kBold}, QFont());
        font.setPixelSize(200);
        painter.setFont(font);
        painter.setPen(QColor(128, 0, 32));
        const QFontMetricsF metrics(font);
        painter.drawText(QPointF(600, 600 + metrics.ascent()), "Quillery pages");
        painter.drawText(
            QPointF(4500 - metrics.horizontalAdvance("right edge"), 3500 + metrics.ascent()),
            "right edge");
        const QImage pattern(reinterpret_cast<const uchar*>(checks.pixels.data()), 2, 2,
                             QImage::Format_RGB32);
        painter.drawImage(QRectF(600, 4000, 1000, 1000), pattern);
    }
    playedImage.save(testOutputDirectory() + "/played-page.png");
    direct.save(testOutputDirectory() + "/direct-page.png");

    EXPECT_GT(inkedPixels(direct), 1000);
    EXPECT_LT(differingShare(playedImage, direct), 0.005);
}

TEST(PagePictures, DamagedPagesPlayWhatTheyHold) {
    QTemporaryDir temp;
    SampleListing listing;
    listing.preview(5, temp.filePath("unused.pdf"));
    QFile file(QString::fromStdString(listing.pageFiles().front()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(whole.constData());
    const QSize size(425, 550);
    const QRect top(0, 0, 425, 140);  // the header's picture, title and headings
    int titleInk = 0;
    for (qsizetype cut = 40; cut <= whole.size(); cut += 97) {
        const auto page = readPageImage({bytes, static_cast<std::size_t>(cut)});
        ASSERT_TRUE(page) << cut;
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        playPageImage(painter, *page, QRectF(QPointF(0, 0), QSizeF(size)));
        painter.end();
        if (cut > whole.size() / 2) titleInk = std::max(titleInk, inkedPixels(image.copy(top)));
    }
    EXPECT_GT(titleInk, 200) << "half a page still shows its header";
    CLOSE(listing.report);
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
    QFile::remove(testOutputDirectory() + "/sample.pdf");
    QFile::copy(temp.filePath("sample.pdf"), testOutputDirectory() + "/sample.pdf");
}

}  // namespace
}  // namespace quillery::testing
