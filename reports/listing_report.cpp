// A listing's report over the shared record buffer.
#include "reports/listing_report.h"

#include "reports/listing_layout.h"
#include "reports/listing_table.h"

namespace quillery {

std::string PageImageQueue::pageFile(std::size_t page) {
    if (page == 0 || page > queue.records()) return {};
    queue.get(static_cast<std::int64_t>(page));
    return entry.PRINTPREVIEWIMAGE.str();
}

std::vector<std::string> PageImageQueue::pageFiles() {
    std::vector<std::string> files;
    for (std::size_t page = 1; page <= pageCount(); ++page)
        files.push_back(pageFile(page));
    return files;
}

ListingReport::ListingReport(std::size_t listing)
    : listing_(listing), report_(listingReportLayout(listing), listingReportUses()) {}

void ListingReport::open(bool preview) {
    OPEN(report_);
    const Listing& listing = listingTable()[listing_];
    PROP(report_, ReportProp::Text) =
        std::string(listing.title) + " " + std::string(listing.subtitle);
    if (preview)
        PROP(report_, ReportProp::Preview) =
            previewQueue(pages_.queue, pages_.entry.PRINTPREVIEWIMAGE);
}

void ListingReport::printBook() {
    PRINT(report_, kListingDetail);
}

void ListingReport::end() {
    ENDPAGE(report_);
}

}  // namespace quillery
