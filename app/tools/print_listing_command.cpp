#include "app/tools/print_listing_command.h"

#include <unistd.h>

#include <iostream>

#include "reports/print_listing.h"

namespace quillery::tools {

int printListingCommand(const ToolArguments& args, ToolContext& context) {
    PrintRequest request{.catalogue = args.file,
                         .listing = args.listing,
                         .pdf = args.pdf,
                         .replaceAnyFile = args.replace,
                         .pagesDir = args.pagesDir};
    // The progress line only on a terminal, where it is overwritten as it counts.
    if (isatty(STDERR_FILENO) != 0 && &context.err == &std::cerr) request.progress = &context.err;
    const PrintResult result = printListing(request);
    switch (result.outcome) {
        case PrintOutcome::Done:
            context.out << result.text << "\n";
            return ExitStatus::kOk;
        case PrintOutcome::UnknownListing:
            context.err << "quillery-data: " << result.text << "\n";
            return ExitStatus::kUsage;
        case PrintOutcome::Failed:
            break;
    }
    context.err << "quillery-data: " << result.text << "\n";
    return ExitStatus::kFailed;
}

}  // namespace quillery::tools
