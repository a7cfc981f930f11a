#include "cli/CropProgress.h"

namespace portiqa {

namespace {
constexpr int kBarWidth = 30;
constexpr qint64 kTerminalIntervalMs = 100;
constexpr qint64 kPlainIntervalMs = 5000;

QString clockText(qint64 seconds) {
    const qint64 h = seconds / 3600;
    const qint64 m = (seconds / 60) % 60;
    const qint64 s = seconds % 60;
    return h > 0 ? QStringLiteral("%1:%2:%3")
                       .arg(h)
                       .arg(m, 2, 10, QLatin1Char('0'))
                       .arg(s, 2, 10, QLatin1Char('0'))
                 : QStringLiteral("%1:%2").arg(m).arg(s, 2, 10, QLatin1Char('0'));
}
} // namespace

CropProgress::CropProgress(std::FILE* stream, bool terminal, int total, int alreadyDone)
    : stream_(stream), terminal_(terminal), total_(total), done_(alreadyDone) {
    clock_.start();
}

QString CropProgress::statusText(int done, int total, double rate) {
    QString text = QStringLiteral("%1/%2").arg(done).arg(total);
    if (rate > 0) {
        text += QStringLiteral("  %1 张/秒  剩余 %2")
                    .arg(rate, 0, 'f', 1)
                    .arg(clockText(static_cast<qint64>((total - done) / rate + 0.5)));
    }
    return text;
}

void CropProgress::pictureDone() {
    ++done_;
    ++doneHere_;
    draw(done_ >= total_);
}

void CropProgress::note(const QString& text) {
    if (terminal_) {
        std::fputs("\r\033[K", stream_);
    }
    std::fprintf(stream_, "%s\n", text.toUtf8().constData());
    if (terminal_) {
        draw(true);
    }
    std::fflush(stream_);
}

void CropProgress::finish() {
    if (lastDrawnDone_ != done_) {
        draw(true);
    }
    if (terminal_) {
        std::fputc('\n', stream_);
    }
    std::fflush(stream_);
}

void CropProgress::draw(bool force) {
    const qint64 now = clock_.elapsed();
    const qint64 interval = terminal_ ? kTerminalIntervalMs : kPlainIntervalMs;
    if (!force && lastDrawn_ >= 0 && now - lastDrawn_ < interval) {
        return;
    }
    if (!terminal_ && lastDrawn_ < 0 && !force) {
        lastDrawn_ = now; // the first plain line after one interval, not at once
        return;
    }
    lastDrawn_ = now;
    lastDrawnDone_ = done_;
    const double rate = now > 0 ? doneHere_ * 1000.0 / now : 0;
    const QString status = statusText(done_, total_, rate);
    if (terminal_) {
        const int filled = total_ > 0 ? kBarWidth * done_ / total_ : kBarWidth;
        const QString bar =
            QString(filled, QLatin1Char('#')) + QString(kBarWidth - filled, QLatin1Char('.'));
        std::fprintf(stream_, "\r\033[K[%s] %s", bar.toLatin1().constData(),
                     status.toUtf8().constData());
    } else {
        std::fprintf(stream_, "%s\n", status.toUtf8().constData());
    }
    std::fflush(stream_);
}

} // namespace portiqa
