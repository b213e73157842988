// The catalogue commands of the "&File" menu.
#include "app/window/file_commands.h"

#include <filesystem>
#include <system_error>

#include "app/catalogue_access.h"
#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "app/window/catalogue_transaction.h"
#include "app/window/editing_cycle.h"
#include "app/window/open_quillery.h"
#include "app/window/undo.h"
#include "runtime/errors.h"
#include "runtime/window/file_dialog.h"
#include "runtime/window/message_box.h"
#include "storage/file_statements.h"
#include "support/check_error.h"

namespace quillery {

namespace fs = std::filesystem;

namespace {

constexpr char kFilter[] = "Quillery catalogues (*.QLY *.qly);;All files (*)";
constexpr char kNewCaption[] = "New Quillery File";
constexpr char kOpenCaption[] = "Open Quillery File";
constexpr char kSaveAsCaption[] = "Save Quillery File As";
constexpr char kCopyCaption[] = "Can't Copy Catalogue";

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    if (fs::equivalent(a, b, error)) return true;
    return fs::weakly_canonical(a, error) == fs::weakly_canonical(b, error);
}

bool exists(const std::string& path) {
    std::error_code error;
    return fs::exists(path, error);
}

// The name a chosen path is kept under, or nothing (after saying why) when it is too long for
// the catalogue's name variable.
std::optional<std::string> usableName(const std::string& path, const char* caption) {
    std::string name = catalogueNameOf(path);
    if (name.size() <= kQuilleryFileNameLength) return name;
    MESSAGE("The name " + name + " is longer than " + std::to_string(kQuilleryFileNameLength) +
                " characters.  Choose a shorter name, or a folder nearer the top.",
            caption, ICON::Exclamation);
    return std::nullopt;
}

// Opens catalogue `name` in the window. When it cannot be opened, the catalogue that was open
// is opened again. Another catalogue's undo rows would name its record positions: they go.
bool switchCatalogue(const std::string& name) {
    const std::string previous(QUILLERYFILE.clipped());
    const bool another = !sameFile(previous, name);
    QUILLERYFILE = name;
    if (OPENQUILLERY()) {
        if (another) forgetUndo();
        return true;
    }
    if (another && !previous.empty()) {
        QUILLERYFILE = previous;
        OPENQUILLERY();
    }
    return false;
}

// Whether another program has the catalogue `name` open: asked by opening it to read while
// denying others the right to write, which fails while someone writes it. Nothing is written.
bool inUseElsewhere(const std::string& name) {
    constexpr int kReadDenyWrite = 0x20;
    COPYFILE = name;
    OPEN(QUILLERYCOPY, kReadDenyWrite);
    const int code = errorCode();
    if (code == ErrorCode::kNone) CLOSE(QUILLERYCOPY);
    clearError();
    if (code == ErrorCode::kFileAlreadyLocked) return true;
    return code == ErrorCode::kAccessDenied && !canOnlyBeRead(name);
}

// Refuses, after saying so, a target another program has open: replacing it would leave that
// program writing into a file that is gone.
bool refusedAsInUse(const std::string& name, const char* caption) {
    if (!inUseElsewhere(name)) return false;
    MESSAGE("The file " + name +
                " is in use: another program has it open.  Choose another name, or close it "
                "there first.",
            caption, ICON::Exclamation);
    return true;
}

// A name in `target`'s folder that no file has yet, for a copy on its way there.
std::string temporaryNameBeside(const std::string& target) {
    const fs::path folder = fs::path(target).parent_path();
    for (int n = 0;; ++n) {
        const std::string name = (folder / ("~QLY" + std::to_string(n) + ".TMP")).string();
        if (!exists(name)) return name;
    }
}

// Adds every record of the open catalogue, in file order, to the open copy.
bool copyRecords() {
    if (!beginCatalogueTransaction(kCopyCaption)) return false;
    SET(QUILLERY);
    for (NEXT(QUILLERY); errorCode() == ErrorCode::kNone; NEXT(QUILLERY)) {
        COPYRECORD = QLY;
        ADD(QUILLERYCOPY);
        if (errorCode() != ErrorCode::kNone) break;
    }
    if (errorCode() != ErrorCode::kRecordNotAvailable) {
        CHECKERROR(kCopyCaption);
        rollbackCatalogueTransaction();
        return false;
    }
    return commitCatalogueTransaction(kCopyCaption);
}

// Copies the open catalogue to `target` through the storage engine: written whole under a
// temporary name beside it, then renamed over it, so that a failure never leaves a half copy
// under the target's name. The buffer keeps the entry shown.
bool copyCatalogueTo(const std::string& target) {
    const std::string temporary = temporaryNameBeside(target);
    if (temporary.size() > kQuilleryFileNameLength) {
        MESSAGE("The folder's name is too long to copy the catalogue into it.", kCopyCaption,
                ICON::Exclamation);
        return false;
    }
    const QuilleryRecord shown = QLY;
    COPYFILE = temporary;
    CREATE(QUILLERYCOPY);
    bool copied = errorCode() == ErrorCode::kNone;
    if (copied) {
        OPEN(QUILLERYCOPY, kDefaultAccessMode);
        copied = errorCode() == ErrorCode::kNone && copyRecords();
        CLOSE(QUILLERYCOPY);
    }
    if (!copied) CHECKERROR(kCopyCaption);
    QLY = shown;
    // The target may have been opened elsewhere while the copy was written.
    if (copied && exists(target) && refusedAsInUse(target, kSaveAsCaption)) copied = false;
    std::error_code error;
    if (copied) fs::rename(temporary, target, error);
    if (!copied || error) {
        if (copied) {
            MESSAGE("The copy could not be put in place: " + error.message() + ".", kCopyCaption,
                    ICON::Exclamation);
        }
        fs::remove(temporary, error);
        return false;
    }
    return true;
}

}  // namespace

