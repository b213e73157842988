// The commands of quillery-data, each a function of its arguments, the catalogue store and the
// standard streams, returning the exit status.
#pragma once

#include <functional>

#include "app/tools/tool_args.h"
#include "app/tools/tool_context.h"

namespace quillery::tools {

int runCreate(const ToolArguments& args, ToolContext& context);
int runImport(const ToolArguments& args, ToolContext& context);
int runExport(const ToolArguments& args, ToolContext& context);
int runList(const ToolArguments& args, ToolContext& context);
int runCheck(const ToolArguments& args, ToolContext& context);
int runRebuild(const ToolArguments& args, ToolContext& context);
int runInfo(const ToolArguments& args, ToolContext& context);
int runLookup(const ToolArguments& args, ToolContext& context);  // in tool_lookup.cpp
int runAdd(const ToolArguments& args, ToolContext& context);     // in tool_lookup.cpp

// Printing needs the report engine, which the program that runs the tool supplies: without it
// print fails with a message.
using PrintCommand = std::function<int(const ToolArguments& args, ToolContext& context)>;
void setPrintCommand(PrintCommand command);
int runPrint(const ToolArguments& args, ToolContext& context);

// Requires: args.command is set.
int runCommand(const ToolArguments& args, ToolContext& context);

}  // namespace quillery::tools
