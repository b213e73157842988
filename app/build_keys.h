// BUILDKEYS: the derived sort keys `QLY:NAMEKEY` and `QLY:TITLEKEY` the lists show and sort by.
#pragma once

#include "app/quillery_record.h"

namespace quillery {

// Forms the name key "Last, First (Title)" and the title key "Title (First Last)" of `record`
// from its names and title, each cut to 50 characters. An entry without names keeps a blank
// name key and the bare title as its title key.
void BUILDKEYS(QuilleryRecord& record);
// The same on the record buffer `QLY:RECORD`.
void BUILDKEYS();

}  // namespace quillery
