// The catalogue's globals; strings start blank and numbers zero.
#include "app/catalogue_globals.h"

namespace quillery {

QuilleryRecord QLY;
FixedString<kQuilleryFileNameLength> QUILLERYFILE;
QuilleryRecordImage CURRENTRECORD;
QuilleryRecord CHG;

}  // namespace quillery
