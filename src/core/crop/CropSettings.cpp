#include "core/crop/CropSettings.h"

#include "core/app/MainWindowLayout.h"

namespace portiqa {

QSize pictureAreaForOutput(QSize outputSize) {
    using namespace mainwindow;
    const QRect design =
        computeMainWindowLayout(kDesignEffectiveWidth, kDesignEffectiveHeight).pictureArea;
    int effectiveWidth = kDesignEffectiveWidth;
    int effectiveHeight = kDesignEffectiveHeight;
    if (outputSize.width() + kFrameMargin >= design.width()) {
        effectiveWidth = outputSize.width() + kWidthBesideArea;
    }
    if (outputSize.height() + kFrameMargin >= design.height()) {
        effectiveHeight = outputSize.height() + kHeightAroundArea;
    }
    return computeMainWindowLayout(effectiveWidth, effectiveHeight).pictureArea.size();
}

} // namespace portiqa
