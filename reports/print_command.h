// `quillery-data print`: a listing printed, or written as a PDF, from the command line with the
// same listing table, page layout and report engine as the program, and no windows.
#pragma once

#include "app/tools/tool_commands.h"

namespace quillery {

// Runs print for quillery-data. Requires: args.command is print.
int printListingCommand(const tools::ToolArguments& args, tools::ToolContext& context);

}  // namespace quillery
