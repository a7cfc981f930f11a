#include "core/app/SettingsLocation.h"

#include "core/app/AppTexts.h"
#include "core/app/BuildInfo.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace portiqa {

namespace {

QString withoutTrailingSeparator(QString path) {
    path = QDir::cleanPath(path);
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) {
        path.chop(1);
    }
    return path;
}

// QFileInfo::isWritable reads permission bits only; a read-only mount or an ACL can still
// refuse, so probe with a real temporary file.
bool canWriteInto(const QString& folder) {
    if (!QFileInfo(folder).isDir()) {
        return false;
    }
    QTemporaryFile probe(folder + QStringLiteral("/.portiqa-probe-XXXXXX"));
    return probe.open();
}

} // namespace

bool isInstalledProgramDir(const QString& programDir) {
    const QString entry = programDir + QStringLiteral("/../share/applications/") +
                          QString::fromUtf8(build::appId) + QStringLiteral(".desktop");
    return QFileInfo(programDir).fileName() == QStringLiteral("bin") && QFileInfo::exists(entry);
}

SettingsLocation resolveSettingsLocation(const QString& programDir, const QString& overrideDir,
                                         const QString& userDataDir) {
    SettingsLocation location;
    location.programDir = withoutTrailingSeparator(QDir(programDir).absolutePath());
    const QString name = texts::settingsFolderName();
    if (!overrideDir.isEmpty()) {
        location.settingsFolder = withoutTrailingSeparator(QDir(overrideDir).absolutePath());
        location.helpFolder = location.settingsFolder;
        return location;
    }
    if (!isInstalledProgramDir(location.programDir) && canWriteInto(location.programDir)) {
        location.settingsFolder = location.programDir + QLatin1Char('/') + name;
        location.helpFolder = location.programDir;
    } else {
        const QString base = withoutTrailingSeparator(QDir(userDataDir).absolutePath());
        location.settingsFolder = base + QLatin1Char('/') + name;
        location.helpFolder = location.settingsFolder;
    }
    return location;
}

bool ensureSettingsFolder(const SettingsLocation& location) {
    QDir dir(location.settingsFolder);
    if (dir.exists()) {
        return true;
    }
    return QDir().mkpath(location.settingsFolder);
}

} // namespace portiqa
