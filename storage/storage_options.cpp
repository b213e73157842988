// The storage engine's options in force.
#include "storage/storage_options.h"

#include <utility>

namespace quillery::storage {
namespace {

StorageOptions& installed() {
    static StorageOptions options;
    return options;
}

}  // namespace

const StorageOptions& storageOptions() {
    return installed();
}

StorageOptions setStorageOptions(StorageOptions options) {
    return std::exchange(installed(), std::move(options));
}

}  // namespace quillery::storage
