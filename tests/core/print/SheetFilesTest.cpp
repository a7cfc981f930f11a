// A print sheet as drawn and as saved: every copy's pixels exactly where the layout puts them,
// a PDF whose page is the paper and whose picture is the copy at 300 dpi, a JPEG of the paper
// at 300 dpi with that density written.

#include "core/print/SheetFiles.h"
#include "core/print/PrintSheetOptions.h"
#include "support/SheetProbe.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace portiqa;

namespace {

// A picture whose edges show: red inside a blue border `border` pixels wide.
QImage framedRed(QSize size, int border = 1) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::blue);
    for (int y = border; y < size.height() - border; ++y) {
        for (int x = border; x < size.width() - border; ++x) {
            image.setPixel(x, y, qRgb(255, 0, 0));
        }
    }
    return image;
}

SheetRenderer sheetOf(const QString& paper, const QString& size, QImage picture,
                      bool landscape = true, int copies = 0) {
    PrintSheetOptions options;
    options.paper = paper;
    options.photoSize = size;
    options.landscape = landscape;
    options.copies = copies;
    return SheetRenderer(layoutSheet(sheetRequest(options, *photoSizeByName(size))),
                         std::move(picture));
}

bool isWhite(QRgb pixel) {
    return pixel == qRgb(255, 255, 255);
}

} // namespace

TEST(SheetRenderer, EveryCopyLiesExactlyOnItsRectangleAndNothingElseIsDrawnOnIt) {
    // 1寸 at 300 dpi is 295 × 413 pixels: a 295 × 413 picture fills each copy whole.
    const SheetRenderer sheet = sheetOf("5寸", "1寸", framedRed(QSize(295, 413)));
    const QImage page = sheet.render(300);
    ASSERT_EQ(page.size(), QSize(1500, 1051));
    EXPECT_EQ(page.dotsPerMeterX(), 11811);
    EXPECT_EQ(sheet.pictureRectInCopy(300), QRect(0, 0, 295, 413));
    for (const QRectF& copyMm : sheet.layout().copies) {
        const QRect copy(SheetRenderer::copyOrigin(copyMm, 300), QSize(295, 413));
        // The border's pixels sit on the rectangle's edge, the red inside, white just outside.
        EXPECT_EQ(page.pixel(copy.topLeft()), qRgb(0, 0, 255));
        EXPECT_EQ(page.pixel(copy.bottomRight()), qRgb(0, 0, 255));
        EXPECT_EQ(page.pixel(copy.center()), qRgb(255, 0, 0));
        EXPECT_EQ(page.pixel(copy.topLeft() + QPoint(1, 1)), qRgb(255, 0, 0));
        EXPECT_TRUE(isWhite(page.pixel(copy.topLeft() + QPoint(-2, 20))));
        EXPECT_TRUE(isWhite(page.pixel(copy.bottomRight() + QPoint(2, -20))));
    }
    // A cut line runs through the middle of the gap between the first two copies.
    const QRectF a = sheet.layout().copies.at(0);
    const int gapMiddle = millimetresToPixels(a.right() + 1, 300);
    const QRgb line = page.pixel(gapMiddle, millimetresToPixels(a.top(), 300) + 50);
    EXPECT_EQ(qRed(line), SheetRenderer::kCutLineGrey);
}

TEST(SheetRenderer, APictureOfAnotherShapeIsFittedAndCentredNeverCroppedOrStretched) {
    struct Case {
        QSize picture;
        QRect inCopy; // in the 1寸 copy's 295 × 413 pixels at 300 dpi
    };
    const Case cases[] = {
        {QSize(413, 626), QRect(11, 0, 272, 413)},  // narrower: white left and right
        {QSize(358, 441), QRect(0, 25, 295, 363)},  // wider: white above and below
        {QSize(160, 210), QRect(0, 13, 295, 387)},  // smaller: enlarged
        {QSize(1180, 1652), QRect(0, 0, 295, 413)}, // same shape, four times larger
    };
    for (const Case& c : cases) {
        const SheetRenderer sheet = sheetOf("6寸", "1寸", framedRed(c.picture, 8));
        EXPECT_EQ(sheet.pictureRectInCopy(300), c.inCopy);
        const QImage page = sheet.render(300);
        const QRectF copyMm = sheet.layout().copies.at(0);
        const QRect placed = c.inCopy.translated(SheetRenderer::copyOrigin(copyMm, 300));
        EXPECT_EQ(page.pixel(placed.center()), qRgb(255, 0, 0));
        // Blue (the picture's border, scaled) at each edge of the placed picture.
        EXPECT_GT(qBlue(page.pixel(placed.left(), placed.center().y())), 100);
        EXPECT_GT(qBlue(page.pixel(placed.right(), placed.center().y())), 100);
        EXPECT_GT(qBlue(page.pixel(placed.center().x(), placed.top())), 100);
        EXPECT_GT(qBlue(page.pixel(placed.center().x(), placed.bottom())), 100);
    }
}

