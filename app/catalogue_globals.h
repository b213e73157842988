// The catalogue's globals shared by every procedure: the record buffer, the file's name and
// the main window's record-sized scratch areas.
#pragma once

#include "app/quillery_record.h"
#include "runtime/fixed_string.h"

namespace quillery {

// `QLY:RECORD`, the one record buffer of the catalogue file.
extern QuilleryRecord QLY;

// The name of the catalogue file on disk; its clipped text is the path.
inline constexpr std::size_t kQuilleryFileNameLength = 100;
extern FixedString<kQuilleryFileNameLength> QUILLERYFILE;

// The image of `QLY:RECORD` as it was when the selected entry was loaded.
extern QuilleryRecordImage CURRENTRECORD;

// `CHG:RECORD` (group `CHANGE`): a whole-record scratch copy, used only as a whole. It has the
// record's own layout, so a record copied in and back is unchanged in every field.
extern QuilleryRecord CHG;

}  // namespace quillery
