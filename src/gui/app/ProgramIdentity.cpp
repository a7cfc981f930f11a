#include "gui/app/ProgramIdentity.h"

#include "core/app/BuildInfo.h"

#include <QApplication>

namespace portiqa {

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/appicon/portiqa-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

void applyProgramIdentity(QApplication& application) {
    QApplication::setApplicationName(QStringLiteral("Portiqa"));
    QApplication::setApplicationVersion(QString::fromUtf8(build::version));
    QGuiApplication::setDesktopFileName(QString::fromUtf8(build::appId));
    application.setWindowIcon(programIcon());
}

} // namespace portiqa