TEST(SheetFiles, PdfPageIsThePaperAndItsPictureIsTheCopyAt300Dpi) {
    struct Case {
        const char* paper;
        bool landscape;
        const char* size;
        int copies;
        QSizeF paperMm;
    };
    const Case cases[] = {
        {"5寸", true, "1寸", 8, QSizeF(127, 89)},
        {"6寸", true, "2寸", 4, QSizeF(152, 102)},
        {"A4", false, "身份证", 7 * 8, QSizeF(210, 297)},
        {"A6", false, "小2寸", 2 * 2, QSizeF(105, 148)},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.paper);
        const SheetRenderer sheet = sheetOf(QString::fromUtf8(c.paper), QString::fromUtf8(c.size),
                                            framedRed(QSize(295, 413)), c.landscape);
        ASSERT_EQ(sheet.layout().copies.size(), c.copies);
        const QString path = dir.filePath(QStringLiteral("sheet.pdf"));
        QString error;
        ASSERT_TRUE(SheetFiles::save(sheet, path, &error)) << error.toStdString();
        const test::PdfFacts pdf = test::probePdf(path);
        ASSERT_TRUE(pdf.read);
        EXPECT_EQ(pdf.pages, 1);
        // Qt keeps page sizes in whole points (its A6 is 297 × 420).
        EXPECT_NEAR(pdf.pagePoints.width(), test::pointsOf(c.paperMm.width()), 1.0);
        EXPECT_NEAR(pdf.pagePoints.height(), test::pointsOf(c.paperMm.height()), 1.0);
        ASSERT_EQ(pdf.images.size(), c.copies);
        for (int i = 0; i < pdf.images.size(); ++i) {
            EXPECT_EQ(pdf.images.at(i), sheet.pictureRectInCopy(300).size());
            EXPECT_EQ(pdf.resolutions.at(i), QSize(300, 300));
        }
    }
}

TEST(SheetFiles, JpegIsThePaperAt300DpiWithTheDensityWritten) {
    QTemporaryDir dir;
    const SheetRenderer sheet = sheetOf("6寸", "1寸", framedRed(QSize(295, 413)), false);
    const QString path = dir.filePath(QStringLiteral("sheet.JPEG"));
    QString error;
    ASSERT_TRUE(SheetFiles::save(sheet, path, &error)) << error.toStdString();
    const test::JpegFacts jpeg = test::probeJpeg(test::readAll(path));
    ASSERT_TRUE(jpeg.read);
    EXPECT_EQ(jpeg.size, QSize(1205, 1795)); // 102 × 152 mm at 300 dpi
    EXPECT_EQ(jpeg.densityUnit, 1);
    EXPECT_EQ(jpeg.xDensity, 300);
    EXPECT_EQ(jpeg.yDensity, 300);
    // The pixels are the drawn sheet's, up to JPEG's loss.
    const QImage saved(path);
    const QImage drawn = sheet.render(300);
    const QPoint middle =
        SheetRenderer::copyOrigin(sheet.layout().copies.at(4), 300) + QPoint(147, 206);
    EXPECT_GT(qRed(saved.pixel(middle)), 230);
    EXPECT_LT(qGreen(saved.pixel(middle)), 30);
    EXPECT_EQ(drawn.pixel(middle), qRgb(255, 0, 0));
}

TEST(SheetFiles, RefusedSavesSayWhyAndLeaveTheOldFile) {
    QTemporaryDir dir;
    const QString kept = dir.filePath(QStringLiteral("kept.pdf"));
    ASSERT_TRUE(test::writeAll(kept, "old"));
    const SheetRenderer good = sheetOf("5寸", "1寸", framedRed(QSize(295, 413)));
    SheetRequest tooLarge;
    tooLarge.paperMm = QSizeF(127, 89);
    tooLarge.photoMm = QSizeF(130, 35);
    const SheetRenderer empty(layoutSheet(tooLarge), framedRed(QSize(295, 413)));
    struct Case {
        const SheetRenderer* sheet;
        QString path;
        QString error;
    };
    const Case cases[] = {
        {&good, dir.filePath(QStringLiteral("sheet.png")),
         QStringLiteral("只能保存为 .pdf 或 .jpg 文件。")},
        {&empty, kept, QStringLiteral("纸张上放不下一张照片。")},
        {&good, dir.filePath(QStringLiteral("no/such/folder/sheet.pdf")), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        QString error;
        EXPECT_FALSE(SheetFiles::save(*c.sheet, c.path, &error));
        EXPECT_FALSE(error.isEmpty());
        if (!c.error.isEmpty()) {
            EXPECT_EQ(error, c.error);
        }
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("sheet.png"))));
    EXPECT_EQ(test::readAll(kept), QByteArray("old"));
}
