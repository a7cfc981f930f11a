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
        choice.problem = QStringLiteral("%1=%2 无法识别（可用 pattern、pattern:宽x高，二者都可加 "
                                        ",delay=毫秒，或 none）；改用系统的摄像头")
                             .arg(QLatin1String(cameraVariableName()), value);
        return choice;
    }
    QSize size = choice.patternSize;
    if (match.hasCaptured(1)) {
        const int width = match.captured(1).toInt();
        const int height = match.captured(2).toInt();
        if (width < kMinSide || width > kMaxSide || height < kMinSide || height > kMaxSide) {
            choice.problem =
                QStringLiteral("%1=%2：测试图案的每边须为 %3 到 %4 像素；改用系统的摄像头")
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
            choice.problem =
                QStringLiteral("%1=%2：第一帧的延迟须为 0 到 %3 毫秒；改用系统的摄像头")
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
