// quillery-data's commands over the catalogue store. A command that writes first reads and
// checks everything it will write, then opens the catalogue, checks it is sound, and writes in
// one transaction; any failure on the way leaves the file as it was.
#include "app/tools/tool_commands.h"

#include <filesystem>
#include <ostream>

#include "app/catalogue_csv.h"
#include "app/exchange/exchange_format.h"
#include "app/exchange/isbn_review.h"
#include "app/tools/tool_catalogue.h"
#include "app/tools/tool_files.h"
#include "runtime/codepage.h"
#include "runtime/errors.h"

namespace quillery::tools {

namespace {

// The position of the header record, the first in file order; 0 when the file has none.
StoreStatus findHeader(CatalogueStore& store, std::int32_t& header) {
    header = 0;
    return store.forEachInFileOrder([&](std::int32_t position, const QuilleryRecord&) {
        header = position;
        return false;
    });
}

std::string utf8(std::string_view cp1252) {
    return cp1252ToUtf8(cp1252);
}

std::string authorOf(const QuilleryRecord& record) {
    std::string author(record.LASTNAME.clipped());
    if (!record.FIRSTNAME.isBlank()) {
        if (!author.empty()) author += ", ";
        author += record.FIRSTNAME.clipped();
    }
    return utf8(author);
}

// Opening failures that mean the file is there but not sound.
bool isDamage(int code) {
    return code == ErrorCode::kInvalidDataFile || code == ErrorCode::kInvalidKeyFile ||
           code == ErrorCode::kKeyFileMustBeRebuilt || code == ErrorCode::kInvalidRecordDeclaration;
}

}  // namespace

int runCreate(const ToolArguments& args, ToolContext& context) {
    std::error_code error;
    if (std::filesystem::exists(args.file, error)) {
        return failed(context, quoted(args.file) + " already exists; nothing was written");
    }
    OpenCatalogue catalogue(context.store);
    if (StoreStatus status = catalogue.create(args.file); !status.ok()) {
        return storeFailed(context, "cannot create", args.file, status);
    }
    // Every catalogue starts with its blank header record, which is never listed; like the
    // program's own, it carries the moment the catalogue was made as both of its stamps.
    QuilleryRecord header{};
    header.setCREATED(context.now);
    header.setCHANGED(context.now);
    if (StoreStatus status = addAll(context.store, std::span(&header, 1)); !status.ok()) {
        // A catalogue without its header record is no catalogue: the new file goes again.
        catalogue.close();
        std::filesystem::remove(args.file, error);
        return storeFailed(context, "cannot write the header record of", args.file, status);
    }
    context.out << "created " << args.file << "\n";
    return ExitStatus::kOk;
}

int runImport(const ToolArguments& args, ToolContext& context) {
    const std::string source = args.csv.empty() || args.csv == "-" ? "standard input" : args.csv;
    std::string csv, error;
    if (!readWholeInput(args.csv, context.in, csv, error)) return failed(context, error);

    const exchange::ExchangeFormat format =
        args.format.value_or(exchange::detectExchangeFormat(csv));
    exchange::ExchangeImport parsed = exchange::readExchange(format, csv, context.now);
    if (!parsed.ok()) {
        return failed(context, source + ": " + parsed.problem->text() + "; nothing was written");
    }
    const exchange::IsbnReviewOptions review{args.toIsbn13};
    OpenCatalogue catalogue(context.store);
    if (args.dryRun) {
        // A trial never opens the catalogue: the ISBNs are compared within the file only.
        exchange::reviewImportedIsbns(parsed, {}, review);
        printReport(context, parsed.report);
        context.out << source << ": " << exchange::importSummary(format, parsed)
                    << "; nothing was written (--dry-run)\n";
        return ExitStatus::kOk;
    }

    if (int status = openSoundForWriting(args.file, catalogue, context); status != ExitStatus::kOk)
        return status;
    exchange::IsbnIndex known;
    if (StoreStatus status = indexIsbns(context.store, known); !status.ok()) {
        return storeFailed(context, "cannot read", args.file, status);
    }
    exchange::reviewImportedIsbns(parsed, known, review);
    if (StoreStatus status = addAll(context.store, parsed.records); !status.ok()) {
        return failed(context, "cannot add the entries to " + quoted(args.file) + ": " +
                                   status.text + "; nothing was written");
    }
    printReport(context, parsed.report);
    context.out << "imported " << parsed.records.size() << " entries into " << args.file << "\n";
    return ExitStatus::kOk;
}

int runExport(const ToolArguments& args, ToolContext& context) {
    OpenCatalogue catalogue(context.store);
    if (StoreStatus status = catalogue.open(args.file, StoreAccess::kReadOnly); !status.ok()) {
        return storeFailed(context, "cannot open", args.file, status);
    }
    std::vector<QuilleryRecord> entries;
    bool first = true;
    const StoreStatus status =
        context.store.forEachInFileOrder([&](std::int32_t, const QuilleryRecord& record) {
            if (!first && record.DELETED == 0) entries.push_back(record);
            first = false;  // the header record is not an entry
            return true;
        });
    if (!status.ok()) return storeFailed(context, "cannot read", args.file, status);
    const std::string csv =
        exchange::writeExchange(args.format.value_or(exchange::ExchangeFormat::kQuillery), entries);
    std::string error;
    if (!writeWholeOutput(args.csv, context.out, csv, error)) return failed(context, error);
    return ExitStatus::kOk;
}

int runList(const ToolArguments& args, ToolContext& context) {
    OpenCatalogue catalogue(context.store);
    if (StoreStatus status = catalogue.open(args.file, StoreAccess::kReadOnly); !status.ok()) {
        return storeFailed(context, "cannot open", args.file, status);
    }
    std::int32_t header = 0;
    if (StoreStatus status = findHeader(context.store, header); !status.ok()) {
        return storeFailed(context, "cannot read", args.file, status);
    }
    std::string listing;
    const StoreStatus status = context.store.forEachByKey(
        *args.key, [&](std::int32_t position, const QuilleryRecord& record) {
            if (position == header || (record.DELETED != 0 && !args.all)) return true;
            listing += utf8(record.TITLE.clipped()) + "\t" + authorOf(record);
            if (record.DELETED != 0) listing += "\t(superseded)";
            listing += "\n";
            return true;
        });
    if (!status.ok()) return storeFailed(context, "cannot read", args.file, status);
    context.out << listing;
    return ExitStatus::kOk;
}

int runCheck(const ToolArguments& args, ToolContext& context) {
    std::vector<std::string> faults;
    if (StoreStatus status = context.store.checkFile(args.file, faults); !status.ok()) {
        if (!isDamage(status.code)) return storeFailed(context, "cannot open", args.file, status);
        faults.push_back(status.text);
    }
    if (faults.empty()) {
        context.out << args.file << ": sound\n";
        return ExitStatus::kOk;
    }
    context.out << args.file << ": " << faults.size() << (faults.size() == 1 ? " fault" : " faults")
                << "\n";
    for (const std::string& fault : faults)
        context.out << "  " << fault << "\n";
    return ExitStatus::kFaultsFound;
}

int runRebuild(const ToolArguments& args, ToolContext& context) {
    OpenCatalogue catalogue(context.store);
    if (StoreStatus status = catalogue.open(args.file, StoreAccess::kReadWrite); !status.ok()) {
        return storeFailed(context, "cannot open", args.file, status);
    }
    if (StoreStatus status = context.store.rebuildKeys(); !status.ok()) {
        return storeFailed(context, "cannot rebuild the keys of", args.file, status);
    }
    context.out << "rebuilt the keys of " << args.file << "\n";
    return ExitStatus::kOk;
}

int runInfo(const ToolArguments& args, ToolContext& context) {
    OpenCatalogue catalogue(context.store);
    if (StoreStatus status = catalogue.open(args.file, StoreAccess::kReadOnly); !status.ok()) {
        return storeFailed(context, "cannot open", args.file, status);
    }
    CatalogueInfo info;
    if (StoreStatus status = context.store.info(info); !status.ok()) {
        return storeFailed(context, "cannot read", args.file, status);
    }
    // The header record is no entry; the delete key holds exactly the superseded versions.
    const std::uint64_t superseded =
        info.keyEntries[static_cast<std::size_t>(QuilleryKey::DELETEKEY)];
    const std::uint64_t headers = info.records > 0 ? 1 : 0;
    const std::uint64_t current =
        info.records >= headers + superseded ? info.records - headers - superseded : 0;

    std::ostream& out = context.out;
    out << "catalogue     " << args.file << "\n";
    out << "file size     " << info.fileBytes << " bytes\n";
    out << "records       " << info.records << " (" << current << " current, " << superseded
        << " superseded, " << headers << " header)\n";
    for (std::size_t i = 0; i < info.pagesBySize.size(); ++i) {
        out << (i == 0 ? "pages         " : "              ") << info.pagesBySize[i].pages << " of "
            << info.pagesBySize[i].pageBytes << " bytes\n";
    }
    for (std::size_t key = 0; key < kQuilleryKeyCount; ++key) {
        out << (key == 0 ? "key entries   " : "              ")
            << keyName(static_cast<QuilleryKey>(key)) << " " << info.keyEntries[key] << "\n";
    }
    return ExitStatus::kOk;
}

namespace {
PrintCommand& installedPrintCommand() {
    static PrintCommand command;
    return command;
}
}  // namespace

void setPrintCommand(PrintCommand command) {
    installedPrintCommand() = std::move(command);
}

int runPrint(const ToolArguments& args, ToolContext& context) {
    if (!installedPrintCommand()) return failed(context, "print is not available in this program");
    return installedPrintCommand()(args, context);
}

int runCommand(const ToolArguments& args, ToolContext& context) {
    switch (*args.command) {
        case ToolCommand::kCreate:
            return runCreate(args, context);
        case ToolCommand::kImport:
            return runImport(args, context);
        case ToolCommand::kExport:
            return runExport(args, context);
        case ToolCommand::kList:
            return runList(args, context);
        case ToolCommand::kCheck:
            return runCheck(args, context);
        case ToolCommand::kRebuild:
            return runRebuild(args, context);
        case ToolCommand::kPrint:
            return runPrint(args, context);
        case ToolCommand::kInfo:
            return runInfo(args, context);
        case ToolCommand::kLookup:
            return runLookup(args, context);
        case ToolCommand::kAdd:
            return runAdd(args, context);
    }
    return ExitStatus::kUsage;
}

}  // namespace quillery::tools
