#pragma once

// Where the resizable parts of the main window go for an effective window size E x F
// (594 x 414 gives the design geometry).

#include <QRect>

namespace portiqa {

// The design size (effective: client plus the design frame), and what the window needs beside
// and around the picture area: when an output side plus its margin no longer fits the area,
// the window grows to that side plus the room beside (width) or around (height) the area.
namespace mainwindow {
constexpr int kDesignEffectiveWidth = 594;
constexpr int kDesignEffectiveHeight = 414;
constexpr int kFrameMargin = 30;
constexpr int kWidthBesideArea = 213;
constexpr int kHeightAroundArea = 165;
} // namespace mainwindow

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