std::string catalogueNameOf(const std::string& path) {
    fs::path chosen(path);
    if (!chosen.has_extension()) chosen += ".QLY";
    std::error_code error;
    const fs::path relative = fs::proximate(chosen, fs::current_path(error), error);
    if (!error && !relative.empty() && *relative.begin() != "..") return relative.string();
    return chosen.string();
}

void openExampleCatalogue() {
    if (!settlePendingWork()) return;
    const std::string previous(QUILLERYFILE.clipped());
    if (!exists(std::string(kExampleCatalogueName))) {
        CLOSE(QUILLERY);  // the example is written through the catalogue's own declaration
        QUILLERYFILE = kExampleCatalogueName;
        buildExampleCatalogue();
        QUILLERYFILE = previous;
    }
    switchCatalogue(std::string(kExampleCatalogueName));
}

void newCatalogueFile() {
    if (!settlePendingWork()) return;
    const auto path = FILEDIALOG(kNewCaption, FileDialogMode::Save, kFilter);
    if (!path) return;
    const auto name = usableName(*path, kNewCaption);
    if (!name) return;
    if (exists(*name)) {
        MESSAGE("The file " + *name +
                    " already exists.  Choose another name, or open it with \"Open Quillery "
                    "File\".",
                kNewCaption, ICON::Exclamation);
        return;
    }
    switchCatalogue(*name);  // a missing catalogue is created as it is opened
}

void openCatalogueFile() {
    if (!settlePendingWork()) return;
    const auto path = FILEDIALOG(kOpenCaption, FileDialogMode::Open, kFilter);
    if (!path) return;
    if (const auto name = usableName(*path, kOpenCaption)) switchCatalogue(*name);
}

void saveCatalogueFileAs() {
    if (!settlePendingWork()) return;
    if (!catalogueIsOpen()) return;
    const auto path = FILEDIALOG(kSaveAsCaption, FileDialogMode::Save, kFilter);
    if (!path) return;
    const auto name = usableName(*path, kSaveAsCaption);
    if (!name) return;
    if (sameFile(*name, std::string(QUILLERYFILE.clipped()))) {
        MESSAGE(*name + " is the catalogue that is open.  Choose another name.", kSaveAsCaption,
                ICON::Exclamation);
        return;
    }
    if (exists(*name) && refusedAsInUse(*name, kSaveAsCaption)) return;
    if (exists(*name) &&
        MESSAGE("The file " + *name + " already exists.  Do you want to replace it?",
                kSaveAsCaption, ICON::Question, BUTTON::Yes | BUTTON::No,
                BUTTON::No) != BUTTON::Yes) {
        return;
    }
    if (copyCatalogueTo(*name)) switchCatalogue(*name);
}

}  // namespace quillery
