// Refusing damaged catalogues at open, and saying what is damaged.
#include "app/window/catalogue_damage.h"

#include <filesystem>
#include <utility>

#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "runtime/errors.h"
#include "runtime/window/message_box.h"
#include "storage/file_maintenance.h"
#include "storage/file_operations.h"

namespace quillery {

namespace {

constexpr char kDamagedCaption[] = "Damaged Catalogue";
constexpr char kNotCatalogueCaption[] = "Not a Catalogue";

std::vector<std::string> keyNames() {
    std::vector<std::string> names;
    for (const storage::KeyDeclaration& key : QUILLERY.keys)
        names.emplace_back(key.name);
    return names;
}

std::string checkAdvice(const std::string& name) {
    return "'quillery-data check " + name + "' lists its faults.";
}

}  // namespace

void reportDamage(const std::string& name, const std::string& what, const std::string& outcome) {
    MESSAGE(
        "The catalogue " + name + " is damaged: " + what + ".|" + outcome + "|" + checkAdvice(name),
        kDamagedCaption, ICON::Exclamation);
}

namespace {

void reportNotCatalogue(const std::string& name, const std::string& why) {
    MESSAGE("The file " + name + " is not a catalogue: " + why +
                ".|It was not opened, and nothing was written to it.",
            kNotCatalogueCaption, ICON::Exclamation);
}

// The file the storage engine reads for QUILLERYFILE.
std::string filePathOf(const std::string& name) {
    storage::FileName parsed;
    if (!storage::parseFileName(name, parsed).ok()) return name;
    return parsed.path;
}

// The options in force, with storage faults thrown as CatalogueDamaged.
storage::StorageOptions faultsThrown() {
    storage::StorageOptions options = storage::storageOptions();
    options.faultHandler = [](const storage::StorageFault& fault) {
        throw CatalogueDamaged{fault};
    };
    return options;
}

}  // namespace

CatalogueDamageCaught::CatalogueDamageCaught() : faultsThrow_(faultsThrown()) {}

bool catalogueFitToOpen() {
    const std::string name(QUILLERYFILE.clipped());
    std::error_code error;
    const std::string path = filePathOf(name);
    if (!std::filesystem::exists(path, error)) return true;  // created as it is opened
    if (std::filesystem::is_regular_file(path, error) &&
        std::filesystem::file_size(path, error) == 0 && !error) {
        reportNotCatalogue(name, "the file is empty");
        return false;
    }
    FileCheckReport report;
    storage::Status checked = storage::Status::success();
    try {
        checked = checkFile(QUILLERY, keyNames(), report);
    } catch (const CatalogueDamaged& damage) {
        // The check opened the file only to read it; nothing is left to drop.
        closeWithoutWriting(QUILLERY);
        reportDamage(name, storage::faultSummary(damage.fault),
                     "It was not opened, and nothing was written to it.");
        return false;
    }
    clearError();
    if (checked.code() == ErrorCode::kInvalidDataFile) {
        const bool header = checked.message().starts_with("not a data file");
        if (header) {
            reportNotCatalogue(name, "it does not begin with a catalogue's header");
        } else {
            reportDamage(name, checked.message(),
                         "It was not opened, and nothing was written to it.");
        }
        return false;
    }
    if (checked.code() == ErrorCode::kFileNotFound) {
        reportNotCatalogue(name, "it holds no catalogue");
        return false;
    }
    if (!checked.ok()) return true;  // the open says what keeps it closed
    if (!report.structureSound || !report.recordsSound) {
        reportDamage(name, report.findings.front(),
                     "It was not opened, and nothing was written to it.");
        return false;
    }
    return true;
}

}  // namespace quillery
