// Structural faults of the page layer go to the runtime's fatal report, or to the handler a
// program installed in its place.
#include "storage/storage_fault.h"

#include "runtime/fatal.h"
#include "storage/storage_options.h"

namespace quillery::storage {

std::string faultText(FaultCheck check) {
    return "Internal error : vltbt line " + std::to_string(static_cast<int>(check));
}

std::string_view faultDescription(FaultCheck check) {
    switch (check) {
        case FaultCheck::kShortRead:
            return "a read found fewer bytes than the file should hold";
        case FaultCheck::kShortWrite:
            return "a write transferred fewer bytes than asked";
        case FaultCheck::kTransferNotBlockMultiple:
            return "a transfer is not a whole number of blocks";
        case FaultCheck::kPageOutsideZones:
            return "a page number lies outside every zone";
        case FaultCheck::kPageSizeAgainstZone:
            return "its stored length does not match its zone";
        case FaultCheck::kPageOffsetField:
            return "its offset field is wrong";
        case FaultCheck::kPageHeaderLengths:
            return "its length fields are inconsistent";
        case FaultCheck::kDecompression:
            return "its compressed body does not decode";
        case FaultCheck::kDecodedLength:
            return "its entries do not fill its length";
        case FaultCheck::kEntryEncoding:
            return "its entries do not decode";
        case FaultCheck::kEntryOrder:
            return "its entries are out of order";
        case FaultCheck::kTreeLevel:
            return "a page lies on the wrong level of the tree";
        case FaultCheck::kTreeSeparator:
            return "a page's parent does not lead to it";
        case FaultCheck::kTreeEmptyPage:
            return "an index page holds no entries";
        case FaultCheck::kEntryTooLong:
            return "an entry is over its limit";
        case FaultCheck::kPageTooLong:
            return "a page is over its limit";
        case FaultCheck::kNumberExhausted:
            return "the record numbers are used up";
        case FaultCheck::kPendingLog:
            return "the pending log of an unfinished commit is malformed";
        case FaultCheck::kUnplacedPage:
            return "a page without a place reached the disk";
        case FaultCheck::kKeyUndo:
            return "the keys of a refused change could not be put back";
    }
    return "a structural check failed";
}

std::string faultSummary(const StorageFault& fault) {
    std::string text;
    if (fault.page >= 0) text = "page " + std::to_string(fault.page) + ": ";
    text += faultDescription(fault.check);
    return text;
}

void storageFault(FaultCheck check, std::int64_t page) {
    // A copy: the handler may install other options while it runs.
    if (const auto handler = storageOptions().faultHandler) handler(StorageFault{check, page});
    // A handler that returned leaves the fault to the fatal report after all.
    fatalError(faultText(check));
}

}  // namespace quillery::storage
