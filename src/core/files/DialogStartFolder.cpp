#include "core/files/DialogStartFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace portiqa {

QString dialogStartFolder() {
    return dialogStartFolder(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation),
                             QDir::homePath());
}

QString dialogStartFolder(const QString& desktopFolder, const QString& homeFolder) {
    if (!desktopFolder.isEmpty() && QFileInfo(desktopFolder).isDir()) {
        return desktopFolder;
    }
    return homeFolder;
}

} // namespace portiqa
