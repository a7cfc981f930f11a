#include "core/files/WholeFile.h"

#include <QSaveFile>

namespace portiqa {

bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) {
        return true;
    }
    if (error != nullptr) {
        *error = file.errorString();
    }
    file.cancelWriting();
    return false;
}

} // namespace portiqa
