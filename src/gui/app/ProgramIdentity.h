#pragma once

// How the program presents itself to the desktop: its name and version for Qt, the desktop
// entry it was started from (so a Wayland or X11 dock groups its windows under the entry's
// icon) and the icon every window shows.

#include <QIcon>

class QApplication;

namespace portiqa {

// The program's icon at every size it is drawn at (16 to 256 px), carried as resources.
QIcon programIcon();

// Names the application, its desktop entry and sets programIcon() as every window's icon.
void applyProgramIdentity(QApplication& application);

} // namespace portiqa
