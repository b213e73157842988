// Setting up the toolkit for a command-line run.
#include "reports/quiet_toolkit.h"

#include <cstdlib>

#include <QDir>
#include <QFile>

#include "report_engine/signal_cleanup.h"

namespace quillery {
namespace {

void dropMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

QuietToolkit::QuietToolkit() : previous_(qInstallMessageHandler(dropMessage)) {
    // Without a runtime folder the toolkit makes one of its own in the temporary folder and
    // leaves it there; a private one is made instead and removed at the end.
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return;
    std::string name =
        QFile::encodeName(QDir::tempPath()).toStdString() + "/quillery-runtime-XXXXXX";
    const report::HeldSignals held;
    if (::mkdtemp(name.data()) == nullptr) return;
    runtimeFolder_ = name;
    signalHandle_ = report::removeOnSignal(runtimeFolder_, report::CleanupKind::Folder);
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtimeFolder_));
}

QuietToolkit::~QuietToolkit() {
    qInstallMessageHandler(previous_);
    if (runtimeFolder_.empty()) return;
    qunsetenv("XDG_RUNTIME_DIR");
    report::removeFolderWithFiles(runtimeFolder_.c_str());
    report::forgetOnSignal(signalHandle_);
}

std::unique_ptr<QApplication> applicationIfNeeded() {
    if (QCoreApplication::instance() != nullptr) return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "quillery-data";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QApplication>(argc, argv);
}

}  // namespace quillery
