#pragma once

// Where the resizable parts of the main window go for an effective window size E x F
// (594 x 414 gives the design geometry).

#include <QRect>

namespace portiqa {

struct MainWindowLayout {
    QRect pictureArea; // also the composition surface
    QRect horizontalBar;
    QRect verticalBar;
    QRect settingsGroup;
    int hintPanelWidth = 0;
};

MainWindowLayout computeMainWindowLayout(int effectiveWidth, int effectiveHeight);

// Top-left of a frame of `frame` size centred in an area of `area` size (floors of halves).
QPoint centredFramePosition(const QSize& area, const QSize& frame);

} // namespace portiqa
