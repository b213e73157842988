// How the storage engine is configured, in one place: every setting that reaches past a single
// file (how long to wait for another program's lock, where transactions over several files are
// logged, what a structural fault does, the test hook into a commit). A program installs its
// options once at start; a test or a command that needs other ones for a while uses
// ScopedStorageOptions, which puts the previous ones back.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "runtime/scoped_options.h"

namespace quillery::storage {

struct StorageFault;
// Steps of a commit over several files (storage/transaction.h).
enum class CommitStep;

struct StorageOptions {
    // How long an operation waits for the file lock that another program's operation holds.
    std::chrono::milliseconds fileLockWait{10000};
    // The control file of transactions over several files; empty: the user's state folder
    // (defaultTransactionControlFile()).
    std::string transactionControlFile;
    // Takes a structural fault instead of the runtime's fatal report; it must end the program
    // (tests may throw). Empty: the fatal report.
    std::function<void(const StorageFault& fault)> faultHandler;
    // Told each step of a commit over several files, for tests that interrupt it between them.
    std::function<void(CommitStep step)> commitStepHook;
};

// The options in force.
const StorageOptions& storageOptions();
// Installs `options` for every operation from now on; returns the options installed before.
// Not to be called while another thread uses the engine.
StorageOptions setStorageOptions(StorageOptions options);

using ScopedStorageOptions = ScopedOptions<StorageOptions, setStorageOptions>;

}  // namespace quillery::storage
