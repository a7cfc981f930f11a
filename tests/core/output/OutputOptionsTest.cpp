// What the output options add to the saved files: the resolution in every format, the best
// picture within the limit, the minimum size, and nothing carried over from the source.

#include "core/ini/IniFile.h"
#include "core/output/BestJpeg.h"
#include "core/output/BmpWriter.h"
#include "core/output/ImageCodec.h"
#include "core/output/JpegSizeSearch.h"
#include "core/output/JpegWriter.h"
#include "core/output/OutputEncoder.h"
#include "core/output/OutputOptionsSetting.h"
#include "core/output/PictureSimilarity.h"
#include "core/output/PreparedJpeg.h"
#include "core/workspace/OutputSpec.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>

#include <png.h>

using namespace portiqa;

namespace {

// A real portrait cut to `size` the way a framing would: scaled to cover, centred.
QImage portraitCrop(const char* name, QSize size) {
    const QImage photo(test::fixturePath(QStringLiteral("faces/") + QLatin1String(name)));
    const QImage covered =
        photo.scaled(size, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    return covered
        .copy((covered.width() - size.width()) / 2, (covered.height() - size.height()) / 2,
              size.width(), size.height())
        .convertToFormat(QImage::Format_RGB32);
}

OutputEncoding encode(const QImage& picture, const char* extension, double limitKb,
                      const OutputOptions& options) {
    ImageCodec codec;
    OutputEncoder encoder(codec);
    return encoder.encodeForOutput(encodeBmp24(picture), QString::fromLatin1(extension), limitKb,
                                   options);
}

// JFIF APP0 right after SOI: unit at 13, X and Y density at 14 and 16.
int jpegDpi(const QByteArray& jpeg) {
    if (jpeg.size() < 18 || jpeg.mid(6, 5) != QByteArray("JFIF\0", 5) || jpeg[13] != 1) {
        return 0;
    }
    const auto* bytes = reinterpret_cast<const uchar*>(jpeg.constData());
    const int x = qFromBigEndian<quint16>(bytes + 14);
    const int y = qFromBigEndian<quint16>(bytes + 16);
    return x == y ? x : -1;
}

// Read with libpng: the pHYs chunk in dots per inch.
int pngDpi(const QByteArray& png) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.constData(), size_t(png.size()))) {
        return -1;
    }
    png_image_free(&image);
    const int at = png.indexOf("pHYs");
    if (at < 0) {
        return 0;
    }
    const auto* bytes = reinterpret_cast<const uchar*>(png.constData()) + at + 4;
    const quint32 x = qFromBigEndian<quint32>(bytes);
    const quint32 y = qFromBigEndian<quint32>(bytes + 4);
    return x == y && bytes[8] == 1 ? int(std::lround(x * 0.0254)) : -1;
}

int bmpDpi(const QByteArray& bmp) {
    const auto* bytes = reinterpret_cast<const uchar*>(bmp.constData());
    return int(std::lround(qFromLittleEndian<quint32>(bytes + 38) * 0.0254));
}

} // namespace

TEST(OutputOptions, EveryFormatCarriesTheResolutionOfItsSize) {
    const QImage picture = portraitCrop("audrey_0.jpg", QSize(120, 150));
    for (int preset = 0; preset < sizePresetNames().size(); ++preset) {
        const std::optional<QSize> size = sizePreset(preset);
        if (!size) {
            continue;
        }
        OutputOptions options;
        options.dotsPerInch = standardResolution(*size);
        const QImage scaled = picture.scaled(*size);
        EXPECT_EQ(jpegDpi(encode(scaled, ".jpg", 500, options).bytes), options.dotsPerInch)
            << preset;
        EXPECT_EQ(pngDpi(encode(scaled, ".png", 500, options).bytes), options.dotsPerInch)
            << preset;
        EXPECT_EQ(bmpDpi(encode(scaled, ".bmp", 500, options).bytes), options.dotsPerInch)
            << preset;
        // The decoders still read the files.
        EXPECT_EQ(QImage::fromData(encode(scaled, ".png", 500, options).bytes).size(), *size);
    }
    EXPECT_EQ(standardResolution(QSize(358, 441)), 350);
    EXPECT_EQ(standardResolution(QSize(295, 413)), 300);
    EXPECT_EQ(standardResolution(QSize(777, 555)), 300);
}

