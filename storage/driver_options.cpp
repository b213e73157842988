// Option strings sent to the driver.
#include <algorithm>

#include "runtime/char_tables.h"
#include "storage/file_operations.h"
#include "storage/storage_options.h"
#include "storage/transaction.h"

namespace quillery::storage {
namespace {

constexpr std::string_view kDriverName = "VELTRANE";

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(toUpperChar(static_cast<unsigned char>(c)));
    return out;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && upper(text.substr(0, prefix.size())) == prefix;
}

std::string_view onOff(bool on) {
    return on ? "ON" : "OFF";
}

// The first table name at or after `name` in the file; empty when there is none.
Status firstTableNameFrom(OpenTable& open, std::string_view name, std::string& reply) {
    return runBracketed(open, false, [&] {
        TreeCursor cursor(open.file->data());
        reply.clear();
        if (cursor.seekCeiling(tableNameKey(upper(name)))) {
            const ByteView key = cursor.key();
            if (!key.empty() && key[0] == EntryKind::kTableName)
                reply.assign(key.begin() + 1, key.end());
        }
        return Status::success();
    });
}

}  // namespace

Status sendOption(FileControlBlock& file, std::string_view option, std::string& reply) {
    reply.clear();
    if (startsWith(option, "TCF=")) {
        StorageOptions options = storageOptions();
        options.transactionControlFile = std::string(option.substr(4));
        setStorageOptions(std::move(options));
        return Status::success();
    }
    if (upper(option) == "FULLBUILD") {
        reply = onOff(file.fullBuild);
        return Status::success();
    }
    if (startsWith(option, "FULLBUILD=")) {
        reply = onOff(file.fullBuild);
        file.fullBuild = upper(option.substr(10)) == "ON";
        return Status::success();
    }
    if (startsWith(option, "PNM=")) {
        if (!file.isOpen()) return Status::success();
        return firstTableNameFrom(*file.open, option.substr(4), reply);
    }
    if (upper(option) == "REGISTER") {
        reply = kDriverName;
        return Status::success();
    }
    return Status::success();  // options of other drivers, such as QUICKSCAN, are ignored
}

}  // namespace quillery::storage
