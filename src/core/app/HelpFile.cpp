#include "core/app/HelpFile.h"

#include "core/files/WholeFile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace portiqa {

QString md5Hex(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

HelpFileResult installHelpFile(const QString& path, const QByteArray& carried) {
    const bool existed = QFileInfo::exists(path);
    if (existed) {
        QFile current(path);
        if (current.open(QIODevice::ReadOnly) && md5Hex(current.readAll()) == md5Hex(carried)) {
            return HelpFileResult::Unchanged;
        }
    }
    if (!writeWholeFile(path, carried)) {
        return HelpFileResult::Failed;
    }
    return existed ? HelpFileResult::Rewritten : HelpFileResult::Written;
}

} // namespace portiqa
