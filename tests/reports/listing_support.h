// Test helpers for the listings: catalogues of numbered books, a private temporary folder for
// the page image files, and the pages of a PDF.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <optional>
#include <string>
#include <vector>

#include "app/catalogue_globals.h"
#include "app/catalogue_use_count.h"
#include "report_engine/report_options.h"
#include "tests/app/window/main_window_support.h"
#include "tests/common/sample_report.h"  // pageTexts

namespace quillery::testing {

inline constexpr char kAuthorProgress[] = "AUTHORREPORT$PROGRESSWINDOW";
inline constexpr char kPreview[] = "REPORTPREVIEW$WINDOW";

// Book n (from 1): authors sort in the order of n, titles in the reverse order.
QuilleryRecord numberedBook(int n);
std::vector<QuilleryRecord> numberedBooks(int count);

// The text of each page of a PDF file; none when it cannot be read.
std::vector<std::string> pdfPages(const std::string& pdf);

// Each test works in a folder of its own with its own temporary folder for page images.
class ListingTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the catalogue "C.QLY" with `books` and names it as the program's catalogue.
    void useCatalogue(const std::vector<QuilleryRecord>& books);
    // Page images are made in `folder` until the test ends (the temporary folder to begin with).
    void usePageFolder(const QString& folder);
    // The files left in the temporary folder.
    QStringList temporaryFiles() const;
    std::string path(const std::string& name) const;

    QTemporaryDir folder_;
    QTemporaryDir temp_;
    QString previousDir_;
    std::optional<ScopedReportOptions> pageFolder_;
};

}  // namespace quillery::testing
