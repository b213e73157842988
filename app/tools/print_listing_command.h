// `quillery-data print`: the tool's arguments turned into a headless print request, and its
// result into a message and an exit status.
#pragma once

#include "app/tools/tool_commands.h"

namespace quillery::tools {

// Runs print for quillery-data. Requires: args.command is print.
int printListingCommand(const ToolArguments& args, ToolContext& context);

}  // namespace quillery::tools
