#include "core/camera/CameraChoice.h"

#include <QRegularExpression>

namespace portiqa {

namespace {
constexpr int kMinSide = 16;
constexpr int kMaxSide = 8192;
constexpr int kMaxDelayMs = 60000;
} // namespace

CameraChoice parseCameraChoice(const QString& value) {
    CameraChoice choice;
    const QString text = value.trimmed().toLower();
    if (text.isEmpty()) {
        return choice;
    }
    if (text == QLatin1String("none")) {
        choice.kind = CameraChoice::Kind::None;
        return choice;
    }
    static const QRegularExpression pattern(
        QStringLiteral("^pattern(?::(\\d{1,5})x(\\d{1,5}))?(?:,delay=(\\d{1,6}))?$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) {
        choice.problem = QStringLiteral("%1=%2 is not understood (use pattern, "
                                        "pattern:WIDTHxHEIGHT, either with ,delay=MILLISECONDS, "
                                        "or none); using the webcams")
                             .arg(QLatin1String(cameraVariableName()), value);
        return choice;
    }
    QSize size = choice.patternSize;
    if (match.hasCaptured(1)) {
        const int width = match.captured(1).toInt();
        const int height = match.captured(2).toInt();
        if (width < kMinSide || width > kMaxSide || height < kMinSide || height > kMaxSide) {
            choice.problem = QStringLiteral("%1=%2: each side of the test pattern must be %3 to "
                                            "%4 pixels; using the webcams")
                                 .arg(QLatin1String(cameraVariableName()), value)
                                 .arg(kMinSide)
                                 .arg(kMaxSide);
            return choice;
        }
        size = QSize(width, height);
    }
    int delay = 0;
    if (match.hasCaptured(3)) {
        delay = match.captured(3).toInt();
        if (delay > kMaxDelayMs) {
            choice.problem = QStringLiteral("%1=%2: the first frame's delay must be 0 to %3 "
                                            "milliseconds; using the webcams")
                                 .arg(QLatin1String(cameraVariableName()), value)
                                 .arg(kMaxDelayMs);
            return choice;
        }
    }
    choice.kind = CameraChoice::Kind::Pattern;
    choice.patternSize = size;
    choice.firstFrameDelayMs = delay;
    return choice;
}

CameraChoice cameraChoiceFromEnvironment() {
    return parseCameraChoice(qEnvironmentVariable(cameraVariableName()));
}

} // namespace portiqa
