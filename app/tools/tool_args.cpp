// Reading quillery-data's command line.
#include "app/tools/tool_args.h"

#include <array>
#include <utility>
#include <vector>

#include "runtime/case_compare.h"

namespace quillery::tools {

namespace {

constexpr std::array<std::pair<std::string_view, ToolCommand>, 10> kCommands{{
    {"create", ToolCommand::kCreate},
    {"import", ToolCommand::kImport},
    {"export", ToolCommand::kExport},
    {"list", ToolCommand::kList},
    {"check", ToolCommand::kCheck},
    {"rebuild", ToolCommand::kRebuild},
    {"info", ToolCommand::kInfo},
    {"print", ToolCommand::kPrint},
    {"lookup", ToolCommand::kLookup},
    {"add", ToolCommand::kAdd},
}};

// How many positional arguments (FILE, CSV) a command takes.
std::pair<std::size_t, std::size_t> positionalRange(ToolCommand command) {
    switch (command) {
        case ToolCommand::kImport:
        case ToolCommand::kExport:
            return {1, 2};
        default:
            return {1, 1};
    }
}

// The option naming the other side's format: where an import comes from, where an export
// goes.
std::string_view formatOption(ToolCommand command) {
    if (command == ToolCommand::kImport) return "--from";
    if (command == ToolCommand::kExport) return "--to";
    return {};
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

class Parser {
  public:
    explicit Parser(std::span<const std::string_view> args) : args_(args) {}

    ToolArgumentsParse run() {
        if (args_.empty()) return fail("no command given");
        ToolArguments parsed;
        const std::string_view first = args_[0];
        if (first == "--help" || first == "-h" || first == "help") {
            parsed.help = true;
            if (args_.size() == 1) return done(parsed);
            if (args_.size() > 2) return fail("help takes one command name");
            parsed.command = commandNamed(args_[1]);
            if (!parsed.command) return fail("unknown command " + quoted(args_[1]));
            return done(parsed);
        }
        parsed.command = commandNamed(first);
        if (!parsed.command) {
            return fail(first.starts_with("-") ? "unknown option " + quoted(first)
                                               : "unknown command " + quoted(first));
        }
        command_ = parsed.command;
        return readCommandArguments(parsed);
    }

  private:
    ToolArgumentsParse readCommandArguments(ToolArguments& parsed) {
        const ToolCommand command = *parsed.command;
        const std::string name(commandName(command));
        std::vector<std::string_view> positional;
        bool optionsEnded = false;
        bool isbnsGiven = false;
        for (std::size_t i = 1; i < args_.size(); ++i) {
            const std::string_view arg = args_[i];
            if (optionsEnded || arg == "-" || !arg.starts_with("-")) {
                positional.push_back(arg);
            } else if (arg == "--") {
                optionsEnded = true;
            } else if (arg == "--help" || arg == "-h") {
                parsed.help = true;
            } else if (arg == "--dry-run" && command == ToolCommand::kImport) {
                parsed.dryRun = true;
            } else if (arg == "--isbn" && command == ToolCommand::kAdd) {
                isbnsGiven = true;
            } else if (arg == "--isbn13" &&
                       (command == ToolCommand::kImport || command == ToolCommand::kAdd)) {
                parsed.toIsbn13 = true;
            } else if (const std::string_view option = formatOption(command);
                       !option.empty() &&
                       (arg == option || arg.starts_with(std::string(option) + "="))) {
                std::string_view value;
                if (arg == option) {
                    if (i + 1 == args_.size()) return fail(std::string(arg) + " needs a format");
                    value = args_[++i];
                } else {
                    value = arg.substr(option.size() + 1);
                }
                if (parsed.format) return fail(std::string(option) + " given twice");
                parsed.format = exchange::exchangeFormatNamed(value);
                const bool exporting = command == ToolCommand::kExport;
                if (!parsed.format || (exporting && !exchange::canExport(*parsed.format))) {
                    return fail("unknown format " + quoted(value) + "; the formats " +
                                (exporting ? "to export to" : "to import from") + " are " +
                                exchange::exchangeFormatNames(exporting));
                }
            } else if (arg == "--replace" && command == ToolCommand::kPrint) {
                parsed.replace = true;
            } else if (arg == "--all" && command == ToolCommand::kList) {
                parsed.all = true;
            } else if ((arg == "--key" || arg.starts_with("--key=")) &&
                       command == ToolCommand::kList) {
                std::string_view value;
                if (arg == "--key") {
                    if (i + 1 == args_.size()) return fail("--key needs a key name");
                    value = args_[++i];
                } else {
                    value = arg.substr(6);
                }
                if (parsed.key) return fail("--key given twice");
                parsed.key = keyNamed(value);
                if (!parsed.key) return fail("unknown key " + quoted(value) + "; " + keyList());
            } else if (command == ToolCommand::kPrint &&
                       (arg == "--listing" || arg == "--pdf" || arg == "--pages")) {
                if (i + 1 == args_.size()) return fail(std::string(arg) + " needs a value");
                std::string& value = arg == "--listing" ? parsed.listing
                                     : arg == "--pdf"   ? parsed.pdf
                                                        : parsed.pagesDir;
                if (!value.empty()) return fail(std::string(arg) + " given twice");
                value = std::string(args_[++i]);
                if (value.empty()) return fail(std::string(arg) + " needs a value");
            } else {
                return fail("unknown option " + quoted(arg) + " for " + name);
            }
        }
        if (parsed.help) return done(parsed);
        if (command == ToolCommand::kLookup) {
            if (positional.empty()) return fail("lookup needs at least one ISBN");
            parsed.isbns.assign(positional.begin(), positional.end());
            return done(parsed);
        }
        if (command == ToolCommand::kAdd) {
            // add --isbn ISBN... FILE: the catalogue comes last.
            if (!isbnsGiven || positional.size() < 2) {
                return fail("add needs --isbn, at least one ISBN and the catalogue FILE");
            }
            parsed.isbns.assign(positional.begin(), positional.end() - 1);
            positional.erase(positional.begin(), positional.end() - 1);
        }

        const auto [least, most] = positionalRange(command);
        if (positional.size() < least) return fail(name + " needs the catalogue FILE");
        if (positional.size() > most) {
            return fail("too many arguments for " + name + ": " + quoted(positional[most]));
        }
        parsed.file = std::string(positional[0]);
        if (parsed.file == "-") return fail("the catalogue FILE must be a file, not \"-\"");
        if (positional.size() > 1) parsed.csv = std::string(positional[1]);
        if (command == ToolCommand::kList && !parsed.key) return fail("list needs --key NAME");
        if (command == ToolCommand::kPrint && parsed.listing.empty())
            return fail("print needs --listing NAME");
        return done(parsed);
    }

    static std::string keyList() {
        std::string text = "the keys are";
        for (std::size_t i = 0; i < kQuilleryKeyCount; ++i) {
            text += (i == 0 ? " " : ", ");
            text += shortKeyName(static_cast<QuilleryKey>(i));
        }
        return text;
    }

    ToolArgumentsParse fail(std::string error) const { return {std::nullopt, error, command_}; }
    ToolArgumentsParse done(ToolArguments parsed) const {
        return {std::move(parsed), {}, command_};
    }

    std::span<const std::string_view> args_;
    std::optional<ToolCommand> command_;
};

}  // namespace

ToolArgumentsParse parseToolArguments(std::span<const std::string_view> args) {
    return Parser(args).run();
}

std::optional<ToolCommand> commandNamed(std::string_view name) {
    for (const auto& [text, command] : kCommands) {
        if (text == name) return command;
    }
    return std::nullopt;
}

std::string_view commandName(ToolCommand command) {
    for (const auto& [text, each] : kCommands) {
        if (each == command) return text;
    }
    return {};
}

std::optional<QuilleryKey> keyNamed(std::string_view name) {
    if (name.size() > 4 && equalsIgnoringCase(name.substr(0, 4), "QLY:")) name.remove_prefix(4);
    for (std::size_t i = 0; i < kQuilleryKeyCount; ++i) {
        const auto key = static_cast<QuilleryKey>(i);
        if (equalsIgnoringCase(name, shortKeyName(key))) return key;
    }
    return std::nullopt;
}

std::string_view keyName(QuilleryKey key) {
    return shortKeyName(key);
}

}  // namespace quillery::tools
