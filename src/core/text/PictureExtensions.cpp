#include "core/text/PictureExtensions.h"

namespace portiqa {

bool isPictureExtension(const QString& extension) {
    const QString lower = extension.toLower();
    return lower == QLatin1String("jpg") || lower == QLatin1String("jpeg") ||
           lower == QLatin1String("bmp") || lower == QLatin1String("gif") ||
           lower == QLatin1String("png");
}

QString textAfterLastDot(const QString& name) {
    return name.mid(name.lastIndexOf(QLatin1Char('.')) + 1);
}

} // namespace portiqa
