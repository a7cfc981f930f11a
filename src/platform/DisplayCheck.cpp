#include "platform/DisplayCheck.h"

#include <QtGlobal>

namespace portiqa::platform {

QString missingDisplayMessage() {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
        !qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        return {};
    }
    return QStringLiteral("portiqa: no display found (DISPLAY is not set); "
                          "to run without a screen use: xvfb-run -a portiqa");
#else
    return {};
#endif
}

} // namespace portiqa::platform
