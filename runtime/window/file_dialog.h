// The platform's file dialogs: the program asks for the name of a file to open or to write.
// File names are the file system's own bytes (UTF-8 here), not the program's single-byte text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quillery {

enum class FileDialogMode {
    Open,  // an existing file
    Save,  // a file to write; the dialog does not ask about replacing one, the caller does
};

// Shows the file dialog captioned `caption` (Windows-1252), starting at `startName`, listing the
// files that `filter` names ("Quillery catalogues (*.QLY)"). Returns the chosen path, or
// nothing when the user cancelled. The dialog is named "FileDialog", so a scripted driver can
// answer it.
std::optional<std::string> FILEDIALOG(std::string_view caption, FileDialogMode mode,
                                      std::string_view filter, std::string_view startName = {});

// Sounds the system's beep.
void BEEP();

}  // namespace quillery
