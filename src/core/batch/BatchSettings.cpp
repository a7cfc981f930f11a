#include "core/batch/BatchSettings.h"

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
