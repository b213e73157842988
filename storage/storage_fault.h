// Structural faults of the page layer. A failed check is unrecoverable: it goes to the runtime's
// fatal report as "Internal error : vltbt line N", N naming the check, and nothing is repaired.
// A program that owns nothing but the file it was asked about (the command-line tool) may end
// instead with words of its own about the damage.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace quillery::storage {

// The numbers shown after "vltbt line". Stable: users quote them in fault reports.
enum class FaultCheck : int {
    kShortRead = 101,                 // a read transferred fewer bytes than asked
    kShortWrite = 102,                // a write transferred fewer bytes than asked
    kTransferNotBlockMultiple = 103,  // a transfer not a whole number of 64-byte blocks
    kPageOutsideZones = 110,          // a page number in no zone
    kPageSizeAgainstZone = 111,       // stored length rounded up differs from the zone's page size
    kPageOffsetField = 112,           // the page's own offset field is wrong
    kPageHeaderLengths = 113,         // stored/uncompressed/fill lengths inconsistent
    kDecompression = 114,             // the compressed body does not decode
    kDecodedLength = 115,             // decoded entries do not fill the uncompressed length exactly
    kEntryEncoding = 116,             // an entry's flags or lengths are impossible
    kEntryOrder = 117,                // entries of a page out of order
    kTreeLevel = 120,                 // a child page on the wrong level
    kTreeSeparator = 121,             // a parent's child pointer does not lead where it should
    kTreeEmptyPage = 122,             // an index page without entries below the root
    kEntryTooLong = 130,              // an entry or key over its limit
    kPageTooLong = 131,               // a page over 0x3B00 bytes after compression
    kNumberExhausted = 140,           // a record or table number past 0xFDFFFFFF
    kPendingLog = 150,                // the pending log's blocks are malformed
    kUnplacedPage = 160,              // a temporary page number reached the disk
    kKeyUndo = 170,                   // a refused change could not put back the keys it changed
};

// What the engine knows of a fault: the check, and the page it concerns (-1: none in particular).
struct StorageFault {
    FaultCheck check;
    std::int64_t page = -1;
};

// The report's text for `check`.
std::string faultText(FaultCheck check);
// What the check found, in words: "a page's compressed body does not decode".
std::string_view faultDescription(FaultCheck check);
// The fault in a person's words, with its page: "page 12: its compressed body does not decode".
// The check's number stays for the fatal report of a program that cannot carry on.
std::string faultSummary(const StorageFault& fault);

// Reports `check` (about `page`, when known) through the options' fault handler
// (StorageOptions::faultHandler) or the runtime's fatal report. Does not return.
[[noreturn]] void storageFault(FaultCheck check, std::int64_t page = -1);

}  // namespace quillery::storage
