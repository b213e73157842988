// What the commands that write share: the catalogue opened for as long as a command runs, its
// soundness checked before anything is written, entries added in one transaction.
#pragma once

#include <span>
#include <string>

#include "app/exchange/import_report.h"
#include "app/exchange/isbn_review.h"
#include "app/tools/catalogue_store.h"
#include "app/tools/tool_context.h"

namespace quillery::tools {

// Closes the store however the command ends.
class OpenCatalogue {
  public:
    explicit OpenCatalogue(CatalogueStore& store) : store_(store) {}
    ~OpenCatalogue() { close(); }
    OpenCatalogue(const OpenCatalogue&) = delete;
    OpenCatalogue& operator=(const OpenCatalogue&) = delete;

    StoreStatus open(const std::string& path, StoreAccess access) {
        StoreStatus status = store_.open(path, access);
        open_ = status.ok();
        return status;
    }
    StoreStatus create(const std::string& path) {
        StoreStatus status = store_.create(path);
        open_ = status.ok();
        return status;
    }
    void close() {
        if (open_) store_.close();
        open_ = false;
    }

  private:
    CatalogueStore& store_;
    bool open_ = false;
};

// "quillery-data: MESSAGE" on the error stream; kFailed.
int failed(ToolContext& context, const std::string& message);
// "quillery-data: WHAT "FILE": STATUS" on the error stream; kFailed.
int storeFailed(ToolContext& context, std::string_view what, const std::string& file,
                const StoreStatus& status);
std::string quoted(const std::string& text);

// Opens `file` for writing and checks it is sound; kOk, or the status after a message.
int openSoundForWriting(const std::string& file, OpenCatalogue& catalogue, ToolContext& context);

// Adds `records` in one transaction; on any failure rolls back, so none of them stays.
StoreStatus addAll(CatalogueStore& store, std::span<const QuilleryRecord> records);

// Every current book of the open catalogue into `index`.
StoreStatus indexIsbns(CatalogueStore& store, exchange::IsbnIndex& index);

void printReport(ToolContext& context, const exchange::ImportReport& report);

}  // namespace quillery::tools
