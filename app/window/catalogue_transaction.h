// The main window's changes to the catalogue that take more than one step run inside one
// storage transaction, so that they reach the file whole or not at all.
#pragma once

#include <span>
#include <string_view>

#include "app/quillery_record.h"

namespace quillery {

// How long a transaction waits for the catalogue's lock.
inline constexpr int kLockWaitSeconds = 1;

// Begins a transaction on the catalogue. When its lock is not had, shows the error under
// `caption` and returns false.
bool beginCatalogueTransaction(std::string_view caption);
// Commits the transaction. When that fails nothing of it is in the file; the error is shown
// under `caption` and the result is false.
bool commitCatalogueTransaction(std::string_view caption);
// Forgets every change of the transaction; the current error is kept for the caller to show.
void rollbackCatalogueTransaction();

// Adds `records` to the catalogue in one transaction: all of them or, after the error is shown
// under `caption`, none.
bool addInOneTransaction(std::span<const QuilleryRecord> records, std::string_view caption);

}  // namespace quillery
