#pragma once

// Where the program keeps its settings file, task file and temporary pictures: a folder named
// 头像采集设置 beside the executable when that folder can be written (portable use), else the
// same name inside the per-user data folder. An installed program (the executable in a bin
// folder whose prefix holds the program's desktop entry, as `cmake --install` and the Debian
// package lay it out) always uses the per-user data folder, even when run by root, so nothing
// is ever written into /usr/bin. An explicit folder (--settings-dir) wins.

#include <QString>

namespace portiqa {

struct SettingsLocation {
    QString programDir;     // the executable's folder, no trailing separator
    QString settingsFolder; // absolute path, no trailing separator
    QString helpFolder;     // where the help page is written out: programDir when writable
};

// Resolves the folders. `overrideDir` may be empty; `userDataDir` is the per-user data folder
// used when `programDir` cannot be written or is an installed program's bin folder.
SettingsLocation resolveSettingsLocation(const QString& programDir, const QString& overrideDir,
                                         const QString& userDataDir);

// True when `programDir` is the bin folder of an installed prefix (see above).
bool isInstalledProgramDir(const QString& programDir);

// Creates the settings folder when it is missing; an existing folder is left as it is.
// False when it does not exist afterwards (the program then runs with defaults in memory).
bool ensureSettingsFolder(const SettingsLocation& location);

} // namespace portiqa
