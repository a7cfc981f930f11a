// The quick-shoot frame following a real face on the camera preview.

#include "core/ini/IniFile.h"
#include "gui/app/FeatureLinks.h"
#include "gui/app/PortiqaApp.h"
#include "gui/camera/CameraFeature.h"
#include "gui/camera/CameraWindow.h"
#include "gui/camera/PreviewWidget.h"
#include "gui/face/AutoFrameFeature.h"
#include "gui/face/QuickShootFaceFollow.h"
#include "platform/camera/CameraBackend.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace portiqa;

namespace {

// A camera that shows one still picture: a real portrait, off the middle of a 640 x 480 view.
class StillCamera final : public CameraBackend {
public:
    StillCamera() : frame_(640, 480, QImage::Format_RGB32) {
        frame_.fill(QColor(200, 205, 210));
        const QImage face(test::fixturePath(QStringLiteral("faces/sample6_0.jpg")));
        QPainter(&frame_).drawImage(QPoint(40, 20), face.scaledToHeight(440));
    }
    QStringList devices() const override { return {QStringLiteral("still")}; }
    bool connectDevice(int index) override {
        connected_ = index == 0;
        if (connected_) {
            emit frameArrived();
        }
        return connected_;
    }
    void disconnectDevice() override { connected_ = false; }
    int currentDevice() const override { return connected_ ? 0 : -1; }
    void setFrameInterval(int) override {}
    QImage currentFrame() const override { return connected_ ? frame_ : QImage(); }
    QList<CameraFormat> formats() const override { return {CameraFormat{{640, 480}, 30, 30, {}}}; }
    int currentFormat() const override { return 0; }
    bool setFormat(int index) override { return index == 0; }

private:
    QImage frame_;
    bool connected_ = false;
};

// Rounds until the frame stands still (or `rounds` have run); false when a round never ended.
bool followUntilStill(QuickShootFaceFollow& follow, CameraWindow& window, int rounds) {
    for (int i = 0; i < rounds; ++i) {
        const QPoint before = window.quickFrameTopLeft();
        QSignalSpy followed(&follow, &QuickShootFaceFollow::followed);
        follow.tick();
        if (!followed.wait(10000)) {
            return false;
        }
        if (window.quickFrameTopLeft() == before) {
            return true;
        }
    }
    return true;
}

} // namespace

TEST(QuickShootFollow, FrameGlidesToTheFaceAndStopsFollowingOnceTheOperatorMovesIt) {
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("s"));
    IniFile(dir.filePath("s/set.dll")).write("自动框选", "启用", "真");
    test::ScriptedDialogs dialogs;
    LaunchOptions options;
    options.settingsDir = dir.filePath("s");
    PortiqaApp app(options, &dialogs, std::make_unique<StillCamera>());
    app.start();
    app.links().quickShootMode = [] { return true; }; // as the switch reports it when on
    app.links().openCameraWindow();
    CameraWindow* window = app.camera().window();
    ASSERT_NE(window, nullptr);
    QCoreApplication::processEvents();
    ASSERT_FALSE(window->previewImage().isNull());
    QuickShootFaceFollow* follow = app.autoFrame().quickShootFollow();
    ASSERT_NE(follow, nullptr);

    const QPoint start = window->quickFrameTopLeft();
    ASSERT_TRUE(followUntilStill(*follow, *window, 30));
    const QPoint settled = window->quickFrameTopLeft();
    EXPECT_NE(settled, start);
    // The frame stands centred on the face: the eyes' middle lies at x = 209.6 of the camera
    // picture (the portrait's landmarks, scaled to 440 px high, placed at x = 40).
    const QRect preview = window->preview()->geometry();
    const double faceX = preview.x() + 209.6 * preview.width() / 640.0;
    const int frameWidth = window->capturePanel()->width();
    EXPECT_NEAR(settled.x() + frameWidth / 2.0, faceX, 12.0);
    EXPECT_TRUE(follow->follower().following());

    // The operator moves the frame: the next round leaves it where the operator put it.
    window->moveQuickFrameTo(settled + QPoint(7, -3));
    follow->tick();
    EXPECT_FALSE(follow->follower().following());
    follow->tick();
    EXPECT_EQ(window->quickFrameTopLeft(), settled + QPoint(7, -3));
}
