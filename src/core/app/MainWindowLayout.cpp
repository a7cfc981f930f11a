#include "core/app/MainWindowLayout.h"

#include <QSize>

namespace portiqa {

namespace {
int floorHalf(int v) {
    return v >= 0 ? v / 2 : -((-v + 1) / 2);
}
} // namespace

MainWindowLayout computeMainWindowLayout(int e, int f) {
    MainWindowLayout layout;
    layout.pictureArea = QRect(4, 48, e - 183, f - 135);
    layout.horizontalBar = QRect(4, f - 86, layout.pictureArea.width(), 12);
    layout.verticalBar = QRect(e - 178, 48, 12, layout.pictureArea.height());
    layout.settingsGroup = QRect(e - 162, 48, 152, f - 122);
    layout.hintPanelWidth = e - 162;
    return layout;
}

QPoint centredFramePosition(const QSize& area, const QSize& frame) {
    return {floorHalf(area.width()) - floorHalf(frame.width()),
            floorHalf(area.height()) - floorHalf(frame.height())};
}

} // namespace portiqa
