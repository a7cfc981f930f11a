#include "platform/DisplayCheck.h"

#include <QtGlobal>

#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
#include <X11/Xlib.h>
#endif

namespace portiqa::platform {

namespace {

QString noDisplay(const QString& reason) {
    return QStringLiteral("portiqa: no display found (%1); "
                          "to run without a screen use: xvfb-run -a portiqa")
        .arg(reason);
}

} // namespace

DisplayCheck::DisplayCheck(const QString& platformArgument) {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    const QString platform =
        !platformArgument.isEmpty() ? platformArgument : qEnvironmentVariable("QT_QPA_PLATFORM");
    const bool x11Chosen = platform.startsWith(QStringLiteral("xcb"));
    if (!platform.isEmpty() && !x11Chosen) {
        return;
    }
    if (!x11Chosen && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        return;
    }
    const QString display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty()) {
        problem_ = noDisplay(QStringLiteral("DISPLAY is not set"));
        return;
    }
    // The same server and authority Qt will use.
    connection_ = XOpenDisplay(nullptr);
    if (connection_ == nullptr) {
        problem_ =
            noDisplay(QStringLiteral("the X server at DISPLAY=%1 cannot be reached").arg(display));
    }
#else
    Q_UNUSED(platformArgument);
#endif
}

DisplayCheck::~DisplayCheck() {
    close();
}

void DisplayCheck::close() {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    if (connection_ != nullptr) {
        XCloseDisplay(connection_);
        connection_ = nullptr;
    }
#endif
}

} // namespace portiqa::platform
