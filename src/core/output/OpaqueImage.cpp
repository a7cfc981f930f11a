#include "core/output/OpaqueImage.h"

#include <QPainter>

namespace portiqa {

QImage opaqueRgb888(const QImage& image) {
    if (image.isNull()) {
        return {};
    }
    if (!image.hasAlphaChannel()) {
        return image.format() == QImage::Format_RGB888
                   ? image
                   : image.convertToFormat(QImage::Format_RGB888);
    }
    QImage flat(image.size(), QImage::Format_RGB888);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    painter.end();
    return flat;
}

} // namespace portiqa
