#pragma once

// Whether the program can open windows at all. On X11/Wayland desktops a display must be
// named in the environment; an explicit Qt platform (offscreen, xcb, ...) is taken as given.

#include <QString>

namespace portiqa::platform {

// Empty when a display is available, otherwise a one-line explanation for the terminal.
QString missingDisplayMessage();

} // namespace portiqa::platform
