// Quick-shoot latency: from the click on "拍 照" to the file written (358 x 441, 30 KB limit,
// the test-pattern camera at 1280 x 720), through the real program window on the offscreen
// platform. Printed beside one plain JPEG encode of the same pixels; goal: under 30 ms.
#include "BenchSupport.h"

#include "core/settings/NamingModes.h"
#include "core/output/BmpWriter.h"
#include "core/output/ImageCodec.h"
#include "core/output/ImageFormat.h"
#include "gui/app/FeatureLinks.h"
#include "gui/app/MainControls.h"
#include "gui/app/MainWindow.h"
#include "gui/app/PortiqaApp.h"
#include "gui/app/UpDownEdit.h"
#include "gui/camera/CameraFeature.h"
#include "gui/camera/CameraWindow.h"
#include "platform/camera/PatternCamera.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace portiqa;

int main(int argc, char** argv) {
    bench::preferOffscreenPlatform();
    QApplication application(argc, argv);
    QTemporaryDir dir;
    auto backend = std::make_unique<PatternCamera>(QSize(1280, 720));
    PatternCamera* camera = backend.get();
    LaunchOptions options;
    options.settingsDir = dir.filePath("settings");
    PortiqaApp app(options, nullptr, std::move(backend));
    app.start();
    const MainControls& controls = app.window().controls();
    controls.widthEdit->setText("358");
    controls.heightEdit->setText("441");
    controls.sizeLimitEdit->setText("30");
    const QString folder = dir.filePath("out");
    QDir().mkpath(folder);
    QuickShootSettings& settings = app.quickShootSettings();
    settings.saveFolder = folder;
    settings.namingIndex = 1;
    settings.namingMode = namingModeText(BatchKind::QuickShoot, 1);
    app.links().openCameraWindow();
    CameraWindow* window = app.camera().window();
    window->quickBox()->click();

    // A new camera frame before each shot, outside the timing: the click is what is measured.
    const int shots = 20;
    int written = 0;
    double shotMs = 1e9;
    for (int i = 0; i < shots; ++i) {
        camera->advance();
        shotMs = std::min(shotMs, bench::bestMs(1, [&] { window->shootButton()->click(); }));
        ++written;
    }
    const QFileInfo last(QStringLiteral("%1/%2.jpg").arg(folder).arg(written, 4, 10, QChar('0')));

    ImageCodec codec;
    codec.loadFromBytes(encodeBmp24(window->quickFrameShot()));
    const double plainMs =
        bench::bestMs(shots, [&] { codec.encode(int(ImageFormat::Jpeg), 75, true); });

    std::printf("quick shot 358 x 441, limit 30 KB, preview %d x %d\n",
                window->previewSize().width(), window->previewSize().height());
    std::printf("  click to file written %.3f ms (best of %d); last file %lld bytes\n", shotMs,
                shots, static_cast<long long>(last.size()));
    std::printf("  one plain JPEG encode of the same pixels (quality 75) %.3f ms\n", plainMs);
    std::printf("  ratio shot / plain encode %.2f; goal under 30 ms: %s\n", shotMs / plainMs,
                shotMs < 30 ? "met" : "not met");
    return 0;
}
