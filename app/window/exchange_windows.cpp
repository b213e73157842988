// The import and export windows of the main window.
#include "app/window/exchange_windows.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "app/catalogue_globals.h"
#include "app/exchange/exchange_format.h"
#include "app/exchange/isbn_review.h"
#include "app/quillery_file.h"
#include "app/window/catalogue_transaction.h"
#include "app/window/editing_cycle.h"
#include "app/window/isbn_questions.h"
#include "app/window/open_quillery.h"
#include "app/window/undo.h"
#include "runtime/codepage.h"
#include "runtime/dates.h"
#include "runtime/errors.h"
#include "runtime/window/file_dialog.h"
#include "runtime/window/message_box.h"
#include "runtime/window/window.h"
#include "storage/file_statements.h"
#include "support/check_error.h"

namespace quillery {

namespace I = importbooks;
namespace E = exportbooks;
namespace fs = std::filesystem;

namespace {

constexpr char kImportCaption[] = "Import Books";
constexpr char kExportCaption[] = "Export Books";
constexpr char kImportFilter[] = "Book exports (*.csv *.tsv *.txt *.json);;All files (*)";
constexpr char kWindowIcon[] = "book.bmp";

// The report as the window shows it; a very long one ends with how many lines are left out.
FixedString<4000> REPORTTEXT;
FixedString<200> SUMMARYTEXT;
std::int32_t FORMATCHOICE = 1;

constexpr ControlLayout kImportControls[] = {
    {.kind = ControlKind::String,
     .field = I::SUMMARY,
     .at = {6, 6, 288, 20},
     .picture = "s200",
     .use = 1},
    {.kind = ControlKind::Text,
     .field = I::REPORT,
     .at = {6, 28, 288, 130},
     .use = 2,
     .flags = ControlFlag::kVScroll | ControlFlag::kReadOnly},
    {.kind = ControlKind::Button,
     .field = I::IMPORT,
     .text = "&Import",
     .at = {194, 164, 48, 14},
     .flags = ControlFlag::kDefault},
    {.kind = ControlKind::Button, .field = I::CANCEL, .text = "Cancel", .at = {246, 164, 48, 14}},
};

constexpr ControlLayout kExportControls[] = {
    {.kind = ControlKind::Option,
     .field = E::FORMAT,
     .text = "Write the books as",
     .at = {6, 4, 150, 66},
     .use = 1},
    {.kind = ControlKind::Radio,
     .field = E::FIRSTFORMAT,
     .at = {14, 20, 136, 12},
     .parent = E::FORMAT},
    {.kind = ControlKind::Radio,
     .field = E::SECONDFORMAT,
     .at = {14, 34, 136, 12},
     .parent = E::FORMAT},
    {.kind = ControlKind::Radio,
     .field = E::THIRDFORMAT,
     .at = {14, 48, 136, 12},
     .parent = E::FORMAT},
    {.kind = ControlKind::Button,
     .field = E::OK,
     .text = "&OK",
     .at = {164, 8, 45, 14},
     .flags = ControlFlag::kDefault},
    {.kind = ControlKind::Button, .field = E::CANCEL, .text = "Cancel", .at = {164, 26, 45, 14}},
};

std::string fileNameOf(const std::string& path) {
    return fs::path(path).filename().string();
}

// The report lines as the text box's Windows-1252, cut to what it holds.
std::string reportText(const exchange::ExchangeImport& imported) {
    const std::vector<std::string>& lines = imported.report.lines();
    if (lines.empty()) return "Every book reads as it stands: no problems found.";
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string line = utf8ToCp1252(lines[i]) + "\r\n";
        const std::string rest = "... and " + std::to_string(lines.size() - i) +
                                 " more lines (quillery-data import "
                                 "--dry-run lists them all)";
        if (text.size() + line.size() + rest.size() > REPORTTEXT.size()) return text + rest;
        text += line;
    }
    return text;
}

// Shows what reading found; true when the user chose to import.
bool confirmImport(const std::string& path, exchange::ExchangeFormat format,
                   const exchange::ExchangeImport& imported) {
    // The report lines stand below the summary in this window.
    std::string summary = exchange::importSummary(format, imported);
    if (const std::size_t at = summary.rfind(" above"); at != std::string::npos) {
        summary.replace(at, 6, " below");
    }
    SUMMARYTEXT = utf8ToCp1252(fileNameOf(path) + ": " + summary + ".");
    REPORTTEXT = reportText(imported);
    Window window(kImportLayout, {use(SUMMARYTEXT), use(REPORTTEXT)});
    OPEN(window);
    bool accepted = false;
    while (ACCEPT(window)) {
        PROP(0, Prop::Icon) = kWindowIcon;
        if (EVENT() == EVENT::CloseWindow) break;
        if (EVENT() != EVENT::Accepted) continue;
        if (FIELD() == I::IMPORT) {
            accepted = true;
            break;
        }
        if (FIELD() == I::CANCEL) break;
    }
    CLOSE(window);
    return accepted;
}

bool readFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// The current entries in file order; the record buffer is left as it was.
bool currentEntries(std::vector<QuilleryRecord>& entries, const char* caption) {
    const QuilleryRecord shown = QLY;
    SET(QUILLERY);
    NEXT(QUILLERY);  // the header record is no entry
    for (NEXT(QUILLERY); errorCode() == ErrorCode::kNone; NEXT(QUILLERY)) {
        if (QLY.DELETED == 0) entries.push_back(QLY);
    }
    const bool complete = errorCode() == ErrorCode::kRecordNotAvailable;
    if (!complete) CHECKERROR(caption);
    QLY = shown;
    return complete;
}

// Writes `text` to `path` under a temporary name first, so a failed write leaves any file that
// was there whole.
bool writeFile(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.flush();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    fs::rename(temporary, path, error);
    if (error) fs::remove(temporary, error);
    return !error;
}

// Asks which format to write; nothing when the user cancelled.
std::optional<exchange::ExchangeFormat> chooseExportFormat() {
    const std::vector<exchange::ExchangeFormat> formats = exchange::exchangeFormats(true);
    Window window(kExportLayout, {use(FORMATCHOICE)});
    OPEN(window);
    const int radios[] = {E::FIRSTFORMAT, E::SECONDFORMAT, E::THIRDFORMAT};
    for (std::size_t i = 0; i < std::size(radios); ++i) {
        if (i < formats.size()) {
            const exchange::ExchangeFormat format = formats[i];
            PROP(radios[i], Prop::Text) =
                "&" + std::string(exchange::exchangeFormatTitle(format)) + " (*" +
                std::string(exchange::exchangeFormatExtension(format)) + ")";
        } else {
            PROP(radios[i], Prop::Hide) = 1;
        }
    }
    std::optional<exchange::ExchangeFormat> chosen;
    while (ACCEPT(window)) {
        PROP(0, Prop::Icon) = kWindowIcon;
        if (EVENT() == EVENT::CloseWindow) break;
        if (EVENT() != EVENT::Accepted) continue;
        if (FIELD() == E::OK) {
            const auto index = static_cast<std::size_t>(FORMATCHOICE - 1);
            if (index < formats.size()) chosen = formats[index];
            break;
        }
        if (FIELD() == E::CANCEL) break;
    }
    CLOSE(window);
    return chosen;
}

}  // namespace

