#include "core/camera/CameraChoice.h"
#include "platform/camera/CameraBackend.h"
#include "platform/camera/PatternCamera.h"
#include "platform/camera/QtCamera.h"

#include <cstdio>

namespace portiqa {

std::unique_ptr<CameraBackend> createCameraBackend() {
    const CameraChoice choice = cameraChoiceFromEnvironment();
    if (!choice.problem.isEmpty()) {
        std::fprintf(stderr, "portiqa: %s\n", qPrintable(choice.problem));
    }
    switch (choice.kind) {
    case CameraChoice::Kind::Pattern: {
        auto pattern = std::make_unique<PatternCamera>(choice.patternSize);
        pattern->setFirstFrameDelay(choice.firstFrameDelayMs);
        return pattern;
    }
    case CameraChoice::Kind::None:
        return std::make_unique<PatternCamera>(QSize());
    case CameraChoice::Kind::Webcams:
        break;
    }
    return std::make_unique<QtCamera>();
}

} // namespace portiqa
