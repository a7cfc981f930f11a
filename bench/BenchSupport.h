#pragma once

// Minimal timing harness for the benchmarks: run a piece of work several times and keep the
// best time, so a baseline and a candidate measured in the same run compare fairly.

#include "core/dialogs/Dialogs.h"

#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QFont>
#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <limits>

namespace portiqa::bench {

// A roster workbook of tests/fixtures/roster.
inline QString rosterFixture(const char* name) {
    return QStringLiteral(PORTIQA_FIXTURES "/roster/") + QLatin1String(name);
}

// Converts `file` to CSV with soffice in a private profile (the baseline of the roster
// benchmarks); false when it fails.
inline bool convertWithSoffice(const QString& soffice, const QString& profile, const QString& file,
                               const QString& outDir) {
    QProcess p;
    p.start(soffice, {QStringLiteral("-env:UserInstallation=file://") + profile,
                      QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                      QStringLiteral("csv"), QStringLiteral("--outdir"), outDir, file});
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// What a benchmark answers when the program asks: nobody is there, so every message is taken
// with OK and kept ("caption: text", and printed to stderr when asked), an open
// dialog picks `file`, and every other dialog is cancelled.
class BenchDialogs final : public Dialogs {
public:
    explicit BenchDialogs(bool printMessages = false) : printMessages_(printMessages) {}

    QString file;
    QStringList messages;

    MessageAnswer message(const QString& caption, const QString& text, MessageIcon,
                          MessageButtons) override {
        messages.append(caption + QStringLiteral(": ") + text);
        if (printMessages_) {
            std::fprintf(stderr, "message: %s\n", qPrintable(text));
        }
        return MessageAnswer::Ok;
    }
    QString openFile(const QString&, const QString&, const QString&) override { return file; }
    QString saveFile(const SaveFileRequest&) override { return {}; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    std::optional<QColor> chooseColour(const QColor&) override { return std::nullopt; }
    std::optional<QFont> chooseFont(const QFont&) override { return std::nullopt; }

private:
    bool printMessages_;
};

// A busy 24-bit picture whose every pixel differs from its neighbours, so no resampler or
// encoder gets an easy case.
inline QImage pattern(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            line[x] = qRgb((x * 7 + y * 3) & 255, (x ^ y) & 255, (x * y) & 255);
        }
    }
    return image;
}

// A field of /proc/self/status in KB ("VmRSS:", "VmHWM:"); -1 where there is none.
inline long statusKb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field)) {
            return line.mid(static_cast<int>(qstrlen(field))).trimmed().split(' ').first().toLong();
        }
    }
    return -1;
}

// Peak growth of the resident size in megabytes while `work` runs: the kernel's peak (VmHWM),
// reset through /proc/self/clear_refs, less the resident size before.
inline double peakGrowthMb(const std::function<void()>& work) {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly)) {
        clear.write("5");
        clear.close();
    }
    const long before = statusKb("VmRSS:");
    work();
    return (statusKb("VmHWM:") - before) / 1024.0;
}

// Benchmarks need no screen: Qt's offscreen platform unless the caller chose one.
inline void preferOffscreenPlatform() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

// Best wall time of `runs` runs of `work`, in milliseconds.
inline double bestMs(int runs, const std::function<void()>& work) {
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const auto end = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::milli>(end - start).count());
    }
    return best;
}

// A committed test picture as the codec holds captures (RGB32); null when it cannot be read,
// after saying so on stderr.
inline QImage loadFixturePicture(const char* relativePath) {
    const QString path = QStringLiteral(PORTIQA_FIXTURES "/") + QString::fromUtf8(relativePath);
    QImage picture(path);
    if (picture.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return {};
    }
    return picture.convertToFormat(QImage::Format_RGB32);
}

inline void printRatio(const char* what, double baselineMs, double candidateMs) {
    std::printf("%-48s baseline %9.3f ms  ours %9.3f ms  ratio %6.2fx\n", what, baselineMs,
                candidateMs, candidateMs > 0 ? baselineMs / candidateMs : 0.0);
}

} // namespace portiqa::bench
