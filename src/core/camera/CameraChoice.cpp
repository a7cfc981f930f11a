#include "core/camera/CameraChoice.h"

#include <QRegularExpression>

namespace portiqa {

namespace {
constexpr int kMinSide = 16;
constexpr int kMaxSide = 8192;
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
    if (text == QLatin1String("pattern")) {
        choice.kind = CameraChoice::Kind::Pattern;
        return choice;
    }
    static const QRegularExpression sized(QStringLiteral("^pattern:(\\d{1,5})x(\\d{1,5})$"));
    const QRegularExpressionMatch match = sized.match(text);
    if (match.hasMatch()) {
        const int width = match.captured(1).toInt();
        const int height = match.captured(2).toInt();
        if (width >= kMinSide && width <= kMaxSide && height >= kMinSide && height <= kMaxSide) {
            choice.kind = CameraChoice::Kind::Pattern;
            choice.patternSize = QSize(width, height);
            return choice;
        }
        choice.problem = QStringLiteral("%1=%2: each side of the test pattern must be %3 to %4 "
                                        "pixels; using the webcams")
                             .arg(QLatin1String(cameraVariableName()), value)
                             .arg(kMinSide)
                             .arg(kMaxSide);
        return choice;
    }
    choice.problem = QStringLiteral("%1=%2 is not understood (use pattern, pattern:WIDTHxHEIGHT "
                                    "or none); using the webcams")
                         .arg(QLatin1String(cameraVariableName()), value);
    return choice;
}

CameraChoice cameraChoiceFromEnvironment() {
    return parseCameraChoice(qEnvironmentVariable(cameraVariableName()));
}

} // namespace portiqa
