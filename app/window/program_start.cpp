// The main procedure's steps, apart from the application object that main() owns.
#include "app/window/program_start.h"

#include "app/catalogue_globals.h"
#include "app/catalogue_use_count.h"
#include "app/window/display_quillery.h"
#include "app/window/main_window_globals.h"
#include "runtime/queue.h"
#include "runtime/window/help.h"
#include "support/request_globals.h"

namespace quillery {

void initialiseGlobals() {
    QUILLERYFILE.clear();
    CURRENTTEXT.clear();
    CURRENTSORTKEY.clear();
    NEWSORTKEY.clear();
    FINDSTRING.clear();
    CURRENTRECORD = QuilleryRecordImage{};
    GLOBALREQUEST = 0;
    GLOBALRESPONSE = 0;
    VCRREQUEST = 0;
    QUILLERY_USED = 0;
    TITLESTRING = kTitleText;
    LISTBYTITLE = 0;
    SHEET = 0;
    CURRENTTAB = 0;
    CURRENTPOINTER = 0;
    CURRENTKEYTYPE = 0;
    LETTER = 0;
    PENDINGADD = 0;
    PENDINGFIND = 0;
    RECORDCHANGED = 0;
    IGNORECASE = 0;
    FREE(ALLQUEUE);
    FREE(TABQUEUE);
    ACTQUEUE = &ALLQUEUE;
    ACT = ActiveRow{};
    FREE(CATEGORYQUEUE);
    FREE(UNDOQUEUE);
}

void runQuillery(std::string_view catalogue) {
    initialiseGlobals();
    HELP(kStartHelpFile);
    DISPLAYQUILLERY(catalogue);
}

}  // namespace quillery
