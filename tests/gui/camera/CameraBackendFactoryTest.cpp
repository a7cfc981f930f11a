// PORTIQA_CAMERA picks the camera the program uses.

#include "platform/camera/CameraBackend.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

using namespace portiqa;

TEST(CameraBackendFactory, TheEnvironmentChoosesThePatternOrNoCamera) {
    const QByteArray saved = qgetenv("PORTIQA_CAMERA");
    qputenv("PORTIQA_CAMERA", "pattern:320x200");
    std::unique_ptr<CameraBackend> pattern = createCameraBackend();
    ASSERT_EQ(pattern->devices().size(), 1);
    ASSERT_TRUE(pattern->connectDevice(0));
    EXPECT_EQ(pattern->currentFrame().size(), QSize(320, 200));

    // A late first frame, as from a webcam whose stream takes a moment to start.
    qputenv("PORTIQA_CAMERA", "pattern:320x200,delay=30");
    std::unique_ptr<CameraBackend> late = createCameraBackend();
    QSignalSpy frames(late.get(), &CameraBackend::frameArrived);
    ASSERT_TRUE(late->connectDevice(0));
    EXPECT_TRUE(late->currentFrame().isNull());
    ASSERT_TRUE(frames.wait(10000));
    EXPECT_EQ(late->currentFrame().size(), QSize(320, 200));

    qputenv("PORTIQA_CAMERA", "none");
    std::unique_ptr<CameraBackend> none = createCameraBackend();
    EXPECT_TRUE(none->devices().isEmpty());
    EXPECT_FALSE(none->connectDevice(0));
    if (saved.isNull()) {
        qunsetenv("PORTIQA_CAMERA");
    } else {
        qputenv("PORTIQA_CAMERA", saved);
    }
}
