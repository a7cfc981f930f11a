// The Qt Multimedia backend on a machine without webcams (the test machines have none): it
// lists what the system reports and refuses to connect what is not there, so the camera window
// shows its help text instead of hanging or crashing.

#include "platform/camera/QtCamera.h"

#include <gtest/gtest.h>

using namespace portiqa;

TEST(QtCamera, ConnectsOnlyToListedCameras) {
    QtCamera camera;
    const QStringList devices = camera.devices();
    EXPECT_FALSE(camera.connectDevice(int(devices.size())));
    EXPECT_FALSE(camera.connectDevice(-1));
    EXPECT_FALSE(camera.isConnected());
    EXPECT_TRUE(camera.currentFrame().isNull());
    EXPECT_TRUE(camera.formats().isEmpty());
    EXPECT_FALSE(camera.setFormat(0));
    camera.disconnectDevice(); // harmless when nothing is connected
}
