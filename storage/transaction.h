// Transactions over one or more open files. Beginning one takes each file's exclusive lock
// (waiting up to the given time) and holds its commits back; the changes reach the files
// together at the commit, through the transaction control file when more than one file
// changed, or are forgotten at the rollback.
//
// The control file defaults to $XDG_STATE_HOME/quillery/quillery.tcf, or
// ~/.local/state/quillery/quillery.tcf without XDG_STATE_HOME (the directory is made when
// missing); "TCF=" sets another. Every program sharing files must name the same one.
#pragma once

#include <chrono>
#include <functional>
#include <span>
#include <string>

#include "storage/file_control_block.h"

namespace quillery::storage {

// Error 56 "LOGOUT Already Active" while one runs; 37 for a file that is not open; 32 "File Is
// Already Locked" when a file's lock is not had within `lockWait` (nothing is then held).
Status beginTransaction(std::span<FileControlBlock* const> files,
                        std::chrono::milliseconds lockWait);
Status commitTransaction();
Status rollbackTransaction();
bool transactionActive();

// A file closed inside a transaction leaves it; its close commits what it holds.
void leaveTransaction(FileControlBlock& file);
// A file dropped without writing leaves its transaction, which ends with its last file.
void abandonTransactionOf(FileControlBlock& file);

// The control file of the user's state folder ($XDG_STATE_HOME/quillery/quillery.tcf).
std::string defaultTransactionControlFile();
// The control file in force: the options' one, or the default.
std::string transactionControlFile();

// Steps of a commit over several files, for tests that interrupt it between them.
enum class CommitStep {
    kControlEntryWritten = 2,  // the transaction's entry is in the control file
    kFilePrepared = 3,         // one more file's log is written and named (once per file)
    kControlEntryRemoved = 4,  // the transaction counts as done
    kFileFinished = 5,         // one more file's pages are in place (once per file)
};

}  // namespace quillery::storage
