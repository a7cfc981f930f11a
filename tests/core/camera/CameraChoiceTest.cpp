#include "core/camera/CameraChoice.h"

#include <gtest/gtest.h>

using namespace portiqa;

TEST(CameraChoice, EnvironmentValues) {
    using Kind = CameraChoice::Kind;
    struct Case {
        const char* value;
        Kind kind;
        QSize size;
        bool problem;
    };
    const Case cases[] = {
        {"", Kind::Webcams, {640, 480}, false},
        {"pattern", Kind::Pattern, {640, 480}, false},
        {" Pattern ", Kind::Pattern, {640, 480}, false},
        {"pattern:1280x720", Kind::Pattern, {1280, 720}, false},
        {"pattern:16x8192", Kind::Pattern, {16, 8192}, false},
        {"none", Kind::None, {640, 480}, false},
        {"pattern:0x480", Kind::Webcams, {640, 480}, true},
        {"pattern:99999x99999", Kind::Webcams, {640, 480}, true},
        {"pattern:640x", Kind::Webcams, {640, 480}, true},
        {"webcam", Kind::Webcams, {640, 480}, true},
    };
    for (const Case& c : cases) {
        const CameraChoice choice = parseCameraChoice(QString::fromUtf8(c.value));
        EXPECT_EQ(choice.kind, c.kind) << c.value;
        EXPECT_EQ(choice.patternSize, c.size) << c.value;
        EXPECT_EQ(!choice.problem.isEmpty(), c.problem) << c.value;
    }
}
