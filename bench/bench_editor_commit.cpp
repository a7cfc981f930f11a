// The editor's commit at the release of a stroke, on a camera-size photograph (24 MP):
// - at zoom 2 the picture takes its on-screen resolution, 96 MP built from the pyramid on
//   worker threads (goal < 800 ms);
// - a later stroke on that 96 MP picture, now at zoom 1, writes only the visible block into
//   it and its pyramid (goal < 100 ms);
// - at the fitted zoom the picture becomes the fitted display's size (goal < 50 ms).
// The baseline beside each is Qt's own smooth scaling of the whole picture to the commit's
// size on one thread, the obvious way to make the picture take its on-screen resolution.
#include "BenchSupport.h"

#include "core/editor/BrushRaster.h"
#include "core/workspace/PhotoWorkspace.h"
#include "platform/HugePages.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

using namespace portiqa;

namespace {

// One stroke across the picture area, as a drag draws it on the composition.
void drawStroke(PhotoWorkspace& workspace, int salt) {
    const QSize area = workspace.areaSize();
    BrushRaster::paintStroke(workspace.composition(), QPoint(10 + salt, 10),
                             QPoint(area.width() - 20, area.height() - 20 - salt), 9,
                             0xFF000000u | static_cast<quint32>(salt * 0x010203));
    workspace.recomposeView();
}

// Milliseconds of one stroke's commit; negative when the commit was refused.
double timedCommit(PhotoWorkspace& workspace, int salt) {
    drawStroke(workspace, salt);
    QElapsedTimer timer;
    timer.start();
    EditStep step;
    const bool done = workspace.commitEdits(&step);
    const double ms = timer.nsecsElapsed() / 1e6;
    return done ? ms : -1.0;
}

double qtScalingMs(const QImage& picture, QSize size) {
    return bench::bestMs(1, [&] {
        const QImage scaled = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (scaled.isNull()) {
            std::fprintf(stderr, "Qt scaling ran out of memory\n");
        }
    });
}

bool report(const char* what, double baselineMs, double ms, double goalMs) {
    if (ms < 0) {
        std::printf("%s: commit refused\n", what);
        return false;
    }
    char label[96];
    std::snprintf(label, sizeof label, "%s (goal < %.0f ms)", what, goalMs);
    bench::printRatio(label, baselineMs, ms);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    platform::restartWithHugePages(argv); // as the program runs
    bench::preferOffscreenPlatform();
    QGuiApplication app(argc, argv);
    const QImage photo = bench::pattern(6000, 4000);

    // At the fitted zoom: the picture becomes the size it has on screen.
    {
        PhotoWorkspace workspace;
        workspace.showNewPicture(photo);
        const QSize fitted = workspace.zoomedSize();
        std::printf("fitted zoom %.4f: %d x %d\n", workspace.zoom(), fitted.width(),
                    fitted.height());
        if (!report("commit at the fitted zoom", qtScalingMs(photo, fitted),
                    timedCommit(workspace, 1), 50)) {
            return 1;
        }
    }

    PhotoWorkspace workspace;
    workspace.showNewPicture(photo);
    if (!workspace.setZoom(2.0)) {
        std::fprintf(stderr, "zoom 2 refused\n");
        return 1;
    }
    const QSize doubled = workspace.zoomedSize();
    const double scaleMs = qtScalingMs(photo, doubled);
    if (!report("commit at zoom 2 (24 MP to 96 MP)", scaleMs, timedCommit(workspace, 2), 800)) {
        return 1;
    }
    std::printf("picture now %d x %d at zoom %.1f\n", workspace.pictureSize().width(),
                workspace.pictureSize().height(), workspace.zoom());
    double later = 1e9;
    for (int i = 0; i < 5; ++i) {
        const double ms = timedCommit(workspace, 3 + i);
        if (ms < 0) {
            std::printf("later commit refused\n");
            return 1;
        }
        later = std::min(later, ms);
    }
    report("later stroke on the 96 MP picture", scaleMs, later, 100);
    return 0;
}
