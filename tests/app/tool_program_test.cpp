// quillery-data run as a program, from outside, as a user at a terminal meets it: a folder for a
// CSV, a catalogue only readable to its user, damaged pages, a full output device and files that
// are no catalogue each end with a message and the documented exit status, and change nothing.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/catalogue_csv.h"
#include "app/testing/catalogue_generator.h"
#include "storage/data_file.h"
#include "storage/posix_file.h"
#include "tests/app/damaged_files.h"

namespace quillery::tools {
namespace {

namespace fs = std::filesystem;

struct ProgramRun {
    int status = -1;  // the exit status, or minus the signal that ended it
    std::string out;
    std::string err;
};

using quillery::testing::readBytes;
using quillery::testing::spoilPage;
using quillery::testing::TreeTop;
using quillery::testing::treeTopOf;
using quillery::testing::writeBytes;

class ToolProgram : public ::testing::Test {
  protected:
    // A folder anyone may enter, so that the program can also run as another user.
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quillery-program-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        fs::permissions(dir_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    // Runs quillery-data with `args`, standard input from `input` and standard output to
    // `output` (a file of the test's when empty). `unprivileged`: as a user without any right
    // beyond the file's permissions, which a test run by the superuser needs to see them.
    ProgramRun run(std::vector<std::string> args, const std::string& input = "/dev/null",
                   std::string output = {}, bool unprivileged = false) {
        const std::string outFile = path("stdout.txt"), errFile = path("stderr.txt");
        if (output.empty()) output = outFile;
        args.insert(args.begin(), QUILLERY_DATA_PROGRAM);
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        const bool dropRights = unprivileged && ::geteuid() == 0;
        const pid_t child = ::fork();
        if (child == 0) {
            const int in = ::open(input.c_str(), O_RDONLY);
            const int out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
            const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
            if (in < 0 || out < 0 || err < 0) ::_exit(120);
            ::dup2(in, 0);
            ::dup2(out, 1);
            ::dup2(err, 2);
            constexpr uid_t kNobody = 65534;
            if (dropRights &&
                (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
                ::_exit(121);
            ::execv(argv[0], argv.data());
            ::_exit(122);
        }
        int status = 0;
        ProgramRun r;
        if (::waitpid(child, &status, 0) != child) return r;
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
        r.out = output == outFile ? readBytes(outFile) : "";
        r.err = readBytes(errFile);
        return r;
    }

    // A catalogue of `entries` generated books, made by the program itself.
    std::string catalogue(const std::string& name, std::size_t entries) {
        const std::string file = path(name), csv = path(name + ".csv");
        writeBytes(csv, writeCatalogueCsv(generateCatalogue(entries, 5)));
        EXPECT_EQ(run({"create", file}).status, 0);
        const ProgramRun imported = run({"import", file, csv});
        EXPECT_EQ(imported.status, 0) << imported.err;
        return file;
    }

    fs::path dir_;
};

// The pages a catalogue's root leads to first, and the root itself.
TEST_F(ToolProgram, AFolderGivenAsTheCsvIsAReadFailure) {
    const ProgramRun named = run({"import", "--dry-run", path("x.QLY"), dir_.string()});
    EXPECT_EQ(named.status, 3);
    EXPECT_EQ(named.err,
              "quillery-data: cannot read \"" + dir_.string() + "\": it is a folder, not a file\n");
    const ProgramRun piped = run({"import", "--dry-run", path("x.QLY")}, dir_.string());
    EXPECT_EQ(piped.status, 3);
    EXPECT_EQ(piped.err, "quillery-data: cannot read standard input: it is a folder, not a file\n");
}

TEST_F(ToolProgram, AReadOnlyCatalogueIsCheckedListedAndExportedButNotWritten) {
    const std::string file = catalogue("Books.QLY", 40);
    const std::string exported = run({"export", file}).out;
    ASSERT_FALSE(exported.empty());
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string before = readBytes(file);

    const ProgramRun checked = run({"check", file}, "/dev/null", {}, true);
    EXPECT_EQ(checked.status, 0) << checked.err;
    EXPECT_EQ(checked.out, file + ": sound\n");
    const ProgramRun listed = run({"list", "--key", "AUTHORKEY", file}, "/dev/null", {}, true);
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_FALSE(listed.out.empty());
    const ProgramRun again = run({"export", file}, "/dev/null", {}, true);
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.out, exported);
    EXPECT_EQ(run({"info", file}, "/dev/null", {}, true).status, 0);

    const ProgramRun imported = run({"import", file, path("Books.QLY.csv")}, "/dev/null", {}, true);
    EXPECT_EQ(imported.status, 3);
    EXPECT_EQ(imported.err, "quillery-data: cannot open \"" + file +
                                "\": Access Denied: the catalogue can only be read\n");
    EXPECT_EQ(readBytes(file), before);
}

TEST_F(ToolProgram, CheckReportsEveryDamagedPageAndGoesOn) {
    const std::string file = catalogue("Books.QLY", 300);
    const TreeTop top = treeTopOf(file);
    ASSERT_GE(top.children.size(), 3u);
    std::string bytes = readBytes(file);
    spoilPage(bytes, top.children.front());
    spoilPage(bytes, top.children.back());
    writeBytes(file, bytes);

    const ProgramRun checked = run({"check", file});
    EXPECT_EQ(checked.status, 1) << checked.err;
    for (const std::int64_t page : {top.children.front(), top.children.back()})
        EXPECT_NE(checked.out.find("\n  page " + std::to_string(page) + ": "), std::string::npos)
            << checked.out;
    EXPECT_TRUE(checked.out.ends_with(
        "  key entries and counts were not checked: the file's structure is damaged\n"))
        << checked.out;
    EXPECT_EQ(checked.err, "");
    EXPECT_EQ(readBytes(file), bytes);
}

TEST_F(ToolProgram, OtherCommandsRefuseADamagedCatalogueNamingTheDamage) {
    const std::string file = catalogue("Books.QLY", 300);
    const TreeTop top = treeTopOf(file);
    std::string bytes = readBytes(file);
    spoilPage(bytes, top.root);
    writeBytes(file, bytes);

    const std::string refusal = "quillery-data: \"" + file + "\" is damaged (page " +
                                std::to_string(top.root) + ": its offset field is wrong)";
    for (const std::vector<std::string>& command : {std::vector<std::string>{"export", file},
                                                    {"list", "--key", "TITLEKEYKEY", file},
                                                    {"info", file},
                                                    {"rebuild", file},
                                                    {"import", file, path("Books.QLY.csv")}}) {
        const ProgramRun r = run(command);
        EXPECT_EQ(r.status, 3) << command.front() << ": " << r.err;
        EXPECT_TRUE(r.err.starts_with(refusal)) << command.front() << ": " << r.err;
        EXPECT_TRUE(r.err.ends_with("; nothing was written. 'quillery-data check " + file +
                                    "' reports the faults\n"))
            << r.err;
        EXPECT_TRUE(r.out.empty()) << command.front() << " wrote " << r.out.size() << " bytes";
    }
    const ProgramRun checked = run({"check", file});
    EXPECT_EQ(checked.status, 1);
    EXPECT_TRUE(checked.out.starts_with(file + ": 2 faults\n  page " + std::to_string(top.root)))
        << checked.out;
    EXPECT_EQ(readBytes(file), bytes);
}

TEST_F(ToolProgram, AFullOutputDeviceIsAFailedCommand) {
    const std::string file = catalogue("Books.QLY", 5);
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"list", "--key", "AUTHORKEY", file},
          {"info", file},
          {"check", file},
          {"export", file},
          {"--help"}}) {
        const ProgramRun r = run(command, "/dev/null", "/dev/full");
        EXPECT_EQ(r.status, 3) << command.front();
        EXPECT_EQ(r.err, "quillery-data: cannot write standard output\n") << command.front();
    }
}

TEST_F(ToolProgram, FilesThatAreNoCatalogueAreCalledWhatTheyAre) {
    const std::string empty = path("Empty.QLY"), text = path("Text.QLY");
    writeBytes(empty, "");
    writeBytes(text, "LASTNAME,TITLE\nLee,Mockingbird\n");
    const ProgramRun emptyInfo = run({"info", empty});
    EXPECT_EQ(emptyInfo.status, 3);
    EXPECT_EQ(emptyInfo.err, "quillery-data: cannot open \"" + empty +
                                 "\": the file is empty, so it is not a catalogue\n");
    EXPECT_EQ(run({"check", empty}).err, emptyInfo.err);
    const ProgramRun textInfo = run({"info", text});
    EXPECT_EQ(textInfo.status, 3);
    EXPECT_EQ(textInfo.err, "quillery-data: cannot open \"" + text +
                                "\": it is not a catalogue (it does not begin with a catalogue's "
                                "header)\n");

    // A file cut short, and a header whose root names another page of the tree: the file is
    // there, and damaged.
    const std::string file = catalogue("Books.QLY", 300);
    const TreeTop top = treeTopOf(file);
    std::string bytes = readBytes(file);
    writeBytes(file, bytes.substr(0, bytes.size() / 2));
    const ProgramRun cut = run({"export", file});
    EXPECT_EQ(cut.status, 3);
    EXPECT_EQ(cut.err, "quillery-data: cannot open \"" + file +
                           "\": Invalid Data File (cut short: the file ends before its header "
                           "says)\n");
    const auto wrongRoot = static_cast<std::uint32_t>(top.children.front());
    for (int i = 0; i < 4; ++i)
        bytes[0x1C + i] = static_cast<char>(wrongRoot >> (8 * i));
    writeBytes(file, bytes);
    const ProgramRun damaged = run({"info", file});
    EXPECT_EQ(damaged.status, 3);
    EXPECT_TRUE(damaged.err.starts_with("quillery-data: cannot open \"" + file +
                                        "\": its pages are damaged ("))
        << damaged.err;
    EXPECT_EQ(run({"check", file}).status, 1);
    EXPECT_EQ(readBytes(file), bytes);
}

}  // namespace
}  // namespace quillery::tools
