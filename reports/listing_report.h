// One listing's report with its page-image queue: opened in preview mode, one detail band per
// book printed from the record buffer QLY, and the page image files named in the queue. The
// windowed listing and the command-line print share it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "app/quillery_record.h"
#include "report_engine/report.h"
#include "runtime/fixed_string.h"
#include "runtime/queue.h"

namespace quillery {

// One entry of the page-image queue: the name of one page image file.
struct PageImageEntry {
    FixedString<80> PRINTPREVIEWIMAGE;
};

// `PRINTPREVIEWQUEUE` with its record buffer: the page image files in page order.
struct PageImageQueue {
    PageImageEntry entry;
    Queue queue{entry, {&PageImageEntry::PRINTPREVIEWIMAGE}};

    std::size_t pageCount() { return queue.records(); }
    // The clipped file name of page `page` (from 1); empty past the end.
    std::string pageFile(std::size_t page);
    std::vector<std::string> pageFiles();
};

// Whether a record read through a listing's key belongs in the listing: versions kept only for
// undo (superseded or deleted entries) are not part of the collection.
inline bool isListed(const QuilleryRecord& record) {
    return record.DELETED == 0;
}

class ListingReport {
  public:
    // Requires: listing < kListingCount.
    explicit ListingReport(std::size_t listing);

    // Opens the report, the print job named after the listing: in preview mode over `pages`,
    // or, when no one looks at the pages first, straight to the printer page by page.
    void open(bool preview = true);
    // Prints the detail band for the book in QLY.
    void printBook();
    // Ends the last page.
    void end();

    Report& report() { return report_; }
    PageImageQueue& pages() { return pages_; }

  private:
    std::size_t listing_;
    PageImageQueue pages_;
    Report report_;
};

}  // namespace quillery
