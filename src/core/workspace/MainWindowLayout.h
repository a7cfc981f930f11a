#pragma once

// Where the main window's resizable parts go for a given window size. The main window only
// applies the rectangles; the arithmetic lives here so it can be tested without a window.
//
// The effective size is the client size plus the design frame allowances (8 wide, 54 high);
// at the design size 594 x 414 it gives the design geometry (picture area 411 x 279).

#include <QPoint>
#include <QRect>
#include <QSize>

namespace portiqa {

struct MainWindowLayout {
    static constexpr int HorizontalAllowance = 8;
    static constexpr int VerticalAllowance = 54;

    QRect pictureArea;      // 可视画板 (the composition surface has the same rectangle)
    QRect horizontalScroll; // 横向滚动条
    QRect verticalScroll;   // 纵向滚动条
    QRect settingsGroup;    // 头像采集分组框
    QPoint frameTopLeft;    // the capture frame, centred in the picture area
    int statusPanel0Width = 0;

    // effectiveWidth/Height: outer size minus the allowances; frameSize: the output size.
    static MainWindowLayout compute(int effectiveWidth, int effectiveHeight, QSize frameSize);

    // The frame's top-left that centres a frame in an area (floors, also for odd and negative
    // sizes).
    static QPoint centredFrame(QSize area, QSize frameSize);
};

} // namespace portiqa
