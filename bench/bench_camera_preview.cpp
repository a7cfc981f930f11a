// Preview cost per camera frame at 1280 x 720: the frame as a webcam delivers it (YUYV in a
// QVideoFrame) converted to an image, scaled to the preview by the function the preview and
// the photo share, and painted. Printed as processor time per frame beside the frame interval
// of a 30 frames-per-second camera, which it must stay well inside (goal: under 4 ms).
#include "BenchSupport.h"

#include "core/camera/CameraWindowSizing.h"
#include "core/camera/PreviewScaling.h"
#include "platform/camera/PatternCamera.h"

#include <QGuiApplication>
#include <QPainter>
#include <QVideoFrame>
#include <QVideoFrameFormat>

#include <cstdio>
#include <ctime>

using namespace portiqa;

namespace {

double processorMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

// The pattern's pixels packed as YUYV (4:2:2), the common uncompressed webcam format.
QVideoFrame yuyvFrame(const QImage& rgb) {
    QVideoFrame frame(QVideoFrameFormat(rgb.size(), QVideoFrameFormat::Format_YUYV));
    frame.map(QVideoFrame::WriteOnly);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* out = frame.bits(0) + y * frame.bytesPerLine(0);
        for (int x = 0; x + 1 < rgb.width(); x += 2) {
            const auto luma = [](QRgb p) {
                return uchar((66 * qRed(p) + 129 * qGreen(p) + 25 * qBlue(p) + 128) / 256 + 16);
            };
            const QRgb a = in[x];
            out[2 * x] = luma(a);
            out[2 * x + 1] =
                uchar((-38 * qRed(a) - 74 * qGreen(a) + 112 * qBlue(a) + 128) / 256 + 128);
            out[2 * x + 2] = luma(in[x + 1]);
            out[2 * x + 3] =
                uchar((112 * qRed(a) - 94 * qGreen(a) - 18 * qBlue(a) + 128) / 256 + 128);
        }
    }
    frame.unmap();
    return frame;
}

} // namespace

int main(int argc, char** argv) {
    bench::preferOffscreenPlatform();
    QGuiApplication app(argc, argv);
    const QSize cameraSize(1280, 720);
    const double aspect = double(cameraSize.height()) / cameraSize.width();
    const QSize preview = camerasizing::initialPreview({358, 441}, aspect);
    const int frames = 120;

    QList<QVideoFrame> camera;
    for (int i = 0; i < 8; ++i) {
        camera.append(yuyvFrame(PatternCamera::renderFrame(cameraSize, i, "12:00:00.000")));
    }
    QImage backingStore(preview, QImage::Format_RGB32);

    double convertMs = 0;
    double scaleMs = 0;
    double paintMs = 0;
    for (int i = 0; i < frames; ++i) {
        const double t0 = processorMs();
        const QImage image = camera.at(i % camera.size()).toImage();
        const QImage opaque = image.convertToFormat(QImage::Format_RGB32);
        const double t1 = processorMs();
        const QImage shown = scaleFrameToPreview(opaque, preview);
        const double t2 = processorMs();
        QPainter painter(&backingStore);
        painter.drawImage(0, 0, shown);
        painter.end();
        const double t3 = processorMs();
        convertMs += t1 - t0;
        scaleMs += t2 - t1;
        paintMs += t3 - t2;
    }
    const double perFrame = (convertMs + scaleMs + paintMs) / frames;
    const double interval = 1000.0 / 30;
    std::printf("camera 1280 x 720 YUYV, preview %d x %d, %d frames\n", preview.width(),
                preview.height(), frames);
    std::printf("  convert %.3f ms  scale %.3f ms  paint %.3f ms per frame (processor time)\n",
                convertMs / frames, scaleMs / frames, paintMs / frames);
    std::printf("  total %.3f ms per frame against a frame interval of %.3f ms: %.1f%% of it "
                "(goal under 4 ms: %s)\n",
                perFrame, interval, 100 * perFrame / interval, perFrame < 4 ? "met" : "not met");
    return 0;
}
