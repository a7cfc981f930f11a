#include "core/camera/CameraChoice.h"

#include <gtest/gtest.h>

using namespace portiqa;

TEST(CameraChoice, EnvironmentValues) {
    using Kind = CameraChoice::Kind;
    struct Case {
        const char* value;
        Kind kind;
        QSize size;
        int delay;
        bool problem;
    };
    const Case cases[] = {
        {"", Kind::Webcams, {640, 480}, 0, false},
        {"pattern", Kind::Pattern, {640, 480}, 0, false},
        {" Pattern ", Kind::Pattern, {640, 480}, 0, false},
        {"pattern:1280x720", Kind::Pattern, {1280, 720}, 0, false},
        {"pattern:16x8192", Kind::Pattern, {16, 8192}, 0, false},
        {"pattern:1280x720,delay=500", Kind::Pattern, {1280, 720}, 500, false},
        {"pattern,delay=60000", Kind::Pattern, {640, 480}, 60000, false},
        {"none", Kind::None, {640, 480}, 0, false},
        {"pattern:0x480", Kind::Webcams, {640, 480}, 0, true},
        {"pattern:99999x99999", Kind::Webcams, {640, 480}, 0, true},
        {"pattern:640x", Kind::Webcams, {640, 480}, 0, true},
        {"pattern:1280x720,delay=60001", Kind::Webcams, {640, 480}, 0, true},
        {"pattern:1280x720,delay=", Kind::Webcams, {640, 480}, 0, true},
        {"pattern,delay=-5", Kind::Webcams, {640, 480}, 0, true},
        {"webcam", Kind::Webcams, {640, 480}, 0, true},
    };
    for (const Case& c : cases) {
        const CameraChoice choice = parseCameraChoice(QString::fromUtf8(c.value));
        EXPECT_EQ(choice.kind, c.kind) << c.value;
        EXPECT_EQ(choice.patternSize, c.size) << c.value;
        EXPECT_EQ(choice.firstFrameDelayMs, c.delay) << c.value;
        EXPECT_EQ(!choice.problem.isEmpty(), c.problem) << c.value;
    }
}