TEST(OutputOptions, WithoutTheBestPictureTheFileIsTheClassicOneButForItsResolution) {
    const QImage picture = portraitCrop("cage_0.jpg", QSize(358, 441));
    for (double limitKb : {10.0, 30.0, 500.0}) {
        const JpegSearchResult classic =
            searchJpegQuality(PlainJpegEncoder(picture), jpegLimitBytes(limitKb), 1);
        OutputOptions options;
        options.dotsPerInch = 350;
        const QByteArray file = encode(picture, ".jpg", limitKb, options).bytes;
        ASSERT_EQ(file.size(), classic.bytes.size()) << limitKb;
        QByteArray withoutDensity = file;
        withoutDensity.replace(13, 5, classic.bytes.mid(13, 5));
        EXPECT_EQ(withoutDensity, classic.bytes) << limitKb;
        EXPECT_EQ(jpegDpi(file), 350);
    }
}

TEST(OutputOptions, TheBestPictureIsNeverLargerThanTheLimitNorWorseThanTheClassicOne) {
    int fullChromaChosen = 0;
    for (const char* name : {"audrey_0.jpg", "grace_hopper_0.jpg", "astronaut_0.jpg"}) {
        const QImage picture = portraitCrop(name, QSize(358, 441));
        for (double limitKb : {5.0, 10.0, 20.0, 30.0, 50.0, 100.0, 500.0}) {
            OutputOptions off;
            OutputOptions on;
            on.bestPicture = true;
            const OutputEncoding classic = encode(picture, ".jpg", limitKb, off);
            const OutputEncoding best = encode(picture, ".jpg", limitKb, on);
            if (classic.status == OutputStatus::Ready) {
                EXPECT_LE(best.bytes.size(), jpegLimitBytes(limitKb)) << name << " " << limitKb;
            }
            const double classicScore =
                pictureSimilarity(picture, QImage::fromData(classic.bytes, "JPEG"));
            const double bestScore =
                pictureSimilarity(picture, QImage::fromData(best.bytes, "JPEG"));
            EXPECT_GE(bestScore, classicScore) << name << " " << limitKb;
            fullChromaChosen += best.fullChroma ? 1 : 0;
        }
    }
    EXPECT_GT(fullChromaChosen, 0); // the comparison does choose 4:4:4 where it is better
}

TEST(OutputOptions, FilesAreWeighedInTheirOwnPlanesAsThroughTheirPixels) {
    const QImage picture = portraitCrop("audrey_0.jpg", QSize(358, 441));
    const SimilarityReference reference(picture);
    for (const bool fullChroma : {false, true}) {
        JpegLayout layout;
        layout.fullChroma = fullChroma;
        const QByteArray file = *PreparedJpeg(picture, layout).encode(60, -1);
        EXPECT_NEAR(reference.similarityOfJpeg(file),
                    pictureSimilarity(picture, QImage::fromData(file, "JPEG")), 0.002);
    }
    EXPECT_EQ(reference.similarityOfJpeg(QByteArray("not a JPEG file")), 0.0);
    EXPECT_EQ(
        reference.similarityOfJpeg(*PreparedJpeg(picture.copy(0, 0, 100, 100)).encode(60, -1)),
        0.0); // another size
}

TEST(OutputOptions, TheMinimumRaisesTheQualityAndAFlatPictureIsNotPadded) {
    OutputOptions options;
    options.minKb = 40;
    const QImage detailed = portraitCrop("grace_hopper_0.jpg", QSize(358, 441));
    const OutputEncoding raised = encode(detailed, ".jpg", 50, options);
    EXPECT_FALSE(raised.belowMinimum);
    EXPECT_GE(raised.bytes.size(), jpegLimitBytes(40));
    EXPECT_LE(raised.bytes.size(), jpegLimitBytes(50));

    QImage flat(358, 441, QImage::Format_RGB32);
    flat.fill(QColor(240, 240, 240));
    const OutputEncoding small = encode(flat, ".jpg", 50, options);
    EXPECT_TRUE(small.belowMinimum);
    EXPECT_EQ(small.status, OutputStatus::Ready);
    EXPECT_LT(small.bytes.size(), jpegLimitBytes(40));
    EXPECT_EQ(QImage::fromData(small.bytes, "JPEG").size(), flat.size());
    EXPECT_TRUE(belowMinimumMessage(small.bytes.size(), 40).contains("40KB"));
}

