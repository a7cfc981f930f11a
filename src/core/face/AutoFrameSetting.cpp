#include "core/face/AutoFrameSetting.h"

#include "core/settings/SettingsFile.h"

#include <QDir>

namespace portiqa {

namespace {
const QString kTrue = QStringLiteral("真");
}

AutoFrameSetting::AutoFrameSetting(const QString& settingsFolder, Dialogs& dialogs)
    : file_(QDir(settingsFolder).filePath(SettingsFile::fileName())),
      notice_(dialogs, QStringLiteral("本次运行继续使用当前的设置，但这些设置不会留到下次运行。")) {
}

bool AutoFrameSetting::enabled() const {
    return file_.read(section(), key()) == kTrue;
}

bool AutoFrameSetting::setEnabled(bool on) {
    const bool ok = file_.write(section(), key(), on ? kTrue : QString());
    notice_.report(ok, file_);
    return ok;
}

} // namespace portiqa
