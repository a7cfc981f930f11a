#include "platform/DisplayCheck.h"

#include <QtGlobal>

#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
#include <X11/Xlib.h>
#endif

namespace portiqa::platform {

namespace {

QString noDisplay(const QString& reason) {
    return QStringLiteral("portiqa: 找不到显示器（%1）；没有屏幕时请这样运行：xvfb-run -a portiqa")
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
        problem_ = noDisplay(QStringLiteral("未设置 DISPLAY"));
        return;
    }
    // The same server and authority Qt will use.
    connection_ = XOpenDisplay(nullptr);
    if (connection_ == nullptr) {
        problem_ = noDisplay(QStringLiteral("无法连接 DISPLAY=%1 的 X 服务器").arg(display));
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
