// quillery-data's command line: what each form of it is read as, and the exact complaint about
// each wrong one.
#include "app/tools/tool_args.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillery::tools {
namespace {

ToolArgumentsParse parse(const std::vector<std::string_view>& args) {
    return parseToolArguments(args);
}

ToolArguments parsedOk(const std::vector<std::string_view>& args) {
    const ToolArgumentsParse result = parse(args);
    EXPECT_TRUE(result.arguments.has_value()) << result.error;
    return result.arguments.value_or(ToolArguments{});
}

TEST(ToolArgs, ReadsEachCommand) {
    struct Case {
        std::vector<std::string_view> args;
        ToolCommand command;
        std::string file;
        std::string csv;
    };
    const std::vector<Case> cases = {
        {{"create", "Books.QLY"}, ToolCommand::kCreate, "Books.QLY", ""},
        {{"import", "Books.QLY", "books.csv"}, ToolCommand::kImport, "Books.QLY", "books.csv"},
        {{"import", "Books.QLY"}, ToolCommand::kImport, "Books.QLY", ""},
        {{"import", "Books.QLY", "-"}, ToolCommand::kImport, "Books.QLY", "-"},
        {{"export", "Books.QLY", "out.csv"}, ToolCommand::kExport, "Books.QLY", "out.csv"},
        {{"export", "Books.QLY"}, ToolCommand::kExport, "Books.QLY", ""},
        {{"check", "a b.QLY"}, ToolCommand::kCheck, "a b.QLY", ""},
        {{"rebuild", "Books.QLY"}, ToolCommand::kRebuild, "Books.QLY", ""},
        {{"info", "Books.QLY"}, ToolCommand::kInfo, "Books.QLY", ""},
        {{"check", "--", "-odd.QLY"}, ToolCommand::kCheck, "-odd.QLY", ""},
    };
    for (const Case& c : cases) {
        const ToolArguments a = parsedOk(c.args);
        EXPECT_EQ(a.command, c.command) << c.args[0];
        EXPECT_EQ(a.file, c.file);
        EXPECT_EQ(a.csv, c.csv);
        EXPECT_FALSE(a.help);
        EXPECT_FALSE(a.dryRun);
        EXPECT_FALSE(a.all);
        EXPECT_FALSE(a.key.has_value());
    }
}

TEST(ToolArgs, ReadsOptionsWhereverTheyStand) {
    const ToolArguments dry = parsedOk({"import", "Books.QLY", "--dry-run", "in.csv"});
    EXPECT_TRUE(dry.dryRun);
    EXPECT_EQ(dry.csv, "in.csv");

    const ToolArguments print =
        parsedOk({"print", "--pdf", "o.pdf", "Books.QLY", "--listing", "isbn", "--pages", "p"});
    EXPECT_EQ(print.command, ToolCommand::kPrint);
    EXPECT_EQ(print.listing, "isbn");
    EXPECT_EQ(print.pdf, "o.pdf");
    EXPECT_EQ(print.pagesDir, "p");
    EXPECT_EQ(print.file, "Books.QLY");

    const ToolArguments list = parsedOk({"list", "Books.QLY", "--key", "authorkey"});
    EXPECT_EQ(list.key, QuilleryKey::AUTHORKEY);
    EXPECT_FALSE(list.all);

    const ToolArguments listAll = parsedOk({"list", "--all", "--key=QLY:TitleKeyKey", "B.QLY"});
    EXPECT_EQ(listAll.key, QuilleryKey::TITLEKEYKEY);
    EXPECT_TRUE(listAll.all);
    EXPECT_EQ(listAll.file, "B.QLY");

    const ToolArguments created = parsedOk({"list", "--key", "CREATEDKEY", "B.QLY"});
    EXPECT_EQ(created.key, QuilleryKey::CREATEDKEY);
    const ToolArguments value = parsedOk({"list", "--key", "valuekey", "B.QLY"});
    EXPECT_EQ(value.key, QuilleryKey::VALUEKEY);
}

TEST(ToolArgs, AsksForHelp) {
    const ToolArguments general = parsedOk({"--help"});
    EXPECT_TRUE(general.help);
    EXPECT_FALSE(general.command.has_value());
    EXPECT_TRUE(parsedOk({"-h"}).help);

    const ToolArguments aboutImport = parsedOk({"help", "import"});
    EXPECT_TRUE(aboutImport.help);
    EXPECT_EQ(aboutImport.command, ToolCommand::kImport);

    // A command's --help needs none of its other arguments.
    const ToolArguments aboutList = parsedOk({"list", "--help"});
    EXPECT_TRUE(aboutList.help);
    EXPECT_EQ(aboutList.command, ToolCommand::kList);
}

TEST(ToolArgs, ComplainsPreciselyAboutWrongCommandLines) {
    struct Case {
        std::vector<std::string_view> args;
        std::string error;
        std::optional<ToolCommand> command;
    };
    const std::vector<Case> cases = {
        {{}, "no command given", std::nullopt},
        {{"frobnicate", "x"}, "unknown command \"frobnicate\"", std::nullopt},
        {{"--verbose"}, "unknown option \"--verbose\"", std::nullopt},
        {{"help", "nothing"}, "unknown command \"nothing\"", std::nullopt},
        {{"help", "list", "check"}, "help takes one command name", std::nullopt},
        {{"create"}, "create needs the catalogue FILE", ToolCommand::kCreate},
        {{"create", "a", "b"}, "too many arguments for create: \"b\"", ToolCommand::kCreate},
        {{"import", "a", "b", "c"}, "too many arguments for import: \"c\"", ToolCommand::kImport},
        {{"import", "--dry-run"}, "import needs the catalogue FILE", ToolCommand::kImport},
        {{"export", "a", "--dry-run"},
         "unknown option \"--dry-run\" for export",
         ToolCommand::kExport},
        {{"check", "a", "--key", "AUTHORKEY"},
         "unknown option \"--key\" for check",
         ToolCommand::kCheck},
        {{"info", "-x", "a"}, "unknown option \"-x\" for info", ToolCommand::kInfo},
        {{"list", "a"}, "list needs --key NAME", ToolCommand::kList},
        {{"print", "a"}, "print needs --listing NAME", ToolCommand::kPrint},
        {{"print", "a", "--pdf"}, "--pdf needs a value", ToolCommand::kPrint},
        {{"print", "--pages", "d", "--pages", "e", "a"},
         "--pages given twice",
         ToolCommand::kPrint},
        {{"list", "--listing", "author", "a"},
         "unknown option \"--listing\" for list",
         ToolCommand::kList},
        {{"list", "a", "--key"}, "--key needs a key name", ToolCommand::kList},
        {{"list", "a", "--key", "AUTHOR"},
         "unknown key \"AUTHOR\"; the keys are CREATEDKEY, DELETEKEY, TITLEKEYKEY, AUTHORKEY, "
         "DATEKEY, CATEGORYKEY, RATINGKEY, OTHERKEY, ISBNKEY, PUBDATEKEY, CONDITIONKEY, "
         "LOCATIONKEY, BUYDATEKEY, EDITIONKEY, PRINTDATEKEY, VALUEKEY",
         ToolCommand::kList},
        {{"list", "a", "--key", "AUTHORKEY", "--key=DATEKEY"},
         "--key given twice",
         ToolCommand::kList},
        {{"rebuild", "-"}, "the catalogue FILE must be a file, not \"-\"", ToolCommand::kRebuild},
    };
    for (const Case& c : cases) {
        const ToolArgumentsParse result = parse(c.args);
        EXPECT_FALSE(result.arguments.has_value()) << c.error;
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(result.command, c.command) << c.error;
    }
}

TEST(ToolArgs, NamesCommandsAndKeysBothWays) {
    for (ToolCommand command :
         {ToolCommand::kCreate, ToolCommand::kImport, ToolCommand::kExport, ToolCommand::kList,
          ToolCommand::kCheck, ToolCommand::kRebuild, ToolCommand::kInfo, ToolCommand::kPrint}) {
        EXPECT_EQ(commandNamed(commandName(command)), command);
    }
    EXPECT_FALSE(commandNamed("IMPORT").has_value()) << "commands are lower case";
    for (std::size_t i = 0; i < kQuilleryKeyCount; ++i) {
        const auto key = static_cast<QuilleryKey>(i);
        EXPECT_EQ(keyNamed(keyName(key)), key);
    }
    EXPECT_EQ(keyName(QuilleryKey::DELETEKEY), "DELETEKEY");
    EXPECT_EQ(keyName(QuilleryKey::VALUEKEY), "VALUEKEY");
    EXPECT_FALSE(keyNamed("QLY:").has_value());
    EXPECT_FALSE(keyNamed("").has_value());
}

}  // namespace
}  // namespace quillery::tools
