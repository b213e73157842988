// The program's data files as installed beside it: "<prefix>/bin/quillery" finds them in
// "<prefix>/share/quillery". A file there stands in for the copy built into the program, so an
// installed copy can be read and changed like any other file.
#pragma once

#include <QString>

namespace quillery {

// "<program folder>/../share/quillery"; empty when there is no such folder.
QString installedDataFolder();

// The installed file at `relative` inside that folder when it exists, else `builtIn`.
QString installedDataFile(const QString& relative, const QString& builtIn);

}  // namespace quillery
