#include "core/ini/WriteFailureNotice.h"

#include "core/ini/IniFile.h"

#include <QDir>

namespace portiqa {

WriteFailureNotice::WriteFailureNotice(Dialogs& dialogs, QString consequence)
    : m_dialogs(dialogs), m_consequence(std::move(consequence)) {}

void WriteFailureNotice::report(bool ok, const IniFile& file) {
    if (ok) {
        m_shown = false;
        return;
    }
    if (m_shown) {
        return;
    }
    m_shown = true;
    const QString text =
        QStringLiteral("无法写入文件“%1”（%2）。\n%3")
            .arg(QDir::toNativeSeparators(file.path()), file.lastError(), m_consequence);
    m_dialogs.inform(QStringLiteral("提示："), text, MessageIcon::Warning);
}

} // namespace portiqa
