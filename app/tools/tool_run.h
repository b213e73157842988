// quillery-data from its arguments to its exit status: the command line read, help or a usage
// error answered, the command run.
#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

#include "app/quillery_record.h"
#include "app/tools/catalogue_store.h"

namespace quillery::tools {

// `args` are the arguments after the program's name.
int runQuilleryData(std::span<const std::string_view> args, CatalogueStore& store, std::istream& in,
                    std::ostream& out, std::ostream& err, QuilleryStamp now);

}  // namespace quillery::tools
