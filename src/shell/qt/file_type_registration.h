// Makes the save-file type known to the desktop at every start: the
// shared-mime-info package, a desktop entry hidden from menus that opens save
// files with this executable, and the program icon, under the user's data
// folder. Files are replaced atomically and only when their content changed;
// every failure is ignored.
#pragma once

#include <QString>

// Registers into $XDG_DATA_HOME (default ~/.local/share) for the running
// executable.
void RegisterFileType();

// Registers into `dataHome` for `executable`. True when every file holds the
// wanted content afterwards (for tests; the program ignores it). With
// `updateCaches`, the MIME database is rebuilt in the background when the
// package changed (or was never built), and the desktop database when the
// entry changed (or the database lacks it).
bool RegisterFileTypeIn(const QString& dataHome, const QString& executable, bool updateCaches = true);
