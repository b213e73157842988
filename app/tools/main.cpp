// quillery-data: keeps a catalogue file from the command line.
#include <iostream>
#include <string_view>
#include <vector>

#include "app/tools/catalogue_store.h"
#include "app/tools/tool_run.h"
#include "reports/print_command.h"
#include "runtime/dates.h"

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    quillery::tools::setPrintCommand(quillery::printListingCommand);
    const auto store = quillery::tools::makeCatalogueStore();
    const std::int32_t today = quillery::TODAY();
    return quillery::tools::runQuilleryData(args, *store, std::cin, std::cout, std::cerr,
                                            {today, quillery::CLOCK()});
}
