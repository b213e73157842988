// Undo: every new, duplicated, saved and deleted entry pushes a row on UNDOQUEUE, and Undo
// reverts the most recent one by turning the deleted marks of the versions kept in the file.
#pragma once

namespace quillery {

// Reverts the last operation on the undo stack that can still be reverted. Rows whose records
// are no longer in the catalogue (it was reopened since) are dropped on the way.
void undoLastOperation();

// Drops the rows whose records the catalogue no longer holds (a reopen purged them), and
// offers Undo only while a row is left. The record buffer keeps the entry shown.
void dropLostUndo();

// Forgets every operation: the rows name record positions of the catalogue they were made in.
void forgetUndo();

}  // namespace quillery
