// The front of quillery-data.
#include "app/tools/tool_run.h"

#include <ostream>

#include "runtime/fatal.h"
#include "storage/storage_fault.h"
#include "storage/storage_options.h"

#include "app/tools/tool_args.h"
#include "app/tools/tool_commands.h"
#include "app/tools/tool_help.h"

namespace quillery::tools {

namespace {

// What went to standard output must have arrived: a full disk or a closed pipe is a failed
// command, not a silent loss of its report.
int checkedOutput(int status, std::ostream& out, std::ostream& err) {
    out.flush();
    // A command that failed has said why; a failed write may be that reason.
    if (out || status == ExitStatus::kFailed) return status;
    err << "quillery-data: cannot write standard output\n";
    return ExitStatus::kFailed;
}

// The words for damage the engine met while reading: the command ends with them and its exit
// status instead of the program's fatal report. Nothing was written: a change reaches the file
// only at a commit, and one cut short is undone at the next open.
[[noreturn]] void endWithDamage(const ToolArguments& args, ToolContext& context,
                                const storage::StorageFault& fault) {
    const std::string damage = storage::faultSummary(fault);
    if (args.command == ToolCommand::kCheck) {
        context.out << args.file << ": 1 fault\n  " << damage << "\n";
        endProgram(checkedOutput(ExitStatus::kFaultsFound, context.out, context.err));
    }
    context.out.flush();
    context.err << "quillery-data: \"" << args.file << "\" is damaged (" << damage
                << "); nothing was written. 'quillery-data check " << args.file
                << "' reports the faults\n";
    endProgram(ExitStatus::kFailed);
}

// While a command runs, storage faults end it through endWithDamage.
class DamageEndsTheCommand {
  public:
    DamageEndsTheCommand(const ToolArguments& args, ToolContext& context)
        : scoped_(withHandler(args, context)) {}

  private:
    static storage::StorageOptions withHandler(const ToolArguments& args, ToolContext& context) {
        storage::StorageOptions options = storage::storageOptions();
        options.faultHandler = [&](const storage::StorageFault& fault) {
            endWithDamage(args, context, fault);
        };
        return options;
    }
    storage::ScopedStorageOptions scoped_;
};

}  // namespace

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
        return checkedOutput(ExitStatus::kOk, out, err);
    }
    ToolContext context{store, in, out, err, now};
    const DamageEndsTheCommand damageEndsTheCommand(arguments, context);
    return checkedOutput(runCommand(arguments, context), out, err);
}

}  // namespace quillery::tools
