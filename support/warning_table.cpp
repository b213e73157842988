// The standard warnings' wording. The texts are the program's own and are kept word for word,
// double blanks and all.
#include "support/warning_table.h"

#include "runtime/window/message_box.h"

namespace quillery {
namespace {

using enum WarningCondition;
using enum WarningResult;
constexpr WarningIcon kWarn = WarningIcon::Warning;
constexpr WarningIcon kQuest = WarningIcon::Question;
constexpr int kOK = BUTTON::OK;
constexpr int kYesNo = BUTTON::Yes | BUTTON::No;
constexpr int kYesNoCancel = BUTTON::Yes | BUTTON::No | BUTTON::Cancel;
constexpr int kOKCancel = BUTTON::OK | BUTTON::Cancel;
constexpr int kRetryCancel = BUTTON::Retry | BUTTON::Cancel;
constexpr std::string_view kNoEnd;

constexpr WarningRow kRows[] = {
    {1, Always, "Invalid File", kWarn, kOK, kOK,
     "Error: ({E}) accessing {T1}.  Press OK to end this application.", End, "Invalid File!"},
    {2, Always, "Invalid Key", kQuest, kYesNo, BUTTON::Yes,
     "{T1} key file is invalid.  Do you want to rebuild the key?", EndOnNo, "Invalid Key!"},
    {3, Always, "Key Rebuild Error", kWarn, kOK, kOK,
     "Error: ({E}) repairing key for {T1}.  Press OK to end this application.", End,
     "Error Rebuilding Key!"},
    {4, Always, "File Creation Error", kWarn, kOK, kOK,
     "Error: ({E}) creating {T1}.  Press OK to end this application.", End, "File Creation Error!"},
    {5, Always, "File Creation Error", kWarn, kOK, kOK,
     "Error: ({E}) opening created file:{T1}.  Press OK to end this application.", End,
     "File Creation Error!"},
    {6, Always, "Procedure not defined", kWarn, kOK, kOK,
     "The Procedure {T1} has not been defined.", Button, kNoEnd},
    {7, Always, "", kWarn, kOK, 0, "Unable to read keyed record.  Error: {E}.  Insert Aborted",
     Button, kNoEnd},
    {8, Always, "Range Error", kWarn, kOK, kOK, "The value of {T1} must be lower than {T2}.",
     Button, kNoEnd},
    {9, Always, "Range Error", kWarn, kOK, kOK, "The value of {T1} must be higher than {T2}.",
     Button, kNoEnd},
    {10, Always, "Range Error", kWarn, kOK, kOK, "The value of {T1} must be between {T2}.", Button,
     kNoEnd},
    {11, Always, "Field Contents Error", kWarn, kOK, kOK,
     "The value for {T1} must be found in the {T2} file.", Button, kNoEnd},
    {12, Always, "Referential Integrity Update Error", kWarn, kOK, kOK,
     "This record is referenced from the file {T1}.  Linking field(s) have been restricted "
     "from change and have been reset to original values.",
     Button, kNoEnd},
    {13, Always, "Referential Integrity Delete Error", kWarn, kOK, kOK,
     "This record is referenced from the file {T1}.  This record cannot be deleted while these "
     "references exist.",
     Button, kNoEnd},
    {14, Always, "Record Insert Error", kWarn, kOK, kOK,
     "An error was experienced during the update of record.  Error: {E}.", Button, kNoEnd},
    {15, ErrorIsNoneOrChanged, "Update Operation Error", kWarn, kOK, kOK,
     "This record was changed by another station.", Button, kNoEnd},
    {15, Always, "Update Operation Error", kWarn, kOK, kOK,
     "An error ({E}) was experienced when attempting to update a record from the file.  "
     "Probable Cause: {T1}.",
     Button, kNoEnd},
    {16, Always, "Record Update Error", kWarn, kYesNoCancel, BUTTON::Cancel,
     "An error was experienced changing this record.  Do you want to try to save again?", Button,
     kNoEnd},
    {17, Always, "Delete Operation Error", kWarn, kOK, kOK,
     "An error ({E}) was experienced when attempting to delete a record from the file {T1}.",
     Button, kNoEnd},
    {18, Always, "Record Update Error", kWarn, kYesNoCancel, BUTTON::Cancel,
     "An error was experienced deleting this record.  Do you want to try to save again?", Button,
     kNoEnd},
    {19, Always, "Invalid Request", kWarn, kOK, kOK,
     "This procedure was called to insert a record, however inserts are not allowed for this "
     "procedure.  Press OK to return to the calling procedure",
     Button, kNoEnd},
    {20, Always, "Invalid Request", kWarn, kOK, kOK,
     "This procedure was called to change a record, however changes are not allowed for this "
     "procedure.  Press OK to return to the calling procedure",
     Button, kNoEnd},
    {21, Always, "Invalid Request", kWarn, kOK, kOK,
     "This procedure was called to delete a record, however deletions are not allowed for this "
     "procedure.  Press OK to return to the calling procedure",
     Button, kNoEnd},
    {22, Always, "File Creation Not Allowed", kWarn, kOK, kOK,
     "The File {T1}was not found, and creation of the file is not allowed.  Press OK to end "
     "this application.",
     End, "File Creation Error!"},
    {23, Always, "Update Cancelled", kQuest, kYesNo, BUTTON::No, "Are you sure you want to cancel?",
     Button, kNoEnd},
    {24, Always, "Duplicate Key Error", kWarn, kOK, kOK,
     "Adding this record creates a duplicate entry for the key:{T1}", Button, kNoEnd},
    {25, Always, "Auto Increment Error", kWarn, kRetryCancel, BUTTON::Cancel,
     "Attempts to automatically number this record have failed.  Error: {E}.", Button, kNoEnd},
    {26, Always, "File Load Error", kWarn, kOK, kOK, "{T1} File Load Error.  Error: {E}.", Button,
     kNoEnd},
    {27, Always, "Cancel Request", kQuest, kOKCancel, BUTTON::Cancel,
     "Are you certain you want to stop loading {T1}?", Button, kNoEnd},
    {28, Always, "File Load Error", kWarn, kOK, kOK,
     "{T1} File Load Error.  The file you've requested contains no text.", Button, kNoEnd},
    {29, Text1IsDown, "End of File Error", kQuest, kYesNo, BUTTON::Yes,
     "The end of the viewed file was encountered.  Do you want to start again from the "
     "beginning?",
     Button, kNoEnd},
    {29, Always, "Beginning of File Error", kQuest, kYesNo, BUTTON::Yes,
     "The beginning of the viewed file was encountered.  Do you want to start again from the "
     "end of the file?",
     Button, kNoEnd},
    {30, Always, "File Access Error", kWarn, kOK, kOK,
     "File ({T1}) could not be opened.  Error: {E}.", Button, kNoEnd},
    {31, Text1IsPut, "Process PUT Error", kWarn, kOK, kOK,
     "An error was experienced when making changes to the {T2} file.  Error: {E}", Button, kNoEnd},
    {31, Always, "Process DELETE Error", kWarn, kOK, kOK,
     "An error was experienced when deleting a record from the {T2} file.  Error: {E}", Button,
     kNoEnd},
    {32, Always, "Confirm Delete", kQuest, kOKCancel, BUTTON::Cancel,
     "You've selected to delete the highlighted record.  Press OK to confirm deletion of this "
     "record.",
     Button, kNoEnd},
    {33, Always, "Update Cancelled", kQuest, kYesNoCancel, BUTTON::No,
     "Do you want to save the changes to this record?", Button, kNoEnd},
    {34, Always, "Transaction Framing Error", kWarn, kOK, kOK,
     "Error: ({E}) attempting to frame the {t1} transaction on {T2}.  {T1} transaction cancelled.",
     Zero, kNoEnd},
    {35, Always, "Record Retrieval Error", kWarn, kOK, kOK,
     "Error: ({E}) attempting to access a record from the {T1} file.  Returning to previous "
     "window.",
     Zero, kNoEnd},
    {36, Always, "View Open Error", kWarn, kOK, kOK,
     "Error: ({E}) attempting to open the current VIEW. Filter and Range Limits ignored.", Zero,
     kNoEnd},
    {37, Always, "Record Added", kQuest, kYesNo, BUTTON::Yes,
     "This record has been added to the file. Do you want to add another record?", Button, kNoEnd},
    {38, Always, "Record Was Not Updated", kWarn, kOK, kOK,
     "This record was changed by another station. Those changes will now be displayed. Use the "
     "Ditto Button or Ctrl+' to recall your changes.",
     Button, kNoEnd},
};

}  // namespace

std::span<const WarningRow> warningRows() {
    return kRows;
}

}  // namespace quillery
