#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace portiqa::test {

QString fixturePath(const QString& relative) {
    return QStringLiteral(PORTIQA_FIXTURES) + QLatin1Char('/') + relative;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    return file.write(bytes) == bytes.size();
}

QString programPath() {
    return QStringLiteral(PORTIQA_BINARY);
}

} // namespace portiqa::test
