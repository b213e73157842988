// What the benchmarks over a catalogue file share: a fresh work folder, and a catalogue of current
// generated entries written through quillery-data's store.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "app/testing/catalogue_generator.h"
#include "app/tools/catalogue_store.h"
#include "bench/sqlite_catalogue.h"

namespace quillery::bench {

// An empty folder of that name in the temporary folder.
inline std::filesystem::path freshFolder(const std::string& name) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// `count` current entries: the superseded versions the generator mixes in would be purged by
// the first open and make that a different measurement.
inline std::vector<QuilleryRecord> currentEntries(std::size_t count) {
    std::vector<QuilleryRecord> records;
    CatalogueGenerator generator(20261208);
    while (records.size() < count) {
        QuilleryRecord r = generator.next();
        if (r.DELETED == 0) records.push_back(r);
    }
    return records;
}

// A catalogue of a blank header record and `records`.
inline void writeCatalogue(const std::filesystem::path& path,
                           const std::vector<QuilleryRecord>& records) {
    auto store = tools::makeCatalogueStore();
    require(store->create(path.string()).ok(), "create");
    require(store->begin().ok(), "begin");
    require(store->add(QuilleryRecord{}).ok(), "header");
    for (const QuilleryRecord& r : records)
        require(store->add(r).ok(), "add");
    require(store->commit().ok(), "commit");
    store->close();
}

}  // namespace quillery::bench
