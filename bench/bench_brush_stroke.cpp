// Brush stroke cost while dragging: each mouse move draws one stroke segment on the
// composition and recomposes the view (the composition copied, the frame drawn over it). On a
// 24-megapixel picture at zoom 2 that must stay far below a frame (goal < 8 ms per move),
// whatever the picture's size. The baseline beside it is a full recomposition of the view from
// the picture (what a redraw after every move would cost). The commit at the release, which
// materialises the whole zoomed picture once, is printed for reference.
#include "BenchSupport.h"

#include "core/editor/BrushRaster.h"
#include "core/workspace/PhotoWorkspace.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>

#include <cmath>
#include <cstdio>

using namespace portiqa;

namespace {

// The pointer path of a drag: a wavy line across the picture area, `moves` steps long.
QPoint pathPoint(int i, int moves, QSize area) {
    const double t = static_cast<double>(i) / moves;
    return {static_cast<int>(10 + t * (area.width() - 20)),
            static_cast<int>(area.height() / 2 + std::sin(t * 12) * area.height() / 3)};
}

} // namespace

int main(int argc, char** argv) {
    portiqa::bench::preferOffscreenPlatform();
    QGuiApplication app(argc, argv);
    PhotoWorkspace workspace;
    workspace.showNewPicture(bench::pattern(6000, 4000)); // 24 MP
    if (!workspace.setZoom(2.0)) {
        std::fprintf(stderr, "zoom 2 refused\n");
        return 1;
    }
    const QSize area = workspace.areaSize();
    const int moves = 400;
    std::printf("24 MP picture at zoom 2 (zoomed %d x %d), view %d x %d, %d moves per run\n",
                workspace.zoomedSize().width(), workspace.zoomedSize().height(), area.width(),
                area.height(), moves);

    for (const int width : {1, 5, 20}) {
        const double strokeMs =
            bench::bestMs(3,
                          [&] {
                              QPoint last = pathPoint(0, moves, area);
                              for (int i = 1; i <= moves; ++i) {
                                  const QPoint next = pathPoint(i, moves, area);
                                  BrushRaster::paintStroke(workspace.composition(), last, next,
                                                           width, 0xFF000000);
                                  workspace.recomposeView();
                                  last = next;
                              }
                          }) /
            moves;
        const double redrawMs = bench::bestMs(3,
                                              [&] {
                                                  for (int i = 0; i < 20; ++i) {
                                                      workspace.redrawWorkspace();
                                                  }
                                              }) /
                                20;
        char label[64];
        std::snprintf(label, sizeof label, "per move, width %d (goal < 8 ms)", width);
        bench::printRatio(label, redrawMs, strokeMs);
    }

    QElapsedTimer commit;
    commit.start();
    const bool committed = workspace.commitEdits();
    std::printf("commit at release (materialises %d x %d once): %s in %lld ms\n",
                workspace.pictureSize().width(), workspace.pictureSize().height(),
                committed ? "done" : "refused", static_cast<long long>(commit.elapsed()));
    return 0;
}
