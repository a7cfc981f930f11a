#include "core/workspace/MainWindowLayout.h"

#include <algorithm>
#include <cmath>

namespace portiqa {

namespace {

int floorHalf(int value) {
    return static_cast<int>(std::floor(value / 2.0));
}

} // namespace

QPoint MainWindowLayout::centredFrame(QSize area, QSize frameSize) {
    return {floorHalf(area.width()) - floorHalf(frameSize.width()),
            floorHalf(area.height()) - floorHalf(frameSize.height())};
}

MainWindowLayout MainWindowLayout::compute(int effectiveWidth, int effectiveHeight,
                                           QSize frameSize) {
    MainWindowLayout layout;
    // A window shrunk below the fixed parts gives an empty area, never a negative one.
    const int areaWidth = std::max(0, effectiveWidth - 183);
    const int areaHeight = std::max(0, effectiveHeight - 135);
    layout.pictureArea = QRect(4, 48, areaWidth, areaHeight);
    layout.horizontalScroll = QRect(4, effectiveHeight - 86, areaWidth, 12);
    layout.verticalScroll = QRect(effectiveWidth - 178, 48, 12, areaHeight);
    layout.settingsGroup = QRect(effectiveWidth - 162, 48, 152, std::max(0, effectiveHeight - 122));
    layout.frameTopLeft = centredFrame(QSize(areaWidth, areaHeight), frameSize);
    layout.statusPanel0Width = std::max(0, effectiveWidth - 162);
    return layout;
}

} // namespace portiqa
