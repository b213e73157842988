// The storage engine's options in force.
#include "storage/storage_options.h"

#include "runtime/installed_options.h"

namespace quillery::storage {

const StorageOptions& storageOptions() {
    return installedOptions<StorageOptions>();
}

StorageOptions setStorageOptions(StorageOptions options) {
    return exchangeInstalledOptions(std::move(options));
}

}  // namespace quillery::storage
