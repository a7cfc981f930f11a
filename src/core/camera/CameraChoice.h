#pragma once

// Which camera the program uses, from the environment variable PORTIQA_CAMERA:
//   unset or empty        the machine's webcams through Qt Multimedia
//   "pattern"             the built-in test pattern at 640 x 480
//   "pattern:1280x720"    the test pattern at any size (each side 16 to 8192 pixels)
//   "none"                no camera at all, as on a machine without a webcam
//   ",delay=500" after either pattern form: the pattern's first frame comes that many
//                         milliseconds (0 to 60000) after connecting, as from a slow webcam
// A value that is none of these is reported in `problem` and the webcams are used, so a typo
// never hides a real camera.

#include <QSize>
#include <QString>

namespace portiqa {

struct CameraChoice {
    enum class Kind { Webcams, Pattern, None };
    Kind kind = Kind::Webcams;
    QSize patternSize{640, 480};
    int firstFrameDelayMs = 0;
    QString problem; // empty when the value was understood
};

inline const char* cameraVariableName() {
    return "PORTIQA_CAMERA";
}

CameraChoice parseCameraChoice(const QString& value);

// The choice made by the process environment.
CameraChoice cameraChoiceFromEnvironment();

} // namespace portiqa
