#pragma once

// Where the open and save dialogs start: the operator's desktop folder when it exists, else
// the home folder. Many Linux installs have no desktop folder (or call it ~/桌面), and a
// dialog started in a missing folder would offer that folder's name as the file name.

#include <QString>

namespace portiqa {

// From the system's desktop and home folders, looked up at the time of asking.
QString dialogStartFolder();
// The rule itself: `desktopFolder` when it names an existing folder, else `homeFolder`.
QString dialogStartFolder(const QString& desktopFolder, const QString& homeFolder);

} // namespace portiqa
