#include "core/editor/EditorColours.h"

namespace portiqa::EditorColours {

QColor entryBackground(const QColor& textColour) {
    const QRgb rgb = textColour.rgb() & 0xFFFFFF;
    if (rgb == 0x808080) {
        return Qt::white;
    }
    return QColor(255 - textColour.red(), 255 - textColour.green(), 255 - textColour.blue());
}

} // namespace portiqa::EditorColours
