// What quillery-data needs of a catalogue file, in one small interface: the commands speak only
// to this, and one implementation over the storage engine's file layer answers it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/quillery_record.h"

namespace quillery::tools {

// The outcome of a store operation: code 0 when done, else the storage engine's error code and
// its text.
struct [[nodiscard]] StoreStatus {
    int code = 0;
    std::string text;
    bool ok() const { return code == 0; }
};

enum class StoreAccess { kReadOnly, kReadWrite };

struct PageSizeClass {
    std::uint32_t pageBytes = 0;
    std::uint64_t pages = 0;
};

struct CatalogueInfo {
    std::uint64_t records = 0;  // the header record included
    std::array<std::uint64_t, kQuilleryKeyCount> keyEntries{};
    std::vector<PageSizeClass> pagesBySize;  // smallest size first
    std::uint64_t fileBytes = 0;
};

// Called with each record and its position; returns false to stop early.
using RecordVisitor = std::function<bool(std::int32_t position, const QuilleryRecord& record)>;

class CatalogueStore {
  public:
    virtual ~CatalogueStore() = default;

    // Creates a new, empty catalogue file and leaves it open for writing; fails when a file of
    // that name exists.
    virtual StoreStatus create(const std::string& path) = 0;
    // Opens an existing catalogue. Read-write access is exclusive.
    virtual StoreStatus open(const std::string& path, StoreAccess access) = 0;
    virtual void close() = 0;

    // One transaction at a time; nothing added inside it reaches the file before commit().
    virtual StoreStatus begin() = 0;
    virtual StoreStatus commit() = 0;
    virtual void rollback() = 0;
    // Requires: a transaction has begun.
    virtual StoreStatus add(const QuilleryRecord& record) = 0;

    virtual StoreStatus forEachInFileOrder(const RecordVisitor& visit) = 0;
    virtual StoreStatus forEachByKey(QuilleryKey key, const RecordVisitor& visit) = 0;

    // The structural check of the open file, then every key entry against its record and every
    // count against what is there. Each fault found is appended as one readable line; a fault
    // is not a failure of check() itself.
    virtual StoreStatus check(std::vector<std::string>& faults) = 0;
    // The same for the catalogue at `path`, opened read-only for the check alone. Its pages are
    // walked before anything reads its tree, so every damaged page is a fault, never the end of
    // the program.
    virtual StoreStatus checkFile(const std::string& path, std::vector<std::string>& faults) = 0;
    // Builds every key again from the records. Refuses, writing nothing, when the records
    // themselves are damaged. Requires: open for writing.
    virtual StoreStatus rebuildKeys() = 0;
    virtual StoreStatus info(CatalogueInfo& info) = 0;
};

// The store over the catalogue file layer of this build.
std::unique_ptr<CatalogueStore> makeCatalogueStore();

}  // namespace quillery::tools
