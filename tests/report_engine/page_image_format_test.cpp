// The page image file format: header bytes, records written and read back, and damaged files.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "report_engine/core/metafile_reader.h"
#include "report_engine/core/metafile_writer.h"
#include "report_engine/core/page_geometry.h"
#include "report_engine/core/placeable_header.h"

namespace quillery::report {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(PlaceableHeader, BytesForALetterPageAtSixHundredDots) {
    // 8.5 x 11 inches, printable area 8 x 10.5 with quarter-inch margins, at 600 x 300 dots:
    // the vertical axis is scaled up to 600.
    const PageGeometry g = pageGeometryOf({600, 300, 4800, 3150, 150, 75});
    EXPECT_EQ(g.unitsPerInch, 600);
    EXPECT_EQ(g.width(), 5100);
    EXPECT_EQ(g.height(), 6600);
    EXPECT_EQ(g.pageX(1000), 150 + 600);
    EXPECT_EQ(g.pageY(2260), 150 + 1356);

    PlaceableHeader header;
    header.right = static_cast<std::int16_t>(g.width());
    header.bottom = static_cast<std::int16_t>(g.height());
    header.unitsPerInch = 600;
    const auto bytes = encodePlaceableHeader(header);
    // Words: CDD7 9AC6 0000 0000 0000 13EC 19C8 0258 0000 0000; their XOR is 5F6D.
    const Bytes expected{0xD7, 0xCD, 0xC6, 0x9A, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xEC,
                         0x13, 0xC8, 0x19, 0x58, 0x02, 0x00, 0x00, 0x00, 0x00, 0x6D, 0x5F};
    EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), expected);

    const auto read = decodePlaceableHeader(bytes);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->width(), 5100);
    EXPECT_EQ(read->unitsPerInch, 600);
    EXPECT_TRUE(read->checksumMatched);

    Bytes wrongSum(bytes.begin(), bytes.end());
    wrongSum[20] ^= 1;
    EXPECT_FALSE(decodePlaceableHeader(wrongSum)->checksumMatched);
    Bytes wrongKey(bytes.begin(), bytes.end());
    wrongKey[3] = 0x9B;
    EXPECT_FALSE(decodePlaceableHeader(wrongKey));
    EXPECT_FALSE(decodePlaceableHeader(Bytes(bytes.begin(), bytes.begin() + 21)));
}

Bytes samplePage() {
    MetafileWriter page(5100, 6600);
    LogFont font;
    font.height = -83;
    font.weight = kWeightBold;
    font.italic = true;
    font.faceName = "Arial";
    page.useFont(font);
    page.setTextColor({10, 20, 30});
    page.setTextAlign(TextAlign::kRight);
    page.text(2000, 700, "Caf\xe9 odd", PageRect{100, 700, 2000, 800});
    page.useFont(font);  // already selected: no record
    page.usePen({PenStyle::Solid, 4, {1, 2, 3}});
    page.useBrush({BrushStyle::Solid, {225, 225, 225}});
    page.rectangle({10, 20, 300, 400});
    page.line(5, 6, 700, 6);
    RasterImage image{
        3, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF010203, 0xFFFFFFFF, 0xFF000000}};
    page.bitmap({50, 60, 350, 260}, image);
    return pageImageBytes(5100, 6600, 600, page.finish());
}

