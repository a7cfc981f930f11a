// Opening a 24-megapixel photo: time until the picture area can show it fitted.
//   baseline: decode the whole picture, then one smooth scale of it to the view size;
//   ours:     a DCT-scaled decode just large enough for the view, then the same scale.
// The full picture follows in the background; the loader's timings are printed as well.
#include "BenchSupport.h"

#include "core/image/PictureDecoder.h"
#include "core/image/PictureLoader.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <cstdlib>

using namespace portiqa;

namespace {

// A synthetic photo: smooth shading, hard edges, and `grain` levels of per-pixel noise. Without
// grain it compresses like an enlarged photo; with grain like a camera's own 24 MP file,
// whose entropy decoding is the part no scaled decode can skip.
QImage syntheticPhoto(int width, int height, int grain) {
    QImage image(width, height, QImage::Format_RGB32);
    quint32 seed = 12345;
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = grain > 0 ? int(seed >> 24) % (2 * grain + 1) - grain : 0;
            const int r = 120 + int(80 * std::sin(x * 0.0021)) + noise;
            const int g = 110 + int(70 * std::cos(y * 0.0017 + x * 0.0004)) + noise;
            const int b = ((x / 250 + y / 250) % 2) ? 190 + noise : 60 + noise;
            row[x] = qRgb(qBound(0, r, 255), qBound(0, g, 255), qBound(0, b, 255));
        }
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(230, 200, 170));
    painter.drawEllipse(QRectF(width * 0.3, height * 0.2, width * 0.4, height * 0.6));
    return image;
}

QSize fittedSize(QSize picture, QSize area) {
    const double zoom = std::min(
        {1.0, double(area.width()) / picture.width(), double(area.height()) / picture.height()});
    return QSize(int(picture.width() * zoom), int(picture.height() * zoom));
}

double meanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

struct Timings {
    double plainMs = 0;
    double fastMs = 0;
};

Timings measure(const QString& path, QSize area, QSize view) {
    const PictureDecoder decoder;
    QImage plainView;
    QImage fastView;
    const int runs = 3;
    Timings t;
    t.plainMs = bench::bestMs(runs, [&] {
        const DecodedPicture full = decoder.decodeFile(path);
        plainView = full.image.scaled(view, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    });
    t.fastMs = bench::bestMs(runs, [&] {
        QByteArray bytes;
        DecodedPicture picture;
        if (decoder.readFile(path, bytes, picture)) {
            picture = decoder.decodePreview(bytes, area);
        }
        fastView = picture.image.scaled(view, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    });
    // The same plain way through Qt's own reader, as a straightforward Qt program would do it.
    const double qtPlainMs = bench::bestMs(runs, [&] {
        const QImage full(path);
        (void)full.scaled(view, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    });
    QImage decodedOnce;
    const double decodeOnlyMs =
        bench::bestMs(runs, [&] { decodedOnce = decoder.decodeFile(path).image; });
    const double scaleOnlyMs = bench::bestMs(runs, [&] {
        (void)decodedOnce.scaled(view, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    });
    std::printf("  plain way split: full decode %.1f ms + smooth scale %.1f ms\n", decodeOnlyMs,
                scaleOnlyMs);
    bench::printRatio("  first fitted display (plain: our full decode)", t.plainMs, t.fastMs);
    bench::printRatio("  first fitted display (plain: Qt's reader)", qtPlainMs, t.fastMs);
    std::printf("  first view differs from the plain one by %.2f levels of 255 on average\n",
                meanDifference(plainView, fastView));
    return t;
}

// The asynchronous path the workspace uses: request to preview, request to full picture
// (best of three, as above).
void measureLoader(const QString& path, QSize area, bool previewBesideFull) {
    PictureLoader loader;
    loader.setPreviewBesideFull(previewBesideFull);
    QElapsedTimer timer;
    double previewMs = 0;
    double fullMs = 0;
    double bestPreviewMs = 1e9;
    double bestFullMs = 1e9;
    QEventLoop loop;
    QObject::connect(&loader, &PictureLoader::previewReady,
                     [&] { previewMs = timer.nsecsElapsed() / 1e6; });
    QObject::connect(&loader, &PictureLoader::pictureReady, [&] {
        fullMs = timer.nsecsElapsed() / 1e6;
        loop.quit();
    });
    QObject::connect(&loader, &PictureLoader::loadFailed, &loop, &QEventLoop::quit);
    for (int run = 0; run < 3; ++run) {
        timer.start();
        loader.loadFile(path, area);
        loop.exec();
        bestPreviewMs = std::min(bestPreviewMs, previewMs);
        bestFullMs = std::min(bestFullMs, fullMs);
    }
    std::printf("  loader, preview %s: preview after %.1f ms, full picture after %.1f ms\n",
                previewBesideFull ? "beside full" : "first      ", bestPreviewMs, bestFullMs);
}

} // namespace

int main(int argc, char** argv) {
    portiqa::bench::preferOffscreenPlatform();
    QCoreApplication app(argc, argv);
    const QSize pictureSize(6000, 4000);
    const QSize area(411, 279); // the picture area at the main window's design size
    const QSize view = fittedSize(pictureSize, area);
    // `bench_open_picture FOLDER` keeps the photos there for a closer look (djpeg, perf).
    QTemporaryDir temporary;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();

    const struct {
        const char* name;
        int grain;
    } cases[] = {{"smooth", 0}, {"grainy", 8}};
    bool met = true;
    for (const auto& c : cases) {
        const QString path = folder + QStringLiteral("/photo_%1.jpg").arg(c.name);
        if (!syntheticPhoto(pictureSize.width(), pictureSize.height(), c.grain)
                 .save(path, "JPG", 90)) {
            std::fprintf(stderr, "could not write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s 24 MP JPEG %dx%d, %lld bytes, view %dx%d\n", c.name, pictureSize.width(),
                    pictureSize.height(), QFileInfo(path).size(), view.width(), view.height());
        const Timings t = measure(path, area, view);
        measureLoader(path, area, false);
        measureLoader(path, area, true);
        met = met && t.fastMs > 0 && t.plainMs / t.fastMs >= 5.0;
    }
    std::printf("goal >= 5x faster first display in every case: %s\n", met ? "met" : "NOT met");
    return 0;
}
