// The example catalogue, built from the entries the program carries as a resource.
#include <QFile>
#include <filesystem>
#include <string>

#include "app/catalogue_csv.h"
#include "app/catalogue_globals.h"
#include "app/quillery_file.h"
#include "app/window/catalogue_transaction.h"
#include "app/window/file_commands.h"
#include "runtime/dates.h"
#include "runtime/errors.h"
#include "runtime/window/installed_data.h"
#include "storage/file_statements.h"
#include "support/check_error.h"

namespace quillery {

namespace {

constexpr char kExampleEntries[] = ":/example/awards.csv";
constexpr char kCaption[] = "Can't Create File";

// Adds the blank header record and every entry, in one transaction.
bool addExampleRecords(const std::vector<QuilleryRecord>& entries) {
    CLEAR(QUILLERY);
    QLY.setCREATED({TODAY(), CLOCK()});
    QLY.setCHANGED(QLY.CREATED());
    std::vector<QuilleryRecord> records{QLY};
    records.insert(records.end(), entries.begin(), entries.end());
    return addInOneTransaction(records, kCaption);
}

}  // namespace

bool buildExampleCatalogue() {
    QFile file(installedDataFile(QStringLiteral("example/awards.csv"), kExampleEntries));
    if (!file.open(QIODevice::ReadOnly)) return false;  // an empty catalogue is made instead
    const QByteArray text = file.readAll();
    const CatalogueCsvImport entries =
        readCatalogueCsv(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    if (!entries.ok()) return false;

    CREATE(QUILLERY);
    CHECKERROR(kCaption);
    if (errorCode() != ErrorCode::kNone) return false;
    OPEN(QUILLERY, kDefaultAccessMode);
    CHECKERROR(kCaption);
    if (errorCode() != ErrorCode::kNone) return false;
    const bool built = addExampleRecords(entries.records);
    CLOSE(QUILLERY);
    // A half-built example is no use to anyone; OPENQUILLERY makes an empty one in its place.
    if (!built) std::filesystem::remove(std::string(QUILLERYFILE.clipped()));
    return built;
}

}  // namespace quillery
