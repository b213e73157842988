// The Quillery program: the application object with one font family, the runtime's settings, the
// engines' options, then the main procedure. An optional argument names the catalogue to open.
#include <QApplication>
#include <string>

#include "app/quillery_file.h"
#include "app/window/main_window_options.h"
#include "app/window/program_start.h"
#include "app/window/reports_menu.h"
#include "report_engine/page_files.h"
#include "runtime/codepage.h"
#include "runtime/runtime_options.h"
#include "runtime/settings_file.h"
#include "runtime/window/runtime_error_box.h"
#include "runtime/window/window_font.h"
#include "runtime/window/window_options.h"
#include "support/help_viewer.h"

namespace {

// Every engine's options that differ from its defaults, in one place. Storage and the report
// engine run with theirs (a ten-second lock wait, transactions logged in the user's state folder,
// the system's default printer, page images in TMPDIR).
void configureEngines() {
    quillery::RuntimeOptions runtime;
    runtime.fatalReporter = quillery::showRuntimeErrorBox;  // faults are shown in a box
    quillery::setRuntimeOptions(runtime);

    quillery::WindowOptions window;
    window.helpViewer = quillery::showHelp;
    quillery::setWindowOptions(window);

    quillery::MainWindowOptions mainWindow;
    mainWindow.listings = quillery::runReportsMenuListing;
    quillery::setMainWindowOptions(mainWindow);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Windows come and go under the program's own loops; the last one closing is not the end.
    app.setQuitOnLastWindowClosed(false);
    quillery::useLayoutFamilyEverywhere();
    quillery::loadRuntimeSettings(quillery::programFilePath(argv[0]));
    configureEngines();
    // Page images of earlier runs that were killed before they could tidy up.
    quillery::report::removeAbandonedPageFolders();
    const std::string catalogue =
        argc > 1 ? quillery::utf8ToCp1252(argv[1]) : std::string(quillery::kDefaultCatalogueName);
    quillery::runQuillery(catalogue);
    return 0;
}
