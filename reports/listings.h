// The thirteen listings of the catalogue. Each reads the books in the order of its key behind a
// progress window, previews the pages and prints them on the user's word; GLOBALRESPONSE is 1
// when the whole catalogue was read, 2 when the listing was cancelled or had nothing to print.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quillery {

void AUTHORREPORT();
void TITLEREPORT();
void LOCATIONREPORT();
void CATEGORYREPORT();
void RANKINGREPORT();
void CONDITIONREPORT();
void VALUEREPORT();
void ISBNREPORT();
void EDITIONREPORT();
void PUBDATEREPORT();
void BUYDATEREPORT();
void PRINTDATEREPORT();
void OTHERREPORT();

// The report procedure itself, for listing `listing` of the listing table: how a front end runs
// a listing by its number.
// Requires: listing < kListingCount.
void runReportProcedure(std::size_t listing);

// The share of the file's records read, in whole percent: the fraction is dropped (two thirds
// is 66), never more than 100, and 100 for a file with no records.
int percentRead(std::int32_t read, std::int32_t records);

namespace progresswindow {
enum Field : int {
    PROGRESS_THERMOMETER = 1,
    PROGRESS_USERSTRING,
    PROGRESS_PCTTEXT,
    PROGRESS_CANCEL
};
}  // namespace progresswindow

}  // namespace quillery
