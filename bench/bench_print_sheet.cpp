// The print sheet: laying out and saving eight 1寸 copies of a 295 x 413 framed picture on 5寸
// paper at 300 dpi, as the 排版打印 window and `portiqa sheet` do (layout, one resample, the
// drawing, the file written whole). Printed beside the plain Qt way of the same page (each
// copy scaled by QPainter as it is drawn, QImageWriter's JPEG; QPdfWriter given the picture
// as it is). Goal: under 300 ms for each file.
#include "BenchSupport.h"

#include "core/print/PrintSheetOptions.h"
#include "core/print/SheetFiles.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <cstdio>

using namespace portiqa;

namespace {

// The same page the plain way: QPainter scales every copy while drawing.
void paintPlainly(QPainter& painter, const SheetLayout& layout, const QImage& picture,
                  double dotsPerMm) {
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.fillRect(QRectF(QPointF(0, 0), layout.paperMm * dotsPerMm), Qt::white);
    for (const QLineF& line : layout.cutLines) {
        painter.drawLine(QLineF(line.p1() * dotsPerMm, line.p2() * dotsPerMm));
    }
    for (const QRectF& copy : layout.copies) {
        painter.drawImage(QRectF(copy.topLeft() * dotsPerMm, copy.size() * dotsPerMm), picture);
    }
}

} // namespace

int main(int argc, char** argv) {
    bench::preferOffscreenPlatform();
    QGuiApplication app(argc, argv);
    const QImage portrait = bench::loadFixturePicture("output/portrait_413x626.jpg");
    if (portrait.isNull()) {
        return 1;
    }
    const QImage framed = portrait.copy(0, 0, 295, 413); // a 1寸 framed picture
    QTemporaryDir dir;
    const int runs = 10;
    PrintSheetOptions options; // 5寸 landscape, 1寸, as many as fit
    const PhotoSizeChoice photo = *photoSizeByName(QStringLiteral("1寸"));
    const double dotsPerMm = SheetFiles::kDotsPerInch / 25.4;

    for (const char* suffix : {"pdf", "jpg"}) {
        const QString ours = dir.filePath(QStringLiteral("ours.%1").arg(suffix));
        const QString plain = dir.filePath(QStringLiteral("plain.%1").arg(suffix));
        int copies = 0;
        const double oursMs = bench::bestMs(runs, [&] {
            const SheetRenderer sheet(layoutSheet(sheetRequest(options, photo)), framed);
            copies = int(sheet.layout().copies.size());
            SheetFiles::save(sheet, ours, nullptr);
        });
        const double plainMs = bench::bestMs(runs, [&] {
            const SheetLayout layout = layoutSheet(sheetRequest(options, photo));
            if (QLatin1String(suffix) == QLatin1String("pdf")) {
                QPdfWriter writer(plain);
                writer.setResolution(SheetFiles::kDotsPerInch);
                writer.setPageLayout(SheetFiles::pageLayout(layout.paperMm));
                QPainter painter(&writer);
                paintPlainly(painter, layout, framed, dotsPerMm);
            } else {
                QImage page((layout.paperMm * dotsPerMm).toSize(), QImage::Format_RGB32);
                QPainter painter(&page);
                paintPlainly(painter, layout, framed, dotsPerMm);
                painter.end();
                QImageWriter writer(plain, "jpeg");
                writer.setQuality(SheetFiles::kJpegQuality);
                writer.write(page);
            }
        });
        char label[80];
        std::snprintf(label, sizeof label, "%d-copy 5寸 sheet as .%s, Qt plainly vs ours", copies,
                      suffix);
        bench::printRatio(label, plainMs, oursMs);
        std::printf("%-48s Qt %8lld bytes  ours %8lld bytes; goal under 300 ms: %s\n", "",
                    static_cast<long long>(QFileInfo(plain).size()),
                    static_cast<long long>(QFileInfo(ours).size()),
                    oursMs < 300 ? "met" : "not met");
    }
    return 0;
}
