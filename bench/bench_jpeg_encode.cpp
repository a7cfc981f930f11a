// One plain JPEG encode of the 413 x 626 portrait: our encoder (libjpeg-turbo, optimised
// Huffman tables, accurate DCT) against Qt's QImageWriter at the same quality.

#include "BenchSupport.h"

#include "core/output/JpegWriter.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>

#include <cstdio>

using namespace portiqa;

int main(int argc, char** argv) {
    portiqa::bench::preferOffscreenPlatform();
    QGuiApplication app(argc, argv);
    const QImage picture = portiqa::bench::loadFixturePicture("output/portrait_413x626.jpg");
    if (picture.isNull()) {
        return 1;
    }
    const int runs = 20;
    for (int quality : {95, 85, 75, 50}) {
        QByteArray ours, qt;
        const double oursMs = bench::bestMs(runs, [&] { ours = *encodeJpeg(picture, quality); });
        const double qtMs = bench::bestMs(runs, [&] {
            qt.clear();
            QBuffer buffer(&qt);
            buffer.open(QIODevice::WriteOnly);
            QImageWriter writer(&buffer, "jpeg");
            writer.setQuality(quality);
            writer.write(picture);
        });
        char label[64];
        std::snprintf(label, sizeof label, "quality %d encode, Qt writer vs ours", quality);
        bench::printRatio(label, qtMs, oursMs);
        std::printf("%-48s Qt %8lld bytes  ours %8lld bytes  (%.1f%% smaller)\n", "",
                    static_cast<long long>(qt.size()), static_cast<long long>(ours.size()),
                    100.0 * double(qt.size() - ours.size()) / double(qt.size()));
    }
    return 0;
}
