#include "platform/camera/PatternCamera.h"

#include <QDateTime>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>

namespace portiqa {

namespace {

constexpr int kDefaultIntervalMs = 60;

QList<CameraFormat> patternFormats(QSize chosen) {
    QList<CameraFormat> list;
    const QSize common[] = {chosen, QSize(640, 480), QSize(1280, 720), QSize(320, 240)};
    for (const QSize& size : common) {
        const bool known = std::any_of(list.cbegin(), list.cend(),
                                       [&](const CameraFormat& f) { return f.resolution == size; });
        if (!known) {
            list.append({size, 1000.0 / kDefaultIntervalMs, 1000.0 / kDefaultIntervalMs,
                         QStringLiteral("RGB32")});
        }
    }
    return list;
}

const QStringList& exposureNames() {
    static const QStringList names = {QStringLiteral("自动"), QStringLiteral("偏暗"),
                                      QStringLiteral("偏亮")};
    return names;
}

} // namespace

PatternCamera::PatternCamera(QSize size, QObject* parent) : CameraBackend(parent) {
    plug(size);
    timer_.setInterval(kDefaultIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &PatternCamera::advance);
    firstFrame_.setSingleShot(true);
    connect(&firstFrame_, &QTimer::timeout, this, [this] {
        advance();
        timer_.start();
    });
}

void PatternCamera::setFirstFrameDelay(int milliseconds) {
    firstFrame_.setInterval(std::max(0, milliseconds));
}

void PatternCamera::plug(QSize size) {
    if (connected_) {
        disconnectDevice();
        emit connectionLost();
    }
    hasDevice_ = !size.isEmpty();
    formats_ = hasDevice_ ? patternFormats(size) : QList<CameraFormat>();
    format_ = 0;
}

QStringList PatternCamera::devices() const {
    if (!hasDevice_) {
        return {};
    }
    return {QStringLiteral("Portiqa 测试图案摄像头")};
}

bool PatternCamera::connectDevice(int index) {
    if (!hasDevice_ || index != 0) {
        return false;
    }
    connected_ = true;
    if (firstFrame_.interval() > 0) {
        firstFrame_.start(); // the stream is starting: no frame yet
        return true;
    }
    advance();
    timer_.start();
    return true;
}

void PatternCamera::disconnectDevice() {
    firstFrame_.stop();
    timer_.stop();
    connected_ = false;
    frame_ = QImage();
}

void PatternCamera::setFrameInterval(int milliseconds) {
    timer_.setInterval(milliseconds > 0 ? milliseconds : kDefaultIntervalMs);
}

QList<CameraFormat> PatternCamera::formats() const {
    return formats_;
}

bool PatternCamera::setFormat(int index) {
    if (!connected_ || index < 0 || index >= formats_.size()) {
        return false;
    }
    format_ = index;
    advance();
    return true;
}

CameraModeChoice PatternCamera::exposureModes() const {
    CameraModeChoice choice;
    choice.names = exposureNames();
    choice.current = brightness_ == 0 ? 0 : (brightness_ < 0 ? 1 : 2);
    return choice;
}

void PatternCamera::setExposureMode(int index) {
    brightness_ = index == 1 ? -60 : (index == 2 ? 60 : 0);
}

void PatternCamera::advance() {
    if (!connected_) {
        return;
    }
    ++frameNumber_;
    frame_ =
        renderFrame(formats_.at(format_).resolution, frameNumber_,
                    QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz")), brightness_);
    emit frameArrived();
}

QImage PatternCamera::renderFrame(QSize size, int frameNumber, const QString& clockText,
                                  int brightness) {
    QImage frame(size, QImage::Format_RGB32);
    if (frame.isNull()) {
        return frame;
    }
    const int w = size.width();
    const int h = size.height();
    const auto shade = [brightness](int r, int g, int b) {
        const auto clamp = [](int v) { return std::clamp(v, 0, 255); };
        return QColor(clamp(r + brightness), clamp(g + brightness), clamp(b + brightness));
    };
    QPainter painter(&frame);
    painter.setRenderHint(QPainter::Antialiasing);
    // A field whose colours drift with the frame number, so a frozen preview is obvious.
    const int drift = (frameNumber * 4) % 256;
    QLinearGradient field(0, 0, w, h);
    field.setColorAt(0, shade(drift, 90, 255 - drift));
    field.setColorAt(1, shade(40, 255 - drift, drift / 2 + 60));
    painter.fillRect(frame.rect(), field);
    // Stripes sliding to the right.
    const int stripe = std::max(8, w / 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade(255, 255, 255));
    painter.setOpacity(0.18);
    for (int x = (frameNumber * 3) % (2 * stripe) - 2 * stripe; x < w; x += 2 * stripe) {
        painter.drawRect(x, 0, stripe, h);
    }
    painter.setOpacity(1.0);
    // A face-like shape in the middle: head, eyes, mouth, shoulders.
    const double unit = std::min(w, h) / 10.0;
    const QPointF centre(w / 2.0, h / 2.0);
    painter.setBrush(shade(60, 60, 90));
    painter.drawEllipse(QRectF(centre.x() - 4 * unit, centre.y() + 2.6 * unit, 8 * unit, 6 * unit));
    painter.setBrush(shade(236, 196, 160));
    painter.drawEllipse(QRectF(centre.x() - 2 * unit, centre.y() - 3 * unit, 4 * unit, 5.2 * unit));
    painter.setBrush(shade(30, 30, 30));
    const double blink = (frameNumber / 25) % 4 == 3 ? 0.1 : 0.5;
    painter.drawEllipse(
        QRectF(centre.x() - 1.1 * unit, centre.y() - 1.2 * unit, 0.6 * unit, blink * unit));
    painter.drawEllipse(
        QRectF(centre.x() + 0.5 * unit, centre.y() - 1.2 * unit, 0.6 * unit, blink * unit));
    painter.setBrush(shade(180, 60, 60));
    painter.drawRoundedRect(
        QRectF(centre.x() - 0.8 * unit, centre.y() + 0.9 * unit, 1.6 * unit, 0.4 * unit),
        0.2 * unit, 0.2 * unit);
    // The clock and the frame number, top left.
    QFont font;
    font.setPixelSize(std::max(8, h / 16));
    painter.setFont(font);
    painter.setPen(shade(255, 255, 255));
    painter.drawText(QRect(unit / 2, unit / 4, w, h / 8), Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("%1  #%2").arg(clockText).arg(frameNumber));
    return frame;
}

QString CameraFormat::description() const {
    QString text = QStringLiteral("%1 x %2").arg(resolution.width()).arg(resolution.height());
    if (maxFrameRate > 0) {
        const double low = minFrameRate > 0 ? minFrameRate : maxFrameRate;
        text +=
            qFuzzyCompare(low, maxFrameRate)
                ? QStringLiteral(", %1 帧/秒").arg(maxFrameRate, 0, 'g', 4)
                : QStringLiteral(", %1-%2 帧/秒").arg(low, 0, 'g', 4).arg(maxFrameRate, 0, 'g', 4);
    }
    if (!pixelFormat.isEmpty()) {
        text += QStringLiteral(", ") + pixelFormat;
    }
    return text;
}

} // namespace portiqa
