#pragma once

// The pure arithmetic of the workspace view: how one direction of the zoomed picture sits in
// the picture area (centred and white-banded, or scrolled), and the zoom that fits a new
// picture into the area. Integers are truncated toward zero, as everywhere in the program.

#include <QSize>

namespace portiqa {

// One direction (horizontal or vertical) of the view after a redraw.
struct AxisLayout {
    bool scrolls = false; // the zoomed picture is larger than the area: its scroll bar is on
    int maximum = 1;      // scroll bar maximum (zoomed - area) while it scrolls; minimum is 1
    int position = 0;     // scroll bar position while it scrolls (1..maximum), else 0
    int offset = 0;       // where the zoomed picture starts in the area when it fits
    int visible = 0;      // how much of the zoomed picture is on show

    bool operator==(const AxisLayout& other) const {
        return scrolls == other.scrolls && maximum == other.maximum && position == other.position &&
               offset == other.offset && visible == other.visible;
    }
};

class WorkspaceGeometry {
public:
    // Scroll bars keep these platform defaults; the program sets only enabled, maximum and
    // position.
    static constexpr int ScrollMinimum = 1;
    static constexpr int ScrollPageStep = 10;
    static constexpr int ScrollLineStep = 1;

    // Lays out one direction for an area of `area` pixels and a zoomed picture of `zoomed`.
    // A scrolled direction whose fraction is (nearly) 0 starts in the middle: `fraction` is
    // set to 0.5 then.
    static AxisLayout layoutAxis(int area, int zoomed, double& fraction);

    // The zoom that fits a picture into the area: the proportionally wider side decides; a
    // picture smaller than the area keeps zoom 1.
    static double fitZoom(QSize picture, QSize area);

    // trunc(side x zoom), saturating instead of overflowing.
    static int zoomedSide(int side, double zoom);
};

} // namespace portiqa