TEST(OutputOptions, StoredKeysAndRefusals) {
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    OutputOptionsSetting setting(dir.path(), dialogs);
    // No section: the size's resolution, no minimum, best picture on.
    EXPECT_EQ(setting.optionsFor(QSize(358, 441)).dotsPerInch, 350);
    EXPECT_EQ(setting.optionsFor(QSize(295, 413)).dotsPerInch, 300);
    EXPECT_TRUE(setting.optionsFor(QSize(358, 441)).bestPicture);
    EXPECT_EQ(setting.optionsFor(QSize(358, 441)).minKb, 0);

    ASSERT_TRUE(setting.store({600, 20, false, BackgroundColour(), QString()}));
    const IniFile file(dir.filePath("set.dll"));
    EXPECT_EQ(file.read("输出选项", "分辨率"), "600");
    EXPECT_EQ(file.read("输出选项", "最小体积"), "20");
    EXPECT_EQ(file.read("输出选项", "最佳画质"), "");
    const OutputOptions stored = setting.optionsFor(QSize(358, 441));
    EXPECT_EQ(stored.dotsPerInch, 600);
    EXPECT_EQ(stored.minKb, 20);
    EXPECT_FALSE(stored.bestPicture);
    EXPECT_FALSE(setting.stored().background.replaces());

    // The background colour: "" for none, else "#RRGGBB"; anything else reads as none.
    ASSERT_TRUE(setting.storeBackground(BackgroundColour::blue()));
    EXPECT_EQ(IniFile(dir.filePath("set.dll")).read("输出选项", "背景颜色"), "#438EDB");
    EXPECT_EQ(setting.stored().background, BackgroundColour::blue());
    EXPECT_EQ(setting.stored().dotsPerInch, 600); // the other keys kept
    ASSERT_TRUE(setting.storeBackground(BackgroundColour()));
    EXPECT_EQ(IniFile(dir.filePath("set.dll")).read("输出选项", "背景颜色"), "");
    EXPECT_TRUE(OutputOptionsSetting::backgroundNotice(setting.stored()).isEmpty());
    ASSERT_TRUE(IniFile(dir.filePath("set.dll")).write("输出选项", "背景颜色", "blue"));
    EXPECT_FALSE(setting.stored().background.replaces());
    EXPECT_TRUE(OutputOptionsSetting::backgroundNotice(setting.stored()).contains("“blue”"));
    // Garbage is told, but not all of it.
    ASSERT_TRUE(IniFile(dir.filePath("set.dll")).write("输出选项", "背景颜色", QString(500, 'x')));
    const QString notice = OutputOptionsSetting::backgroundNotice(setting.stored());
    EXPECT_TRUE(notice.contains(QString(12, 'x') + "…")) << notice.toStdString();
    EXPECT_LT(notice.size(), 100);

    struct Case {
        const char* dpi;
        const char* minKb;
        double maxKb;
        int field; // -1: accepted
    } cases[] = {
        {"", "", 50, -1},     {"300", "20", 50, -1}, {"72", "0", 50, -1}, {"1200", "", 50, -1},
        {"71", "", 50, 0},    {"1201", "", 50, 0},   {"abc", "", 50, 0},  {"300", "50", 50, 1},
        {"300", "60", 50, 1}, {"", "-1", 50, 1},     {"", "x", 50, 1},
    };
    for (const Case& c : cases) {
        int field = -1;
        const QString why = OutputOptionsSetting::refusal(c.dpi, c.minKb, c.maxKb, &field);
        EXPECT_EQ(why.isEmpty(), c.field < 0) << c.dpi << " " << c.minKb;
        if (c.field >= 0) {
            EXPECT_EQ(field, c.field) << c.dpi << " " << c.minKb;
        }
    }
}
