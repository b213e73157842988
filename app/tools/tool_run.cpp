// The front of quillery-data.
#include "app/tools/tool_run.h"

#include <ostream>

#include "app/tools/tool_args.h"
#include "app/tools/tool_commands.h"
#include "app/tools/tool_help.h"

namespace quillery::tools {

int runQuilleryData(std::span<const std::string_view> args, CatalogueStore& store, std::istream& in,
                    std::ostream& out, std::ostream& err, QuilleryStamp now) {
    const ToolArgumentsParse parse = parseToolArguments(args);
    if (!parse.arguments) {
        err << "quillery-data: " << parse.error << "\n";
        if (parse.command) err << commandUsage(*parse.command) << "\n";
        err << "'quillery-data --help' lists the commands.\n";
        return ExitStatus::kUsage;
    }
    const ToolArguments& arguments = *parse.arguments;
    if (arguments.help) {
        out << (arguments.command ? commandHelp(*arguments.command) : toolHelp());
        return ExitStatus::kOk;
    }
    ToolContext context{store, in, out, err, now};
    return runCommand(arguments, context);
}

}  // namespace quillery::tools
