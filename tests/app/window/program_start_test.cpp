// The main procedure: every global back in its start state, the help file named, and the main
// window run until it closes.
#include <gtest/gtest.h>

#include <string>

#include "app/catalogue_globals.h"
#include "app/catalogue_use_count.h"
#include "app/window/main_window_globals.h"
#include "app/window/main_window_layout.h"
#include "app/window/program_start.h"
#include "runtime/window/help.h"
#include "runtime/window/testing/test_driver.h"
#include "support/request_globals.h"

namespace quillery {
namespace {

using namespace script;
namespace W = displayquillery;

void dirtyEveryGlobal() {
    QUILLERYFILE = "Other.QLY";
    CURRENTTEXT = "Fiction";
    CURRENTSORTKEY = "Austen, Jane (Emma)";
    NEWSORTKEY = "Eliot";
    FINDSTRING = "sea";
    CURRENTRECORD = std::string(kQuilleryRecordLength, 'x');
    GLOBALREQUEST = 3;
    GLOBALRESPONSE = 1;
    VCRREQUEST = 5;
    QUILLERY_USED = 2;
    TITLESTRING = "changed";
    LISTBYTITLE = 1;
    SHEET = 2;
    CURRENTTAB = 33;
    CURRENTPOINTER = 12;
    CURRENTKEYTYPE = 1;
    LETTER = 5;
    PENDINGADD = 9;
    PENDINGFIND = 1;
    RECORDCHANGED = 1;
    IGNORECASE = 1;
    ALL = AllRow{};
    ADD(ALLQUEUE);
    TAB = TabRow{};
    ADD(TABQUEUE);
    CAT.CATEGORY = "Fiction";
    ADD(CATEGORYQUEUE);
    UNDO = UndoRow{};
    ADD(UNDOQUEUE);
}

void expectStartState() {
    // Texts are blank-filled to their full length, not empty.
    EXPECT_EQ(QUILLERYFILE.view(), std::string(100, ' '));
    EXPECT_EQ(CURRENTTEXT.view(), std::string(kCategoryLength, ' '));
    EXPECT_EQ(CURRENTSORTKEY.view(), std::string(50, ' '));
    EXPECT_EQ(NEWSORTKEY.view(), std::string(50, ' '));
    EXPECT_EQ(FINDSTRING.view(), std::string(20, ' '));
    EXPECT_EQ(CURRENTRECORD.view(), std::string(kQuilleryRecordLength, ' '));
    EXPECT_EQ(TITLESTRING.view(),
              std::string("'Quillery ZE- The Personal Librarian'") + std::string(3, ' '));
    EXPECT_EQ(GLOBALREQUEST, 0);
    EXPECT_EQ(GLOBALRESPONSE, 0);
    EXPECT_EQ(VCRREQUEST, 0);
    EXPECT_EQ(QUILLERY_USED, 0);
    EXPECT_EQ(LISTBYTITLE, 0);
    EXPECT_EQ(SHEET, 0);
    EXPECT_EQ(CURRENTTAB, 0);
    EXPECT_EQ(CURRENTPOINTER, 0);
    EXPECT_EQ(CURRENTKEYTYPE, 0);
    EXPECT_EQ(LETTER, 0);
    EXPECT_EQ(PENDINGADD, 0);
    EXPECT_EQ(PENDINGFIND, 0);
    EXPECT_EQ(RECORDCHANGED, 0);
    EXPECT_EQ(IGNORECASE, 0);
    EXPECT_EQ(RECORDS(ALLQUEUE), 0u);
    EXPECT_EQ(RECORDS(TABQUEUE), 0u);
    EXPECT_EQ(RECORDS(CATEGORYQUEUE), 0u);
    EXPECT_EQ(RECORDS(UNDOQUEUE), 0u);
}

TEST(ProgramStart, GlobalsStartBlankZeroAndEmpty) {
    dirtyEveryGlobal();
    initialiseGlobals();
    expectStartState();
}

TEST(ProgramStart, NamesTheHelpFileThenRunsTheMainWindowUntilItCloses) {
    dirtyEveryGlobal();
    std::string helpAtStart;
    std::string caption;
    ScriptedSession s;
    s.then(inspect("help file while the splash shows", [&](Window&) { helpAtStart = helpFile(); }))
        .then(timer(1).in("BOOKSPLASH$WINDOW"))
        .then(inspect("caption", [&](Window&) { caption = PROP(0, Prop::Text).text(); }))
        .then(closeWindow().in("DISPLAYQUILLERY$QUICKWINDOW"));
    runQuillery("Awards.QLY");
    EXPECT_TRUE(s.done()) << s.report();
    // The main window names its own help file as it opens, before the splash.
    EXPECT_EQ(helpAtStart, "Book.hlp");
    EXPECT_EQ(caption, "'Quillery ZE- The Personal Librarian' (Awards.QLY)");
    EXPECT_EQ(QUILLERYFILE, "Awards.QLY");
    EXPECT_EQ(kStartHelpFile, std::string("C:\\BOOK\\BOOK.HLP"));
    // The main window left the queues as it found them: nothing was read.
    EXPECT_EQ(RECORDS(ALLQUEUE), 0u);
    EXPECT_EQ(RECORDS(UNDOQUEUE), 0u);
}

}  // namespace
}  // namespace quillery
