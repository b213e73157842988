// The declaration of the catalogue file `QUILLERY`: its fields, keys and name variable as the
// storage engine's file layer reads them at open and create, and the catalogue file names.
#pragma once

#include <cstdint>
#include <string_view>

#include "app/quillery_record.h"
#include "runtime/fixed_string.h"
#include "storage/table_definition_declaration.h"

namespace quillery {

inline constexpr std::string_view kDefaultCatalogueName = "Quillery.QLY";
inline constexpr std::string_view kExampleCatalogueName = "Awards.QLY";

// Numbers of the file's fields, counted from 1 over the field list with the groups.
namespace QuilleryField {
inline constexpr std::int16_t DELETED = 1;
inline constexpr std::int16_t ISBN = 2;
inline constexpr std::int16_t CONDITION = 3;
inline constexpr std::int16_t LOCATION = 4;
inline constexpr std::int16_t BUYDATE = 5;
inline constexpr std::int16_t EDITION = 6;
inline constexpr std::int16_t PRINTDATE = 7;
inline constexpr std::int16_t VALUE = 8;
inline constexpr std::int16_t OTHER = 9;
inline constexpr std::int16_t PUBDATE = 10;
inline constexpr std::int16_t RATING = 11;
inline constexpr std::int16_t CREATED = 12;
inline constexpr std::int16_t CREATEDDATE = 13;
inline constexpr std::int16_t CREATEDTIME = 14;
inline constexpr std::int16_t CHANGED = 15;
inline constexpr std::int16_t CHANGEDDATE = 16;
inline constexpr std::int16_t CHANGEDTIME = 17;
inline constexpr std::int16_t NAMEKEY = 18;
inline constexpr std::int16_t TITLEKEY = 19;
inline constexpr std::int16_t LASTNAME = 20;
inline constexpr std::int16_t FIRSTNAME = 21;
inline constexpr std::int16_t TITLE = 22;
inline constexpr std::int16_t LISTBYTITLE = 23;
inline constexpr std::int16_t PHONES = 24;
inline constexpr std::int16_t CATEGORY = 25;
inline constexpr std::int16_t CONTENTS = 26;
}  // namespace QuilleryField
inline constexpr std::size_t kQuilleryFieldCount = 26;

// The file declaration: label QUILLERY, prefix QLY, driver VELTRANE, named by QUILLERYFILE,
// record buffer QLY. No owner, no password, no encryption; created when missing.
extern const storage::TableDeclaration QUILLERY;

// A second catalogue file of the same declaration, open beside QUILLERY while a catalogue is
// copied: named by COPYFILE, record buffer COPYRECORD.
extern const storage::TableDeclaration QUILLERYCOPY;
extern QuilleryRecord COPYRECORD;
extern FixedString<100> COPYFILE;

}  // namespace quillery
