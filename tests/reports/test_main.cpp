// The listings suite's main: one application object for every test, offscreen, and a
// configuration folder of its own, so that the main window's size kept by another run (or by
// the person's own use of the program) never reaches these tests, nor theirs the person's.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    QTemporaryDir config(QDir::tempPath() + "/quillery-reports-test-XXXXXX");
    if (!config.isValid()) return 2;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    return RUN_ALL_TESTS();
}