const WindowLayout kImportLayout{.module = "IMPORTBOOKS",
                                 .structure = "WINDOW",
                                 .text = kImportCaption,
                                 .at = {0, 0, 300, 184},
                                 .flags = WindowFlag::kCentered,
                                 .controls = kImportControls};

const WindowLayout kExportLayout{.module = "EXPORTBOOKS",
                                 .structure = "WINDOW",
                                 .text = kExportCaption,
                                 .at = {0, 0, 216, 76},
                                 .flags = WindowFlag::kCentered,
                                 .controls = kExportControls};

void importBooks() {
    if (!settlePendingWork() || !catalogueIsOpen()) return;
    const auto path = FILEDIALOG(kImportCaption, FileDialogMode::Open, kImportFilter);
    if (!path) return;
    std::string bytes;
    if (!readFile(*path, bytes)) {
        MESSAGE("The file " + utf8ToCp1252(*path) + " could not be read.", kImportCaption,
                ICON::Exclamation);
        return;
    }
    const exchange::ExchangeFormat format = exchange::detectExchangeFormat(bytes);
    exchange::ExchangeImport imported = exchange::readExchange(format, bytes, {TODAY(), CLOCK()});
    if (imported.ok()) {
        std::vector<QuilleryRecord> entries;
        if (!currentEntries(entries, "Can't Import Books")) return;
        exchange::IsbnIndex catalogue;
        for (const QuilleryRecord& entry : entries)
            catalogue.add(entry);
        exchange::reviewImportedIsbns(imported, catalogue, {isbn13Preferred()});
    }
    if (!imported.ok()) {
        MESSAGE(utf8ToCp1252(fileNameOf(*path) + ", " + imported.problem->text() +
                             ".  Nothing was imported."),
                kImportCaption, ICON::Exclamation);
        return;
    }
    if (!confirmImport(*path, format, imported)) return;
    if (!addInOneTransaction(imported.records, "Can't Import Books")) return;
    // The lists are rebuilt from the file; that purges the versions undo would restore.
    OPENQUILLERY();
    forgetUndo();
}

void exportBooks() {
    if (!settlePendingWork() || !catalogueIsOpen()) return;
    const auto format = chooseExportFormat();
    if (!format) return;
    const std::string extension(exchange::exchangeFormatExtension(*format));
    const std::string filter = std::string(exchange::exchangeFormatTitle(*format)) + " (*" +
                               extension + ");;All files (*)";
    const auto chosen = FILEDIALOG(kExportCaption, FileDialogMode::Save, filter);
    if (!chosen) return;
    std::string path = *chosen;
    if (!fs::path(path).has_extension()) path += extension;
    std::error_code error;
    if (fs::exists(path, error) &&
        MESSAGE("The file " + utf8ToCp1252(path) + " already exists.  Do you want to replace it?",
                kExportCaption, ICON::Question, BUTTON::Yes | BUTTON::No,
                BUTTON::No) != BUTTON::Yes) {
        return;
    }
    std::vector<QuilleryRecord> entries;
    if (!currentEntries(entries, "Can't Export Books")) return;
    if (!writeFile(path, exchange::writeExchange(*format, entries))) {
        MESSAGE("The file " + utf8ToCp1252(path) + " could not be written.", kExportCaption,
                ICON::Exclamation);
        return;
    }
    MESSAGE(std::to_string(entries.size()) + " books written to " + utf8ToCp1252(path) + ".",
            kExportCaption, ICON::Information);
}

}  // namespace quillery
