#include "core/ini/WriteFailureNotice.h"

#include "core/ini/IniFile.h"

#include <QDir>

namespace portiqa {

WriteFailureNotice::WriteFailureNotice(Dialogs& dialogs, QString consequence)
    : dialogs_(dialogs), consequence_(std::move(consequence)) {}

void WriteFailureNotice::report(bool ok, const IniFile& file) {
    if (ok) {
        shown_ = false;
        return;
    }
    if (shown_) {
        return;
    }
    shown_ = true;
    const QString text =
        QStringLiteral("无法写入文件“%1”（%2）。\n%3")
            .arg(QDir::toNativeSeparators(file.path()), file.lastError(), consequence_);
    dialogs_.inform(QStringLiteral("提示："), text, MessageIcon::Warning);
}

} // namespace portiqa
