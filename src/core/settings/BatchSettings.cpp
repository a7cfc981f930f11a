#include "core/settings/BatchSettings.h"

#include <QDir>

namespace portiqa::formats {

QString normalised(const QString& stored) {
    const QString upper = stored.trimmed().toUpper();
    for (const QString* known : {&kJpg, &kBmp, &kGif, &kPng}) {
        if (upper == *known) {
            return *known;
        }
    }
    return kJpg;
}

} // namespace portiqa::formats

namespace portiqa::folders {

QString stored(const QString& shown) {
    if (shown.endsWith(QLatin1Char('/')) || shown.endsWith(QLatin1Char('\\'))) {
        return shown.left(shown.size() - 1);
    }
    return shown;
}

QString shown(const QString& stored) {
    return stored.isEmpty() ? stored : stored + QDir::separator();
}

} // namespace portiqa::folders
