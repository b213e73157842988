// Test pictures drawn with QPainter.
#include "tests/common/test_pictures.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdlib>

#include "runtime/window/picture_files.h"

namespace quillery::testing {
namespace {

void drawIcon(const QString& path, QColor color, const QString& letter, const char* format) {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(color);
    painter.setPen(color.darker(150));
    painter.drawRoundedRect(QRectF(2, 2, 28, 28), 5, 5);
    painter.setPen(Qt::white);
    QFont font("Liberation Sans");
    font.setPixelSize(18);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, letter);
    painter.end();
    image.save(path, format);
}

void drawBook(const QString& path) {
    QImage image(96, 72, QImage::Format_RGB32);
    image.fill(QColor(250, 246, 235));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(128, 0, 32));
    painter.setPen(QColor(80, 0, 20));
    painter.drawRect(18, 10, 60, 52);
    painter.setBrush(QColor(240, 230, 200));
    painter.drawRect(24, 14, 48, 44);
    painter.setPen(QColor(60, 60, 60));
    for (int y = 22; y < 54; y += 6)
        painter.drawLine(30, y, 66, y);
    painter.end();
    image.save(path, "BMP");
}

}  // namespace

QString testPictureDirectory() {
    static QTemporaryDir dir;
    static bool drawn = false;
    if (!drawn) {
        drawn = true;
        const QString base = dir.path();
        drawBook(base + "/book.bmp");
        drawIcon(base + "/new.ico", QColor(40, 120, 40), "+", "PNG");
        drawIcon(base + "/save.ico", QColor(30, 70, 160), "S", "PNG");
        drawIcon(base + "/note.ico", QColor(200, 140, 20), "N", "PNG");
        drawIcon(base + "/LA.ICO", QColor(90, 90, 90), "A", "PNG");
        drawIcon(base + "/B.ICO", QColor(90, 90, 90), "B", "PNG");
        drawIcon(base + "/C.ICO", QColor(90, 90, 90), "C", "PNG");
        addPictureDirectory(base);
    }
    return dir.path();
}

QString testOutputDirectory() {
    const char* configured = std::getenv("QUILLERY_TEST_OUTPUT");
    QString path = configured ? QString(configured) : QDir::tempPath() + "/quillery-test-output";
    QDir().mkpath(path);
    return path;
}

}  // namespace quillery::testing
