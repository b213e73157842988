// quillery-data: keeps a catalogue file from the command line.
//
// Every engine runs with its default options: a fault is reported on standard error and ends the
// tool with status 2, dates come from the system clock, the storage engine waits ten seconds for
// another program's lock, and print requests go to the system's default printer, with page images
// in TMPDIR. The options' headers: runtime/runtime_options.h, storage/storage_options.h,
// report_engine/report_options.h.
#include <exception>
#include <iostream>
#include <string_view>
#include <vector>

#include "app/tools/catalogue_store.h"
#include "app/tools/print_listing_command.h"
#include "app/tools/tool_commands.h"
#include "app/tools/tool_run.h"
#include "runtime/dates.h"

int main(int argc, char** argv) {
    // The commands answer every failure they foresee with a message and an exit status; this is
    // the last resort for one they do not, so that it too ends with a word and status 3.
    try {
        const std::vector<std::string_view> args(argv + 1, argv + argc);
        quillery::tools::setPrintCommand(quillery::tools::printListingCommand);
        const auto store = quillery::tools::makeCatalogueStore();
        const std::int32_t today = quillery::TODAY();
        return quillery::tools::runQuilleryData(args, *store, std::cin, std::cout, std::cerr,
                                                {today, quillery::CLOCK()});
    } catch (const std::exception& failure) {
        std::cerr << "quillery-data: failed: " << failure.what() << "\n";
    } catch (...) {
        std::cerr << "quillery-data: failed for a reason it cannot name\n";
    }
    return quillery::tools::ExitStatus::kFailed;
}
