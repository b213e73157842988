// The catalogue commands of the File menu and the category tabs as entries come and go.
#include <gtest/gtest.h>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/window/catalogue_damage.h"
#include "app/window/catalogue_transaction.h"
#include "app/window/damage_guard.h"
#include "app/window/display_quillery.h"
#include "app/window/file_commands.h"
#include "app/window/main_window_globals.h"
#include "storage/access_mode.h"
#include "tests/app/damaged_files.h"
#include "tests/app/window/main_window_support.h"
#include "tests/storage/process_test_support.h"

namespace quillery::testing {
namespace {

using namespace script;
namespace W = displayquillery;
using Rows = std::vector<std::string>;

std::string caption() {
    return PROP(0, Prop::Text).text();
}

TEST_F(MainWindowTest, ANewCategoryTabKeepsTheSelectedTabOnItsLabel) {
    writeCatalogue("Books.QLY", {book("Holmes", "Richard", "Coleridge", "Biography"),
                                 book("Tomalin", "Claire", "Pepys", "Biography"),
                                 book("Keats", "John", "Odes", "Poetry")});
    ScriptedSession s;
    s.then(dismissSplash())
        .then(chooseTab(W::ALL + 1))
        .then(type(W::QLY_CATEGORY, "Art"))
        .then(click(W::SAVE))
        .then(inspect("art",
                      [&](Window& w) {
                          EXPECT_EQ(tabTexts(w), (Rows{"ALL", "Art", "Biography", "Poetry"}));
                          EXPECT_EQ(selectedTab(w), "Biography");
                          EXPECT_EQ(listedRows(w), (Rows{"Tomalin, Claire (Pepys)"}));
                      }))
        // The last biography leaves: its tab goes, and the sheet returns to "ALL".
        .then(type(W::QLY_CATEGORY, "Art"))
        .then(click(W::SAVE))
        .then(inspect("no biography",
                      [&](Window& w) {
                          EXPECT_EQ(tabTexts(w), (Rows{"ALL", "Art", "Poetry"}));
                          EXPECT_EQ(selectedTab(w), "ALL");
                          EXPECT_EQ(listedRows(w).size(), 3u);
                      }))
        .then(chooseTab(W::ALL + 2))
        .then(inspect("poetry", [&](Window& w) { EXPECT_EQ(selectedTab(w), "Poetry"); }))
        .then(click(W::NEW))
        .then(type(W::QLY_LASTNAME, "Blake"))
        .then(click(W::SAVE))
        .then(choose(W::BOOKLIST, 1))
        .then(type(W::QLY_CATEGORY, "Architecture"))
        .then(choose(W::BOOKLIST, 2))
        .then(inspect("follows its label",
                      [&](Window& w) {
                          EXPECT_EQ(tabTexts(w), (Rows{"ALL", "Architecture", "Art", "Poetry"}));
                          EXPECT_EQ(selectedTab(w), "Poetry");
                          EXPECT_EQ(listedRows(w), (Rows{"Keats, John (Odes)"}));
                      }))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Books.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    EXPECT_TRUE(catalogueFaults("Books.QLY").empty());
}

TEST_F(MainWindowTest, FileCommandsOpenCreateAndCopyCatalogues) {
    writeCatalogue("Mine.QLY", {book("Austen", "Jane", "Emma")});
    ScriptedSession s;
    s.then(dismissSplash())
        // The example catalogue is built from the entries the program carries.
        .then(menu(W::AWARDS))
        .then(inspect("awards",
                      [&](Window& w) {
                          EXPECT_EQ(caption(),
                                    "'Quillery ZE- The Personal Librarian' (Awards.QLY)");
                          EXPECT_EQ(listedRows(w).size(), 110u);
                          EXPECT_GT(tabTexts(w).size(), 2u);
                      }))
        .then(menu(W::FILEOPEN))
        .then(answerFileDialog(path("Mine.QLY")))
        .then(inspect("mine",
                      [&](Window& w) {
                          EXPECT_EQ(caption(), "'Quillery ZE- The Personal Librarian' (Mine.QLY)");
                          EXPECT_EQ(tabTexts(w), (Rows{"ALL"}));
                      }))
        // A pending edit is saved before the copy is made.
        .then(type(W::QLY_TITLE, "Persuasion"))
        .then(menu(W::FILESAVEAS))
        .then(answerFileDialog(path("Copy")))
        .then(inspect("copy",
                      [&](Window& w) {
                          EXPECT_EQ(caption(), "'Quillery ZE- The Personal Librarian' (Copy.QLY)");
                          EXPECT_EQ(listedRows(w), (Rows{"Austen, Jane (Persuasion)"}));
                      }))
        .then(menu(W::FILESAVEAS))
        .then(answerFileDialog(path("Mine.QLY")))
        .then(answerMessageBox(BUTTON::No))  // replace it? no
        .then(menu(W::FILENEW))
        .then(answerFileDialog(path("Mine.QLY")))
        .then(answerMessageBox(BUTTON::OK))  // it exists already
        .then(menu(W::FILENEW))
        .then(answerFileDialog(path("Fresh.QLY")))
        .then(inspect("fresh",
                      [&](Window& w) {
                          EXPECT_EQ(caption(), "'Quillery ZE- The Personal Librarian' (Fresh.QLY)");
                          EXPECT_TRUE(listedRows(w).empty());
                      }))
        .then(menu(W::FILEOPEN))
        .then(answerFileDialog(""))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Mine.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    ASSERT_EQ(s.messageBoxes().size(), 2u);
    EXPECT_EQ(s.messageBoxes()[0].text,
              "The file Mine.QLY already exists.  Do you want to replace it?");
    EXPECT_EQ(s.messageBoxes()[1].caption, "New Quillery File");
    EXPECT_EQ(currentTitles("Mine.QLY"), (Rows{"Persuasion"}));
    EXPECT_EQ(currentTitles("Copy.QLY"), (Rows{"Persuasion"}));
    EXPECT_EQ(fileRecords("Fresh.QLY").size(), 1u);
    EXPECT_EQ(currentTitles("Awards.QLY").size(), 110u);
    for (const char* name : {"Mine.QLY", "Copy.QLY", "Awards.QLY"})
        EXPECT_TRUE(catalogueFaults(name).empty()) << name;
}

TEST_F(MainWindowTest, ALockedOrDamagedCatalogueIsReportedAndLeftAlone) {
    writeCatalogue("Mine.QLY", {book("Austen", "Jane", "Emma")});
    writeCatalogue("Locked.QLY", {book("Zola", "Emile", "Germinal")});
    { std::ofstream("Damaged.QLY") << "This is not a catalogue at all, just some words.\n"; }
    const auto damagedBefore = std::filesystem::file_size("Damaged.QLY");
    // Another program has the catalogue open for writing, and lets nobody else in.
    COPYFILE = path("Locked.QLY");
    OPEN(QUILLERYCOPY, storage::AccessMode::kReadWrite | storage::AccessMode::kDenyAll);
    ASSERT_EQ(errorCode(), 0);
    ScriptedSession s;
    s.then(dismissSplash())
        .then(menu(W::FILEOPEN))
        .then(answerFileDialog(path("Locked.QLY")))
        .then(answerMessageBox(BUTTON::OK))
        .then(inspect("still mine",
                      [&](Window& w) {
                          EXPECT_EQ(caption(), "'Quillery ZE- The Personal Librarian' (Mine.QLY)");
                          EXPECT_EQ(listedRows(w), (Rows{"Austen, Jane (Emma)"}));
                      }))
        .then(menu(W::FILEOPEN))
        .then(answerFileDialog(path("Damaged.QLY")))
        .then(answerMessageBox(BUTTON::OK))
        .then(click(W::NEW))
        .then(type(W::QLY_LASTNAME, "Eliot"))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Mine.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    CLOSE(QUILLERYCOPY);
    ASSERT_EQ(s.messageBoxes().size(), 2u);
    EXPECT_EQ(s.messageBoxes()[0].caption, "File Access Error");
    EXPECT_EQ(s.messageBoxes()[0].text,
              "File (Locked.QLY) could not be opened.  Error: Access Denied (5).");
    EXPECT_EQ(s.messageBoxes()[1].caption, "Not a Catalogue");
    EXPECT_EQ(s.messageBoxes()[1].text,
              "The file Damaged.QLY is not a catalogue: it does not begin with a catalogue's "
              "header.\nIt was not opened, and nothing was written to it.");
    EXPECT_EQ(std::filesystem::file_size("Damaged.QLY"), damagedBefore);
    EXPECT_EQ(currentTitles("Locked.QLY"), (Rows{"Germinal"}));
    EXPECT_EQ(currentTitles("Mine.QLY"), (Rows{"Emma", ""}));
}

TEST_F(MainWindowTest, SaveAsNeverReplacesACatalogueAnotherProgramHasOpen) {
    using storage::testing::Turn;
    writeCatalogue("Mine.QLY", {book("Austen", "Jane", "Emma")});
    writeCatalogue("Shared.QLY", {book("Zola", "Emile", "Germinal")});
    // Another copy of the program has Shared.QLY open, and saves into it after our attempt.
    Turn opened, attempted;
    const pid_t other = storage::testing::forkChild([&] {
        auto store = tools::makeCatalogueStore();
        if (!store->open(path("Shared.QLY"), tools::StoreAccess::kReadWrite).ok()) return 1;
        opened.give();
        if (!attempted.take()) return 2;
        if (!store->begin().ok() || !store->add(book("Hugo", "Victor", "Notre-Dame")).ok() ||
            !store->commit().ok())
            return 3;
        store->close();
        return 0;
    });
    ASSERT_TRUE(opened.take());
    ScriptedSession s;
    s.then(dismissSplash())
        .then(menu(W::FILESAVEAS))
        .then(answerFileDialog(path("Shared.QLY")))
        .then(answerMessageBox(BUTTON::OK))
        .then(inspect("still mine",
                      [&](Window& w) {
                          EXPECT_EQ(caption(), "'Quillery ZE- The Personal Librarian' (Mine.QLY)");
                          EXPECT_EQ(listedRows(w), (Rows{"Austen, Jane (Emma)"}));
                          attempted.give();
                          EXPECT_EQ(storage::testing::waitChild(other), 0);
                          // What the other program saved after the attempt is in its file.
                          EXPECT_EQ(currentTitles("Shared.QLY"), (Rows{"Germinal", "Notre-Dame"}));
                      }))
        // Once the other program has let it go, the file may be replaced.
        .then(menu(W::FILESAVEAS))
        .then(answerFileDialog(path("Shared.QLY")))
        .then(answerMessageBox(BUTTON::Yes))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Mine.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    ASSERT_EQ(s.messageBoxes().size(), 2u);
    EXPECT_EQ(s.messageBoxes()[0].caption, "Save Quillery File As");
    EXPECT_EQ(s.messageBoxes()[0].text,
              "The file Shared.QLY is in use: another program has it open.  Choose another "
              "name, or close it there first.");
    EXPECT_EQ(s.messageBoxes()[1].text,
              "The file Shared.QLY already exists.  Do you want to replace it?");
    EXPECT_EQ(currentTitles("Shared.QLY"), (Rows{"Emma"}));
    EXPECT_TRUE(std::filesystem::exists("Mine.QLY"));
}

TEST_F(MainWindowTest, DamagedEmptyAndCutShortFilesAreRefusedAndTheWindowCarriesOn) {
    std::vector<QuilleryRecord> many;
    for (int n = 0; n < 300; ++n)
        many.push_back(book("Reader", std::to_string(1000 + n), "Volume"));
    writeCatalogue("Bad.QLY", many);
    std::string bad = readBytes("Bad.QLY");
    spoilPage(bad, treeTopOf("Bad.QLY").children.back());
    writeBytes("Bad.QLY", bad);
    writeCatalogue("Cut.QLY", many);
    std::string cut = readBytes("Cut.QLY");
    cut.resize(cut.size() / 2);
    writeBytes("Cut.QLY", cut);
    writeBytes("Empty.QLY", "");
    writeCatalogue("Books.QLY", {book("Austen", "Jane", "Emma")});
    const std::string title = "'Quillery ZE- The Personal Librarian'";

    ScriptedSession s;
    s.then(answerMessageBox(BUTTON::OK))  // the catalogue named at start
        .then(dismissSplash())
        .then(inspect("no catalogue",
                      [&](Window& w) {
                          EXPECT_EQ(caption(), title);
                          EXPECT_TRUE(listedRows(w).empty());
                          EXPECT_TRUE(disabled(W::NEW));
                          EXPECT_TRUE(disabled(W::FIND));
                      }))
        .then(menu(W::FILEOPEN))
        .then(answerFileDialog(path("Books.QLY")))
        .then(menu(W::FILEOPEN))
        .then(answerFileDialog(path("Empty.QLY")))
        .then(answerMessageBox(BUTTON::OK))
        .then(menu(W::FILEOPEN))
        .then(answerFileDialog(path("Cut.QLY")))
        .then(answerMessageBox(BUTTON::OK))
        .then(menu(W::FILEOPEN))
        .then(answerFileDialog(path("Bad.QLY")))
        .then(answerMessageBox(BUTTON::OK))
        .then(inspect("still the books",
                      [&](Window& w) {
                          EXPECT_EQ(caption(), title + " (Books.QLY)");
                          EXPECT_EQ(listedRows(w), (Rows{"Austen, Jane (Emma)"}));
                      }))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Bad.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    ASSERT_EQ(s.messageBoxes().size(), 4u);
    const std::string advice = "'quillery-data check Bad.QLY' lists its faults.";
    for (std::size_t box : {0u, 3u}) {
        const SeenMessageBox& seen = s.messageBoxes()[box];
        EXPECT_EQ(seen.caption, "Damaged Catalogue");
        EXPECT_TRUE(seen.text.starts_with("The catalogue Bad.QLY is damaged: page ")) << seen.text;
        EXPECT_TRUE(
            seen.text.ends_with(".\nIt was not opened, and nothing was written to it.\n" + advice))
            << seen.text;
        EXPECT_EQ(seen.text.find("vltbt"), std::string::npos) << seen.text;
    }
    EXPECT_EQ(s.messageBoxes()[1].caption, "Not a Catalogue");
    EXPECT_EQ(s.messageBoxes()[1].text,
              "The file Empty.QLY is not a catalogue: the file is empty.\nIt was not opened, "
              "and nothing was written to it.");
    EXPECT_EQ(s.messageBoxes()[2].caption, "Damaged Catalogue");
    EXPECT_TRUE(s.messageBoxes()[2].text.starts_with("The catalogue Cut.QLY is damaged: "))
        << s.messageBoxes()[2].text;
    EXPECT_EQ(readBytes("Bad.QLY"), bad);
    EXPECT_EQ(readBytes("Cut.QLY"), cut);
    EXPECT_EQ(readBytes("Empty.QLY"), "");
    EXPECT_EQ(currentTitles("Books.QLY"), (Rows{"Emma"}));
}

TEST_F(MainWindowTest, DamageMetWhileWorkingDropsTheCatalogueWithoutAnotherWrite) {
    writeCatalogue("Books.QLY", {book("Austen", "Jane", "Emma")});
    const std::string before = readBytes("Books.QLY");
    ScriptedSession s;
    s.then(dismissSplash())
        .then(inspect("a change under way meets a damaged page",
                      [&](Window&) {
                          const std::int32_t emma = fileRecords("Books.QLY").back().position;
                          reportingDamage([emma] {
                              beginCatalogueTransaction("Can't Save Book");
                              GET(QUILLERY, emma);
                              QLY.TITLE = "Persuasion";
                              PUT(QUILLERY);
                              storage::storageFault(storage::FaultCheck::kDecompression, 12);
                          });
                      }))
        .then(answerMessageBox(BUTTON::OK))
        .then(inspect("no catalogue",
                      [&](Window& w) {
                          EXPECT_EQ(caption(), "'Quillery ZE- The Personal Librarian'");
                          EXPECT_TRUE(listedRows(w).empty());
                          EXPECT_TRUE(disabled(W::NEW));
                          EXPECT_EQ(readBytes("Books.QLY"), before);
                      }))
        .then(menu(W::FILEOPEN))
        .then(answerFileDialog(path("Books.QLY")))
        .then(inspect("open again",
                      [&](Window& w) { EXPECT_EQ(listedRows(w), (Rows{"Austen, Jane (Emma)"})); }))
        .then(menu(W::FILEEXIT));
    DISPLAYQUILLERY("Books.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    ASSERT_EQ(s.messageBoxes().size(), 1u);
    EXPECT_EQ(s.messageBoxes()[0].caption, "Damaged Catalogue");
    EXPECT_EQ(s.messageBoxes()[0].text,
              "The catalogue Books.QLY is damaged: page 12: its compressed body does not "
              "decode.\nThe catalogue was closed; the last change may not have been written, and "
              "nothing more will be.\n'quillery-data check Books.QLY' lists its faults.");
    EXPECT_EQ(currentTitles("Books.QLY"), (Rows{"Emma"}));
    EXPECT_TRUE(catalogueFaults("Books.QLY").empty());
}

// Run twice: by the suite, which makes a catalogue only its owner may write and runs this test
// again in a process of a user who may only read it (the superuser may write anything); and in
// that process, where the window meets the catalogue.
TEST_F(MainWindowTest, ACatalogueThatCanOnlyBeReadIsSaidToBe) {
    namespace fs = std::filesystem;
    if (const char* readOnly = std::getenv("QUILLERY_READ_ONLY_CATALOGUE")) {
        ScriptedSession s;
        s.then(answerMessageBox(BUTTON::OK)).then(dismissSplash()).then(menu(W::FILEEXIT));
        DISPLAYQUILLERY(readOnly);
        EXPECT_TRUE(s.done()) << s.report();
        ASSERT_EQ(s.messageBoxes().size(), 1u);
        EXPECT_EQ(s.messageBoxes()[0].caption, "File Access Error");
        EXPECT_EQ(s.messageBoxes()[0].text, "File (" + std::string(readOnly) +
                                                ") could not be opened.  Error: Access Denied: "
                                                "the catalogue can only be read (5).");
        return;
    }
    std::string folder = (fs::temp_directory_path() / "quillery-read-only-XXXXXX").string();
    ASSERT_NE(::mkdtemp(folder.data()), nullptr);
    fs::permissions(folder, fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    const std::string catalogue = folder + "/Shelf.QLY";
    writeCatalogue(catalogue, {book("Austen", "Jane", "Emma")});
    fs::permissions(catalogue, fs::perms::owner_read | fs::perms::others_read);
    const auto before = fs::file_size(catalogue);

    std::string self = fs::read_symlink("/proc/self/exe").string();
    std::string filter = "--gtest_filter=MainWindowTest.ACatalogueThatCanOnlyBeReadIsSaidToBe";
    char* argv[] = {self.data(), filter.data(), nullptr};
    const bool superuser = ::geteuid() == 0;
    const pid_t child = ::fork();
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        if (superuser &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(121);
        ::setenv("QUILLERY_READ_ONLY_CATALOGUE", catalogue.c_str(), 1);
        ::execv(argv[0], argv);
        ::_exit(122);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the reader's session failed";
    EXPECT_EQ(fs::file_size(catalogue), before);
    EXPECT_EQ(currentTitles(catalogue), (Rows{"Emma"}));
    fs::remove_all(folder);
}

}  // namespace
}  // namespace quillery::testing
