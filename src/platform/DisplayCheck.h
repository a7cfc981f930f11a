#pragma once

// Whether the program can open windows at all, decided before Qt is started (Qt aborts the
// process when its platform cannot start). On X11 desktops the server named by DISPLAY must
// answer; a Wayland session or an explicit non-X11 Qt platform (offscreen, minimal, ...) is
// taken as given.

#include <QString>

namespace portiqa::platform {

// Empty when a display is available, otherwise a one-line explanation for the terminal that
// starts with "portiqa: no display found". `platformArgument` is Qt's -platform NAME from the
// command line (empty when not given); it wins over QT_QPA_PLATFORM, as in Qt itself.
QString missingDisplayMessage(const QString& platformArgument = {});

} // namespace portiqa::platform
