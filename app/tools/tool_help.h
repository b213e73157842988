// The texts of quillery-data --help and of each command's usage.
#pragma once

#include <string>

#include "app/tools/tool_args.h"

namespace quillery::tools {

std::string toolHelp();
// "usage: quillery-data import [--dry-run] FILE [CSV]"
std::string commandUsage(ToolCommand command);
// The usage line and what the command does.
std::string commandHelp(ToolCommand command);

}  // namespace quillery::tools
