// The command line of quillery-data, read into what the commands need or a usage error.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/exchange/exchange_format.h"
#include "app/quillery_record.h"

namespace quillery::tools {

enum class ToolCommand {
    kCreate,
    kImport,
    kExport,
    kList,
    kCheck,
    kRebuild,
    kInfo,
    kPrint,
    kLookup,
    kAdd,
};

struct ToolArguments {
    bool help = false;                   // --help: about `command`, or the whole tool
    std::optional<ToolCommand> command;  // none only with help
    std::string file;                    // the catalogue (none for lookup)
    std::vector<std::string> isbns;      // lookup ISBN..., add --isbn ISBN...
    std::string csv;                 // import's source, export's target; "" or "-": stdin/stdout
    std::optional<QuilleryKey> key;  // list --key
    bool dryRun = false;             // import --dry-run
    bool toIsbn13 = false;           // import, add --isbn13: an ISBN-10 stored as its ISBN-13
    bool all = false;                // list --all: superseded versions too
    std::string listing;             // print --listing: "author", "title", ...
    std::string pdf;                 // print --pdf: the PDF to write instead of printing
    std::string pagesDir;            // print --pages: where to keep the page image files
    bool replace = false;            // print --replace: the PDF may replace a file of any kind
    // import --from, export --to; none: import tells it from the header, export writes ours
    std::optional<exchange::ExchangeFormat> format;
};

struct ToolArgumentsParse {
    std::optional<ToolArguments> arguments;
    std::string error;                   // what is wrong, when arguments is empty
    std::optional<ToolCommand> command;  // the command the error concerns, if known
};

// Reads the arguments after the program's name.
ToolArgumentsParse parseToolArguments(std::span<const std::string_view> args);

std::optional<ToolCommand> commandNamed(std::string_view name);
std::string_view commandName(ToolCommand command);

// A key by its name: case-insensitive, with or without the "QLY:" prefix.
std::optional<QuilleryKey> keyNamed(std::string_view name);
std::string_view keyName(QuilleryKey key);

}  // namespace quillery::tools
