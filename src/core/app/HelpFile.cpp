#include "core/app/HelpFile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(carried) != carried.size() || !out.commit()) {
        return HelpFileResult::Failed;
    }
    return existed ? HelpFileResult::Rewritten : HelpFileResult::Written;
}

} // namespace portiqa
