// The file dialog over Qt's own dialog, which looks alike on every desktop and can be driven by
// scripts in tests.
#include "runtime/window/file_dialog.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>

#include "runtime/window/screen_text.h"
#include "runtime/window/window.h"

namespace quillery {

std::optional<std::string> FILEDIALOG(std::string_view caption, FileDialogMode mode,
                                      std::string_view filter, std::string_view startName) {
    Window* owner = currentWindow();
    QFileDialog dialog(owner != nullptr ? owner->widget() : nullptr, toScreen(caption));
    dialog.setObjectName("FileDialog");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilter(toScreen(filter));
    dialog.setAcceptMode(mode == FileDialogMode::Save ? QFileDialog::AcceptSave
                                                      : QFileDialog::AcceptOpen);
    dialog.setFileMode(mode == FileDialogMode::Save ? QFileDialog::AnyFile
                                                    : QFileDialog::ExistingFile);
    if (!startName.empty())
        dialog.selectFile(QFile::decodeName(
            QByteArray(startName.data(), static_cast<qsizetype>(startName.size()))));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return QFile::encodeName(chosen.front()).toStdString();
}

void BEEP() {
    QApplication::beep();
}

}  // namespace quillery
