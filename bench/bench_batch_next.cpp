// Batch crop's "next picture" on a folder of 20-megapixel JPEGs: the time from the key (the
// load asked for) to the right picture on screen, with the next picture read ahead against a
// fresh load; then the peak memory of a long run with read-ahead beside one picture's size.
//
// Usage: bench_batch_next [pictures-in-the-run (default 200)]
// The photos are made at run time in a temporary folder: four distinct ones, the rest hard
// links to them, so a long run costs little disk.
#include "BenchSupport.h"

#include "core/output/JpegWriter.h"
#include "core/workspace/PhotoWorkspace.h"
#include "core/workspace/PicturePrefetcher.h"
#include "core/workspace/WorkspaceLoader.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace portiqa;

namespace {

const QSize kArea(411, 279);

// A detailed photo-like picture (gradients and texture), so the JPEG is of a camera's size.
QImage photo(int seed) {
    QImage image(5472, 3648, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int t = (x * 7 + y * 3 + seed * 40) ^ (x * y >> 9);
            line[x] = qRgb((x / 22 + seed * 60) & 255, (y / 15 + (t & 31)) & 255,
                           ((x + y) / 37 + seed * 90) & 255);
        }
    }
    return image;
}

struct Run {
    bench::BenchDialogs dialogs{true};
    PhotoWorkspace workspace;
    WorkspaceLoader loader{workspace, dialogs};
    PicturePrefetcher prefetcher;
    const QStringList& paths;

    Run(const QStringList& p, bool prefetch) : paths(p) {
        workspace.setAreaSize(kArea);
        if (prefetch) {
            loader.setPrefetcher(&prefetcher);
        }
    }
    // Shows picture i as a step does; returns the milliseconds until it is on screen.
    double step(int i) {
        QElapsedTimer timer;
        timer.start();
        loader.loadFile(paths[i]);
        while (loader.firstViewPending()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
        const double ms = timer.nsecsElapsed() / 1e6;
        loader.waitForPicture(); // the operator frames the whole picture
        return ms;
    }
    // The operator frames and crops while the neighbours are read.
    void readAhead(int i) {
        QStringList around;
        if (i + 1 < paths.size()) {
            around << paths[i + 1];
        }
        if (i > 0) {
            around << paths[i - 1];
        }
        prefetcher.prefetch(around, kArea, paths[i]);
        for (const QString& path : around) {
            if (const auto entry = prefetcher.find(path)) {
                PicturePrefetcher::wait(entry);
            }
        }
        QCoreApplication::processEvents();
    }
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    portiqa::bench::preferOffscreenPlatform();
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? std::max(4, std::atoi(argv[1])) : 200;
    QTemporaryDir dir;
    QStringList paths;
    for (int i = 0; i < 4; ++i) {
        const QString path = dir.filePath(QStringLiteral("photo%1.jpg").arg(i, 4, 10, QChar('0')));
        const std::optional<QByteArray> jpeg = encodeJpeg(photo(i), 90);
        QFile file(path);
        if (!jpeg || !file.open(QIODevice::WriteOnly) || file.write(*jpeg) != jpeg->size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        paths << path;
    }
    std::printf("%d pictures of 5472 x 3648 (%.1f MB each as JPEG)\n", count,
                QFile(paths[0]).size() / 1048576.0);
    for (int i = 4; i < count; ++i) {
        const QString path = dir.filePath(QStringLiteral("photo%1.jpg").arg(i, 4, 10, QChar('0')));
        if (::link(QFile::encodeName(paths[i % 4]).constData(),
                   QFile::encodeName(path).constData()) != 0) {
            std::fprintf(stderr, "cannot link %s\n", qPrintable(path));
            return 1;
        }
        paths << path;
    }

    // Latency: twelve steps each way.
    const int steps = std::min(count - 1, 12);
    std::vector<double> fresh;
    {
        Run run(paths, false);
        run.step(0);
        for (int i = 1; i <= steps; ++i) {
            fresh.push_back(run.step(i));
        }
    }
    std::vector<double> ahead;
    {
        Run run(paths, true);
        run.step(0);
        for (int i = 1; i <= steps; ++i) {
            run.readAhead(i - 1);
            ahead.push_back(run.step(i));
        }
    }
    portiqa::bench::printRatio("next picture on screen (median of steps)", median(fresh),
                               median(ahead));
    std::printf("worst step: fresh %.2f ms, read ahead %.2f ms (goal < 16 ms, >= 10x)\n",
                *std::max_element(fresh.begin(), fresh.end()),
                *std::max_element(ahead.begin(), ahead.end()));

    // Memory over the whole run with read-ahead: the kernel's peak resident size, reset
    // first (/proc/self/clear_refs), against the resident size at the start.
    {
        QFile clear(QStringLiteral("/proc/self/clear_refs"));
        if (clear.open(QIODevice::WriteOnly)) {
            clear.write("5");
        }
    }
    const long startKb = bench::statusKb("VmRSS:");
    double pictureMb = 0;
    {
        Run run(paths, true);
        run.step(0);
        for (int i = 1; i < count; ++i) {
            run.readAhead(i - 1);
            run.step(i);
        }
        const QSize size = run.workspace.picture().size();
        pictureMb = size.width() * double(size.height()) * 4 / 1048576.0;
    }
    const double peakMb = (bench::statusKb("VmHWM:") - startKb) / 1024.0;
    const double worthMb = pictureMb * 4 / 3;
    std::printf("peak memory growth over the %d-picture run: %.0f MB; one picture %.0f MB "
                "(%.0f MB with its pyramid); read-ahead budget %.0f MB\n",
                count, peakMb, pictureMb, worthMb,
                PicturePrefetcher::DefaultByteBudget / 1048576.0);
    std::printf("peak: %.2f pictures' worth (goal <= 3): %s\n", peakMb / worthMb,
                peakMb / worthMb <= 3 ? "met" : "NOT met");
    return 0;
}