TEST(MetafileRecords, WhatIsWrittenReadsBack) {
    const Bytes bytes = samplePage();
    // The metafile header: memory type, 9 words, version 3.0, file size in words, object slots.
    EXPECT_EQ(bytes[22], 1);
    EXPECT_EQ(bytes[24], 9);
    EXPECT_EQ(bytes[27], 0x03);
    const std::uint32_t words = bytes[28] | bytes[29] << 8 | bytes[30] << 16 | bytes[31] << 24;
    EXPECT_EQ(words * 2, bytes.size() - 22);
    EXPECT_EQ(bytes[32], 3) << "a font, a pen and a brush";
    // The file ends with the end record: three words, function 0.
    EXPECT_EQ(Bytes(bytes.end() - 6, bytes.end()), (Bytes{3, 0, 0, 0, 0, 0}));

    const auto page = readPageImage(bytes);
    ASSERT_TRUE(page);
    EXPECT_FALSE(page->damaged);
    std::vector<PageStep::Text> texts;
    int fonts = 0;
    for (const auto& step : page->steps) {
        if (auto* t = std::get_if<PageStep::Text>(&step)) texts.push_back(*t);
        if (auto* f = std::get_if<PageStep::SelectFont>(&step)) {
            ++fonts;
            EXPECT_EQ(f->font.faceName, "Arial");
            EXPECT_EQ(f->font.height, -83);
            EXPECT_EQ(f->font.weight, kWeightBold);
            EXPECT_TRUE(f->font.italic);
        }
        if (auto* r = std::get_if<PageStep::Rectangle>(&step)) {
            EXPECT_EQ(r->rect.left, 10);
            EXPECT_EQ(r->rect.bottom, 400);
        }
        if (auto* b = std::get_if<PageStep::Bitmap>(&step)) {
            EXPECT_EQ(b->target.right, 350);
            EXPECT_EQ(b->image.pixels,
                      (std::vector<std::uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF010203,
                                                  0xFFFFFFFF, 0xFF000000}));
        }
    }
    EXPECT_EQ(fonts, 1);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Caf\xe9 odd");
    EXPECT_EQ(texts[0].x, 2000);
    ASSERT_TRUE(texts[0].clip);
    EXPECT_EQ(texts[0].clip->right, 2000);
}

TEST(MetafileRecords, DamagedFilesPlayWhatCanBeRead) {
    const Bytes whole = samplePage();
    const auto full = readPageImage(whole);
    ASSERT_TRUE(full);
    // Every cut: no crash, at most the steps of the whole file, marked damaged.
    for (std::size_t size = 0; size < whole.size(); ++size) {
        const auto cut = readPageImage(Bytes(whole.begin(), whole.begin() + size));
        if (size < 40) {
            EXPECT_FALSE(cut) << size;
            continue;
        }
        ASSERT_TRUE(cut) << size;
        EXPECT_TRUE(cut->damaged) << size;
        EXPECT_LE(cut->steps.size(), full->steps.size());
    }
    // A record claiming more words than the file holds ends the reading there.
    Bytes bad = whole;
    const std::size_t firstRecord = 22 + 18;
    bad[firstRecord + 3] = 0x7F;
    const auto stopped = readPageImage(bad);
    ASSERT_TRUE(stopped);
    EXPECT_TRUE(stopped->steps.empty());
    // Flipping any byte never crashes.
    for (std::size_t i = 0; i < whole.size(); ++i) {
        Bytes flipped = whole;
        flipped[i] ^= 0xA5;
        (void)readPageImage(flipped);
    }
}

TEST(MetafileRecords, BitmapsAreReadOnlyWhole) {
    Bytes dib(40, 0);
    dib[0] = 40;
    dib[4] = 2;     // width 2
    dib[8] = 0xFE;  // height -2: top-down
    dib[9] = dib[10] = dib[11] = 0xFF;
    dib[14] = 1;  // 1 bit per pixel
    const Bytes palette{0, 0, 0, 0, 255, 255, 255, 0};
    dib.insert(dib.end(), palette.begin(), palette.end());
    const Bytes rows{0x80, 0, 0, 0, 0x40, 0, 0, 0};
    Bytes whole = dib;
    whole.insert(whole.end(), rows.begin(), rows.end());
    const auto image = readDeviceIndependentBitmap(whole);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels,
              (std::vector<std::uint32_t>{0xFFFFFFFF, 0xFF000000, 0xFF000000, 0xFFFFFFFF}));
    whole.pop_back();
    EXPECT_FALSE(readDeviceIndependentBitmap(whole)) << "a row short";
    Bytes huge = dib;
    huge[7] = 0x40;  // width 0x40000002
    EXPECT_FALSE(readDeviceIndependentBitmap(huge));
}

}  // namespace
}  // namespace quillery::report
