// Peak memory while zooming a 24-megapixel picture to zoom 2 with the wheel. The workspace's
// zoomed surface is virtual, so the peak should stay near the picture plus its pyramid; the
// baseline materialises the zoomed picture once (what a real zoomed surface costs).
//
// Accounting: the kernel's peak resident size (VmHWM), reset before each phase through
// /proc/self/clear_refs, minus the resident size at the start of the phase.
#include "BenchSupport.h"

#include "core/workspace/AreaResampler.h"
#include "core/workspace/PhotoWorkspace.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace portiqa;

int main(int argc, char** argv) {
    portiqa::bench::preferOffscreenPlatform();
    QGuiApplication app(argc, argv);
    QImage picture(6000, 4000, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            line[x] = qRgb(x & 255, y & 255, (x + y) & 255);
        }
    }
    PhotoWorkspace workspace;
    workspace.showNewPicture(picture);
    int steps = 0;
    const double ours = bench::peakGrowthMb([&] {
        while (workspace.zoom() < 2.0 && workspace.zoomByWheel(-1)) {
            ++steps;
        }
    });
    const QSize zoomed = workspace.zoomedSize();
    std::printf("%d wheel notches to zoom %.3f (zoomed surface %d x %d = %.0f MB if real)\n", steps,
                workspace.zoom(), zoomed.width(), zoomed.height(),
                4.0 * zoomed.width() * zoomed.height() / (1024 * 1024));
    const double baseline = bench::peakGrowthMb([&] {
        const QImage surface =
            AreaResampler::materialise(*workspace.pyramid(), workspace.zoomedSize());
        std::printf("materialised once: %d x %d\n", surface.width(), surface.height());
    });
    std::printf("peak growth while zooming: ours %.1f MB, one materialised surface %.1f MB\n", ours,
                baseline);
    // The goal is that no zoomed surface is ever allocated: ours must stay far below one.
    std::printf("peak memory, materialised / virtual: ratio %.1fx (goal: ours well below one "
                "surface)\n",
                baseline / std::max(ours, 0.1));
    return 0;
}
