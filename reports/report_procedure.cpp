// The report procedure every listing runs: the catalogue read through the listing's key in
// batches on the progress window's timer, so Cancel is honoured between batches; then the
// preview, and printing when the user asks for it.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

#include "app/catalogue_globals.h"
#include "app/catalogue_use_count.h"
#include "app/quillery_file.h"
#include "reports/listing_report.h"
#include "reports/listing_table.h"
#include "reports/listings.h"
#include "reports/report_preview.h"
#include "runtime/codepage.h"
#include "runtime/errors.h"
#include "runtime/window/message_box.h"
#include "runtime/window/window.h"
#include "support/check_open.h"
#include "support/request_globals.h"
#include "support/standard_warning.h"

namespace quillery {

namespace P = progresswindow;

namespace {

constexpr std::int32_t kRecordsPerCycle = 25;
constexpr int kShortestTimer = 1;  // hundredths of a second
constexpr int kRecordRetrievalError = 35;
constexpr int kViewOpenError = 36;
constexpr char kCatalogueName[] = "Quillery";
constexpr char kPrintCaption[] = "Print";

constexpr ControlLayout kProgressControls[] = {
    {.kind = ControlKind::Progress,
     .field = P::PROGRESS_THERMOMETER,
     .at = {15, 15, 111, 12},
     .use = 1,
     .low = 0,
     .high = 100},
    {.kind = ControlKind::String,
     .field = P::PROGRESS_USERSTRING,
     .at = {0, 3, 141, 10},
     .flags = ControlFlag::kCenter},
    {.kind = ControlKind::String,
     .field = P::PROGRESS_PCTTEXT,
     .at = {0, 30, 141, 10},
     .flags = ControlFlag::kCenter},
    {.kind = ControlKind::Button,
     .field = P::PROGRESS_CANCEL,
     .text = "Cancel",
     .at = {45, 42, 50, 15}},
};

const WindowLayout& progressLayout(std::size_t listing) {
    static const auto layouts = [] {
        std::array<WindowLayout, kListingCount> all;
        for (std::size_t i = 0; i < kListingCount; ++i) {
            all[i] = WindowLayout{.module = listingTable()[i].procedure,
                                  .structure = "PROGRESSWINDOW",
                                  .text = "Progress...",
                                  .at = {0, 0, 142, 59},
                                  .flags = WindowFlag::kCentered,
                                  .timer = kShortestTimer,
                                  .controls = kProgressControls};
        }
        return all;
    }();
    return layouts[listing];
}

// A failure text as a message box shows it: a sentence with a capital.
std::string sentence(std::string text) {
    if (!text.empty() && text.front() >= 'a' && text.front() <= 'z')
        text.front() = static_cast<char>(text.front() - 'a' + 'A');
    return text.ends_with('.') ? text : text + ".";
}

// "  7% Completed": the percentage right-aligned in three places.
std::string percentText(int percent) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%3d", percent);
    return std::string(digits) + "% Completed";
}

// What the reading says of the record at hand.
enum class RecordStatus : std::uint8_t {
    Print,        // a book of the listing
    ReadingEnds,  // the key has no more records
    PassOver,     // a superseded version, or a book whose listed field is blank
};

// How the reading stands: a record at hand (and, once the window closes, every book read), or
// stopped: cancelled, or nothing more to read.
enum class Response : std::int32_t {
    None = 0,
    Completed = RequestCompleted,
    Cancelled = RequestCancelled,
};

// The state of one running listing.
class ReportProcedure {
  public:
    explicit ReportProcedure(std::size_t listing) : listing_(listing), report_(listing) {}

    void run();

  private:
    void GETNEXTRECORD();
    void VALIDATERECORD();
    // Reads until a record to print is at hand or the reading ends.
    void readToNextBook();
    void firstRecord();
    void batch();
    void closing();
    void previewAndPrint();

