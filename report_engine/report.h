// Reports: printed layouts built like windows. A report is created from a stored layout with
// its use variables, opened, fed one band at a time and closed:
//
//     Report REPORT(kAuthorReportLayout, {use(QLY.LASTNAME), use(QLY.FIRSTNAME), ...});
//     OPEN(REPORT);
//     PROP(REPORT, ReportProp::Preview) = previewQueue(PRINTPREVIEWQUEUE, PRINTPREVIEWIMAGE);
//     for each record: PRINT(REPORT, DETAIL);
//     ENDPAGE(REPORT);
//     ... show the page image files named in PRINTPREVIEWQUEUE (image controls show them) ...
//     if (print) PROP(REPORT, ReportProp::Flush) = 1;
//     CLOSE(REPORT);  // deletes the page image files
//
// The layout's own rectangle is the detail area (thousandths of an inch from the top left of
// the printable area). Its controls are bands (ControlKind::Detail, Header, Footer, Form) each
// followed by the controls printed with it, positioned from the band's top left; header,
// footer and form bands print at their own position, detail bands are named by their field
// number and stacked in the detail area. Band flags: kKeepWithNext and kKeepEnd open and close
// keep-together groups, kNoVerticalSpace, kAcross, and kSuppressHeaderFooter (on the first band
// of a page: no form and header; on the last: no footer).
#pragma once

#include <QString>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "runtime/fixed_string.h"
#include "runtime/window/layout.h"
#include "runtime/window/use_variable.h"
#include "runtime/window/window.h"

namespace quillery {

class Queue;
class ReportImpl;

// Runtime errors of reports.
namespace ReportError {
inline constexpr int kEventPostedToReport = 522;  // "Event posted to a report control"
inline constexpr int kRecordTooLarge = 523;       // "Metafile record too large in report"
inline constexpr int kPrinterDevice = 524;        // "Unexpected error opening printer device"
inline constexpr int kAlreadyOpen = 525;          // "Report is already open"
inline constexpr int kPrintNeedsReport = 538;     // "PRINT must only be called for reports"
inline constexpr int kEndPageNeedsReport = 539;   // "ENDPAGE must only be called for reports"
}  // namespace ReportError

enum class ReportProp : int {
    Text = 0x7C00,     // document name of the print job
    Preview = 0x7C53,  // the queue and field that receive one page image file per page
    Flush = 0x7C54,    // 1: preview off, the previewed pages printed; reads 1 when preview is off
};

// A queue and one of its text fields, as report{0x7C53} takes them.
struct PreviewQueue {
    Queue* queue = nullptr;
    UseVariable field;
};
template <std::size_t N>
PreviewQueue previewQueue(Queue& queue, FixedString<N>& field) {
    return {&queue, use(field)};
}

class Report {
  public:
    // Builds the report from `layout` (closed) with its use variables in the layout's order.
    Report(const WindowLayout& layout, std::initializer_list<UseVariable> uses = {});
    Report(const WindowLayout& layout, std::vector<UseVariable> uses);
    ~Report();  // closes it
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    std::string name() const;  // "AUTHORREPORT$REPORT"
    bool isOpen() const;

    // Sends the pages to the PDF file `path` instead of the system's printer, with no dialog:
    // for command-line callers. Takes effect at the next OPEN.
    void printToFile(const QString& path);

    // Pages ended so far since OPEN.
    int pageCount() const;
    // The error that stopped page images being kept (posted as the current error when it
    // happened): 0, 524 (no usable printer), or the error of a page image file that could not
    // be written.
    // Once set, later bands are not composed: the caller should warn instead of previewing.
    int pageError() const;
    // The print job could not be started (524 was posted), or a step of it failed (a PDF is
    // then not written at all); known once the report is closed.
    bool printFailed() const;
    // What stopped the page images or the print job, naming the file or folder and the
    // operating system's reason; empty when nothing failed or the user cancelled.
    std::string failure() const;

    // The PDF is never written over `path` (the catalogue being printed), whatever name the
    // output is given. Takes effect at the next OPEN.
    void protectFile(const std::string& path);
    // An existing file that is not a PDF may be replaced by the PDF. Takes effect at the next
    // OPEN.
    void allowReplacingAnyFile(bool allow);

    ReportImpl& impl() { return *impl_; }

  private:
    std::unique_ptr<ReportImpl> impl_;
};

// Selects the printer and prepares the page. 525 (fatal) when the report is open already; 524
// posted when the printer cannot be used.
void OPEN(Report& report);
// Composes detail band `band` onto the page. The report must be open (536, fatal).
void PRINT(Report& report, int band);
// Ends the current page. The report must be open (536, fatal).
void ENDPAGE(Report& report);
// Ends the print job if one was started (a PDF is put in place only if every step of the job
// succeeded; printFailed() tells) and deletes the page image files, last first.
void CLOSE(Report& report);

// Bands and pages belong to reports: on a window these are fatal errors 538 and 539.
void PRINT(Window& window, int band);
void ENDPAGE(Window& window);
// Report controls take no events: fatal error 522.
void POST(Report& report, EventCode event, int field = 0);

class ReportPropertyRef {
  public:
    ReportPropertyRef(Report& report, ReportProp prop) : report_(report), prop_(prop) {}
    ReportPropertyRef& operator=(const PropValue& value);
    ReportPropertyRef& operator=(const PreviewQueue& queue);
    PropValue get() const;
    operator std::string() const { return get().text(); }               // NOLINT
    operator int() const { return static_cast<int>(get().integer()); }  // NOLINT

  private:
    Report& report_;
    ReportProp prop_;
};

ReportPropertyRef PROP(Report& report, ReportProp prop);

}  // namespace quillery
