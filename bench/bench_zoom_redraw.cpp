// Wheel-zoom redraw cost: the workspace recomputes only the visible pixels from the picture's
// pyramid, so a 24-megapixel picture should redraw about as fast as a 1-megapixel one at the
// same view size. The baseline is the plain way: scale the whole picture smoothly on each zoom
// step and copy the visible part.
#include "BenchSupport.h"

#include "core/workspace/PhotoWorkspace.h"

#include <QGuiApplication>
#include <QImage>
#include <QTransform>

#include <cstdio>

using namespace portiqa;

namespace {

// Milliseconds per redraw over `steps` wheel notches alternating in and out, so the zoom
// stays where it started (`zoom`, relative to the fitted zoom).
double msPerWheelRedraw(PhotoWorkspace& workspace, double zoom, int steps) {
    workspace.setZoom(zoom);
    const double ms = bench::bestMs(3, [&] {
        for (int i = 0; i < steps; ++i) {
            workspace.zoomByWheel(i % 2 == 0 ? -1 : 1);
        }
    });
    return ms / steps;
}

double msPerPlainRedraw(const QImage& picture, double zoom, int steps) {
    QImage view(411, 279, QImage::Format_RGB32);
    const double ms = bench::bestMs(1, [&] {
        double z = zoom;
        for (int i = 0; i < steps; ++i) {
            z *= i % 2 == 0 ? 1.02 : 0.98;
            const QImage scaled = picture.scaled(static_cast<int>(picture.width() * z),
                                                 static_cast<int>(picture.height() * z),
                                                 Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            view = scaled.copy(QRect(QPoint(0, 0), view.size()));
        }
    });
    return ms / steps;
}

} // namespace

int main(int argc, char** argv) {
    portiqa::bench::preferOffscreenPlatform();
    QGuiApplication app(argc, argv);
    const int steps = 40;
    PhotoWorkspace small;
    PhotoWorkspace large;
    const QImage smallPicture = bench::pattern(1155, 866);  // 1 MP
    const QImage largePicture = bench::pattern(6000, 4000); // 24 MP
    small.showNewPicture(smallPicture);
    large.showNewPicture(largePicture);

    std::printf("view %d x %d, %d wheel notches per run\n", small.areaSize().width(),
                small.areaSize().height(), steps);
    for (const double viewScale : {1.0, 2.5}) {
        // The same zoomed size for both pictures, so the same amount of view is computed.
        const double smallZoom = small.zoom() * viewScale;
        const double largeZoom = large.zoom() * viewScale;
        const double ms1 = msPerWheelRedraw(small, smallZoom, steps);
        const double ms24 = msPerWheelRedraw(large, largeZoom, steps);
        std::printf("zoomed to %.1fx the fitted size: 1 MP %.3f ms, 24 MP %.3f ms per redraw "
                    "(24 MP / 1 MP = %.2f, goal <= 2; 60 Hz frame = 16.7 ms)\n",
                    viewScale, ms1, ms24, ms24 / ms1);
        const double plain = msPerPlainRedraw(largePicture, largeZoom, 6);
        bench::printRatio(viewScale == 1.0 ? "24 MP wheel redraw, fitted vs full smooth scale"
                                           : "24 MP wheel redraw, 2.5x fit vs full smooth scale",
                          plain, ms24);
    }
    // What a new 24 MP picture costs before its first redraw (done on the loader's thread).
    const double build = bench::bestMs(3, [&] { PicturePyramid::build(largePicture); });
    std::printf("24 MP pyramid build: %.1f ms\n", build);
    // A quarter turn of the 24 MP picture, pyramid included, against Qt's own turn alone.
    const double plainTurn = bench::bestMs(2, [&] {
        const QImage turned = largePicture.transformed(QTransform().rotate(90));
        (void)turned;
    });
    const double ourTurn = bench::bestMs(2, [&] { large.turnQuarter(true); });
    bench::printRatio("24 MP quarter turn (ours incl. pyramid) vs QImage", plainTurn, ourTurn);
    return 0;
}