    std::size_t listing_;
    std::int32_t LOCALREQUEST = 0;
    Response LOCALRESPONSE = Response::None;
    bool FILESOPENED = false;
    std::int32_t RECORDSTOPROCESS = 0;
    std::int32_t RECORDSPROCESSED = 0;
    std::int32_t RECORDSPERCYCLE = 0;
    std::uint8_t PERCENTPROGRESS = 0;
    std::uint8_t PROGRESS_THERMOMETER = 0;
    RecordStatus RECORDSTATUS = RecordStatus::Print;
    bool reportOpened_ = false;
    bool nothingListed_ = false;  // the key held no book to print
    ListingReport report_;
};

void ReportProcedure::run() {
    LOCALREQUEST = GLOBALREQUEST;
    LOCALRESPONSE = Response::Cancelled;
    GLOBALREQUEST = 0;
    GLOBALRESPONSE = 0;
    if (QUILLERY_USED == 0) CHECKOPEN(QUILLERY, 1);
    ++QUILLERY_USED;
    FILESOPENED = true;
    RECORDSTOPROCESS = static_cast<std::int32_t>(RECORDS(QUILLERY));
    RECORDSPERCYCLE = kRecordsPerCycle;
    RECORDSPROCESSED = 0;
    PERCENTPROGRESS = 0;

    Window PROGRESSWINDOW(progressLayout(listing_), {use(PROGRESS_THERMOMETER)});
    OPEN(PROGRESSWINDOW);
    PROGRESS_THERMOMETER = 0;
    PROP(P::PROGRESS_PCTTEXT, Prop::Text) = "0% Completed";
    PROP(0, Prop::Text) = "Generating Report";
    PROP(P::PROGRESS_USERSTRING, Prop::Text) = "";
    SEND(QUILLERY, "QUICKSCAN=on");
    while (ACCEPT(PROGRESSWINDOW)) {
        switch (EVENT()) {
            case EVENT::OpenWindow:
                firstRecord();
                break;
            case EVENT::Timer:
                if (reportOpened_) batch();
                break;
            default:
                break;
        }
        if (EVENT() == EVENT::Accepted && FIELD() == P::PROGRESS_CANCEL) {
            LOCALRESPONSE = Response::Cancelled;
            POST(EVENT::CloseWindow);
        }
    }
    CLOSE(PROGRESSWINDOW);
    SEND(QUILLERY, "QUICKSCAN=off");
    if (LOCALRESPONSE == Response::Completed) previewAndPrint();
    if (LOCALRESPONSE == Response::Cancelled && nothingListed_)
        MESSAGE(nothingToPrintText(listingTable()[listing_]), kPrintCaption, ICON::Information);
    CLOSE(report_.report());
    if (report_.report().printFailed() && !report_.report().failure().empty())
        MESSAGE(sentence(report_.report().failure()), kPrintCaption, ICON::Exclamation);
    report_.pages().queue.free();
    closing();
}

void ReportProcedure::previewAndPrint() {
    Report& report = report_.report();
    report_.end();
    // Pages that could not all be kept are not previewed as if they were the listing.
    if (report.pageError() != 0) {
        MESSAGE(sentence(report.failure()), kPrintCaption, ICON::Exclamation);
        return;
    }
    REPORTPREVIEW(report_.pages());
    if (GLOBALRESPONSE == RequestCompleted) PROP(report, ReportProp::Flush) = 1;
}

void ReportProcedure::firstRecord() {
    SET(keyOf(QUILLERY, listingTable()[listing_].key));
    if (errorCode() != 0) STANDARDWARNING(kViewOpenError);
    readToNextBook();
    if (LOCALRESPONSE == Response::Cancelled) {
        nothingListed_ = true;
        POST(EVENT::CloseWindow);
        return;
    }
    // The PDF a user names is never the catalogue being printed.
    report_.report().protectFile(cp1252ToUtf8(QUILLERYFILE.str()));
    report_.open();
    reportOpened_ = true;
}

void ReportProcedure::batch() {
    for (std::int32_t n = 0; n < RECORDSPERCYCLE; ++n) {
        report_.printBook();
        readToNextBook();
        if (LOCALRESPONSE == Response::Cancelled) {
            LOCALRESPONSE = Response::Completed;
            break;
        }
        LOCALRESPONSE = Response::Cancelled;
    }
    if (LOCALRESPONSE == Response::Completed) {
        // Nothing more to read: later timer events must not print the last book again.
        reportOpened_ = false;
        POST(EVENT::CloseWindow);
    }
}

void ReportProcedure::readToNextBook() {
    do {
        GETNEXTRECORD();
        VALIDATERECORD();
    } while (RECORDSTATUS == RecordStatus::PassOver);
    if (RECORDSTATUS == RecordStatus::ReadingEnds) LOCALRESPONSE = Response::Cancelled;
}

void ReportProcedure::GETNEXTRECORD() {
    NEXT(QUILLERY);
    if (errorCode() != 0) {
        if (errorCode() != ErrorCode::kRecordNotAvailable)
            STANDARDWARNING(kRecordRetrievalError, kCatalogueName);
        LOCALRESPONSE = Response::Cancelled;
        return;
    }
    LOCALRESPONSE = Response::Completed;
    ++RECORDSPROCESSED;
    if (PERCENTPROGRESS >= 100) return;
    PERCENTPROGRESS = static_cast<std::uint8_t>(percentRead(RECORDSPROCESSED, RECORDSTOPROCESS));
    if (PERCENTPROGRESS != PROGRESS_THERMOMETER) {
        PROGRESS_THERMOMETER = PERCENTPROGRESS;
        PROP(P::PROGRESS_PCTTEXT, Prop::Text) = percentText(PERCENTPROGRESS);
        DISPLAY();
    }
}

void ReportProcedure::VALIDATERECORD() {
    RECORDSTATUS = RecordStatus::ReadingEnds;
    if (LOCALRESPONSE == Response::Cancelled) return;
    RECORDSTATUS = isListed(QLY) ? RecordStatus::Print : RecordStatus::PassOver;
}

void ReportProcedure::closing() {
    if (FILESOPENED) {
        --QUILLERY_USED;
        if (QUILLERY_USED == 0) CLOSE(QUILLERY);
    }
    GLOBALRESPONSE = LOCALRESPONSE != Response::None ? static_cast<std::int32_t>(LOCALRESPONSE)
                                                     : RequestCancelled;
}

}  // namespace

int percentRead(std::int32_t read, std::int32_t records) {
    if (records <= 0) return 100;
    return static_cast<int>(std::min<std::int64_t>(std::int64_t{read} * 100 / records, 100));
}

void runReportProcedure(std::size_t listing) {
    ReportProcedure(listing).run();
}

void AUTHORREPORT() {
    runReportProcedure(0);
}
void TITLEREPORT() {
    runReportProcedure(1);
}
void LOCATIONREPORT() {
    runReportProcedure(2);
}
void CATEGORYREPORT() {
    runReportProcedure(3);
}
void RANKINGREPORT() {
    runReportProcedure(4);
}
void CONDITIONREPORT() {
    runReportProcedure(5);
}
void VALUEREPORT() {
    runReportProcedure(6);
}
void ISBNREPORT() {
    runReportProcedure(7);
}
void EDITIONREPORT() {
    runReportProcedure(8);
}
void PUBDATEREPORT() {
    runReportProcedure(9);
}
void BUYDATEREPORT() {
    runReportProcedure(10);
}
void PRINTDATEREPORT() {
    runReportProcedure(11);
}
void OTHERREPORT() {
    runReportProcedure(12);
}

}  // namespace quillery
