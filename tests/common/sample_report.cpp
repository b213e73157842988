// The sample listing of the report tests.
#include "tests/common/sample_report.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <variant>

#include "report_engine/core/metafile_reader.h"
#include "report_engine/metafile_player.h"
#include "tests/common/test_pictures.h"

namespace quillery::testing {
namespace {

constexpr ControlLayout kControls[] = {
    {.kind = ControlKind::Header, .at = {1000, 1000, 6000, 1938}},
    {.kind = ControlKind::Image, .text = "book.bmp", .at = {0, 21, 400, 400}},
    {.kind = ControlKind::String,
     .text = "Quillery",
     .at = {573, 63, 1688, 354},
     .font = {"Impact", 22}},
    {.kind = ControlKind::Box, .at = {10, 635, 5979, 500}, .color = 0xE1E1E1, .fill = 0xE1E1E1},
    {.kind = ControlKind::String, .text = "TITLE", .at = {115, 677, 938, 208}},
    {.kind = ControlKind::String,
     .text = "AUTHOR",
     .at = {5083, 677, 813, 208},
     .flags = ControlFlag::kRight},
    {.kind = ControlKind::String, .at = {115, 900, 3000, 208}, .picture = "s30", .use = 1},
    {.kind = ControlKind::Detail, .field = kDetailBand, .at = {0, 0, 6000, 1375}},
    {.kind = ControlKind::Line, .at = {94, 31, 5792, 0}},
    {.kind = ControlKind::String,
     .at = {94, 104, 2250, 188},
     .picture = "s30",
     .use = 1,
     .font = {"Arial", 12, FontStyle::kBold}},
    {.kind = ControlKind::String,
     .at = {3896, 104, 2000, 208},
     .picture = "s20",
     .use = 2,
     .flags = ControlFlag::kRight},
    {.kind = ControlKind::Text,
     .at = {427, 500, 5063, 400},
     .use = 3,
     .font = {"Arial", 8, FontStyle::kItalic}},
    {.kind = ControlKind::Footer, .at = {1000, 9700, 6000, 198}},
    {.kind = ControlKind::String,
     .at = {0, 31, 3000, 135},
     .picture = "s30",
     .use = 1,
     .font = {"Arial", 8}},
    {.kind = ControlKind::String,
     .at = {5250, 31, 698, 135},
     .picture = "pPage <<<#p",
     .font = {"Arial", 8},
     .flags = ControlFlag::kPageNumber},
};

constexpr WindowLayout kLayout{.module = "SAMPLEREPORT",
                               .structure = "REPORT",
                               .at = {1000, 2260, 6000, 7500},
                               .font = {"Arial", 10},
                               .controls = kControls};

}  // namespace

std::string sampleTitle(int n) {
    return "Book number " + std::to_string(n);
}

std::string sampleNote(int n) {
    return "A note long enough to need a second line in its italic text box, one that goes on "
           "about the binding, the dust jacket and the inscription of book " +
           std::to_string(n);
}

SampleListing::SampleListing()
    : report(kLayout, {use(book.title), use(book.author), use(book.note)}) {
    testPictureDirectory();
}

void SampleListing::setBook(int n) {
    book.title = sampleTitle(n);
    book.author = "Author " + std::to_string(n);
    book.note = sampleNote(n);
}

void SampleListing::preview(int books, const QString& pdf) {
    report.printToFile(pdf);
    OPEN(report);
    PROP(report, ReportProp::Text) = "Sample listing";
    PROP(report, ReportProp::Preview) = previewQueue(pages, page.image);
    for (int n = 1; n <= books; ++n) {
        setBook(n);
        PRINT(report, kDetailBand);
    }
    ENDPAGE(report);
}

std::vector<std::string> SampleListing::pageFiles() {
    std::vector<std::string> files;
    for (std::uint32_t i = 1; i <= pages.recordCount(); ++i) {
        pages.selectReadingEntry(i);
        std::string name(pages.readingText(1));
        while (!name.empty() && name.back() == ' ')
            name.pop_back();
        files.push_back(name);
    }
    return files;
}

std::vector<std::string> pageTexts(const std::string& file) {
    std::vector<std::string> texts;
    const auto page = loadPageImageFile(QString::fromStdString(file));
    if (!page) return texts;
    for (const auto& step : page->steps) {
        if (const auto* text = std::get_if<report::PageStep::Text>(&step))
            texts.push_back(text->text);
    }
    return texts;
}

std::vector<PlacedText> pageTextPlaces(const std::string& file) {
    std::vector<PlacedText> places;
    const auto page = loadPageImageFile(QString::fromStdString(file));
    if (!page) return places;
    const double points = 72.0 / page->header.unitsPerInch;
    bool left = true;
    for (const auto& step : page->steps) {
        if (const auto* align = std::get_if<report::PageStep::TextAlignment>(&step))
            left = (align->align & report::TextAlign::kHorizontalMask) == report::TextAlign::kLeft;
        if (const auto* text = std::get_if<report::PageStep::Text>(&step)) {
            places.push_back({text->text, text->text.substr(0, text->text.find(' ')), left,
                              text->x * points, text->y * points});
        }
    }
    return places;
}

std::vector<PdfWord> pdfWords(const QString& pdf) {
    std::vector<PdfWord> words;
    const QString xhtml = QString::fromStdString(runTool("pdftotext", {"-bbox", pdf, "-"}));
    static const QRegularExpression pattern(
        R"re(<page |<word xMin="([0-9.]+)" yMin="([0-9.]+)"[^>]*>([^<]*)</word>)re");
    int page = 0;
    for (auto it = pattern.globalMatch(xhtml); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.captured(0) == "<page ") {
            ++page;
            continue;
        }
        words.push_back({page, match.captured(3).toStdString(), match.captured(1).toDouble(),
                         match.captured(2).toDouble()});
    }
    return words;
}

std::string runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput().toStdString();
}

}  // namespace quillery::testing
