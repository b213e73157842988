// The main window's size, place and maximised state between runs: a small text file in the
// user's configuration folder, apart from the program's settings file. Whatever it holds is
// only a wish; a file that is missing or makes no sense is ignored.
#pragma once

#include <QRect>
#include <QString>
#include <optional>

namespace quillery {

struct WindowState {
    QRect normal;  // the window's place and size when not maximised, in screen pixels
    bool maximised = false;
};

// "$XDG_CONFIG_HOME/quillery/window-state" (or the platform's configuration folder).
QString windowStatePath();

// The state in `path`; nothing when the file is missing, unreadable or makes no sense.
std::optional<WindowState> readWindowState(const QString& path);

// Writes `state` to `path` (its folder made when missing), replacing the file whole so that a
// failed write never leaves half a file; the list columns kept there stay. False when it could
// not be written.
bool writeWindowState(const QString& path, const WindowState& state);

// The list columns chosen for the catalogue `catalogue` (its absolute path), as kept in `path`
// by writeListColumns; nothing when none are kept or the file makes no sense.
std::optional<QString> readListColumns(const QString& path, const QString& catalogue);
// Keeps `columns` as the list columns of `catalogue` in `path`, beside what else it holds; the
// catalogues chosen for longest ago make room when too many are kept. False when it could not
// be written.
bool writeListColumns(const QString& path, const QString& catalogue, const QString& columns);

}  // namespace quillery
