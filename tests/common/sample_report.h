// A small listing for the report tests: a header with a picture, a title, a grey box with
// headings and the first title of the page; a detail band per book; a footer with the last
// title of the page and the page number. Five books fill a page.
#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "report_engine/report.h"
#include "runtime/fixed_string.h"
#include "runtime/queue.h"

namespace quillery::testing {

inline constexpr int kDetailBand = 1;

struct SampleBook {
    FixedString<30> title;
    FixedString<20> author;
    FixedString<200> note;
};

struct PreviewRecord {
    FixedString<80> image;
};

// The report's bound variables and its page queue.
struct SampleListing {
    SampleBook book;
    PreviewRecord page;
    Queue pages{page, {&PreviewRecord::image}};
    Report report;

    SampleListing();
    // Fills the book buffer with book number n (from 1).
    void setBook(int n);
    // Opens the report printing to `pdf`, previews `books` books and ends the last page.
    void preview(int books, const QString& pdf);
    // The page image files the queue names, in order.
    std::vector<std::string> pageFiles();
};

std::string sampleTitle(int n);
std::string sampleNote(int n);

// The texts of a page image file, in the order drawn.
std::vector<std::string> pageTexts(const std::string& file);

// Where a text of a page image starts, in points from the paper's top left.
struct PlacedText {
    std::string text;
    std::string firstWord;
    bool leftAligned = true;
    double xPoints = 0;
    double yPoints = 0;
};
std::vector<PlacedText> pageTextPlaces(const std::string& file);

// The words of a PDF file with the top left of each, in points.
struct PdfWord {
    int page = 0;  // from 1
    std::string text;
    double x = 0;
    double y = 0;
};
std::vector<PdfWord> pdfWords(const QString& pdf);

// Runs a command; its standard output, or nothing when it could not run or failed.
std::string runTool(const QString& program, const QStringList& arguments);

}  // namespace quillery::testing
