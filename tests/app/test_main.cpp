// The app suite's main: the main window's tests need one application object for every test,
// offscreen, and a folder of their own, since the program reads and writes its catalogues in
// the current folder, and a configuration folder of their own for the window's state. The
// suite's other tests do not mind either.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    // Test discovery runs the executable without the test environment: stay off any screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Windows come and go without an application loop; hiding the last one is not the end.
    app.setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    // Each run of the executable (ctest runs one per test) works in a fresh folder.
    QTemporaryDir folder(QDir::tempPath() + "/quillery-app-test-XXXXXX");
    if (!folder.isValid() || !QDir::setCurrent(folder.path())) return 2;
    // The main window keeps its size in the user's configuration folder: never the real one.
    qputenv("XDG_CONFIG_HOME", (folder.path() + "/config").toLocal8Bit());
    return RUN_ALL_TESTS();
}
