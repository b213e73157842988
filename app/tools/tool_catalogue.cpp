// What the commands that write share: messages, the soundness check before writing, adding in
// one transaction, and the ISBNs already in the catalogue.
#include "app/tools/tool_catalogue.h"

#include <ostream>

namespace quillery::tools {

namespace {

constexpr std::string_view kProgram = "quillery-data: ";

}  // namespace

int failed(ToolContext& context, const std::string& message) {
    context.err << kProgram << message << "\n";
    return ExitStatus::kFailed;
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

int storeFailed(ToolContext& context, std::string_view what, const std::string& file,
                const StoreStatus& status) {
    return failed(context, std::string(what) + " " + quoted(file) + ": " + status.text);
}

// Adds `records` in one transaction; on any failure rolls back, so none of them stays.
StoreStatus addAll(CatalogueStore& store, std::span<const QuilleryRecord> records) {
    if (StoreStatus status = store.begin(); !status.ok()) return status;
    for (const QuilleryRecord& record : records) {
        if (StoreStatus status = store.add(record); !status.ok()) {
            store.rollback();
            return status;
        }
    }
    StoreStatus status = store.commit();
    if (!status.ok()) store.rollback();
    return status;
}

void printReport(ToolContext& context, const exchange::ImportReport& report) {
    for (const std::string& line : report.lines())
        context.out << line << "\n";
}

StoreStatus indexIsbns(CatalogueStore& store, exchange::IsbnIndex& index) {
    bool header = true;
    return store.forEachInFileOrder([&](std::int32_t, const QuilleryRecord& record) {
        if (!header && record.DELETED == 0) index.add(record);
        header = false;
        return true;
    });
}

int openSoundForWriting(const std::string& file, OpenCatalogue& catalogue, ToolContext& context) {
    if (StoreStatus status = catalogue.open(file, StoreAccess::kReadWrite); !status.ok()) {
        return storeFailed(context, "cannot open", file, status);
    }
    std::vector<std::string> faults;
    if (StoreStatus status = context.store.check(faults); !status.ok()) {
        return storeFailed(context, "cannot check", file, status);
    }
    if (!faults.empty()) {
        return failed(context, quoted(file) +
                                   " is damaged; nothing was written. 'quillery-data check " +
                                   file + "' reports the faults");
    }
    return ExitStatus::kOk;
}

}  // namespace quillery::tools
