#include "core/output/OutputEncoder.h"
#include "core/output/BmpWriter.h"
#include "core/output/JpegSizeSearch.h"
#include "core/output/JpegWriter.h"

#include "support/ScriptedDialogs.h"
#include "SyntheticPhoto.h"

#include <QImage>

#include <gtest/gtest.h>

#include <atomic>

using namespace portiqa;

namespace {

// Every quality gives a file of 100 + quality bytes, so a limit picks a known quality.
class CountingJpeg final : public JpegQualityEncoder {
public:
    explicit CountingJpeg(std::atomic<int>& calls) : calls_(calls) {}
    std::optional<QByteArray> encode(int quality, std::int64_t maxBytes) const override {
        ++calls_;
        const int size = 100 + quality;
        if (maxBytes >= 0 && size > maxBytes) {
            return std::nullopt;
        }
        return QByteArray(size, 'j');
    }

private:
    std::atomic<int>& calls_;
};

// A 160 x 210 capture as the save path hands it over: the bytes of a 24-bit BMP.
const QByteArray& capture() {
    static const QByteArray bytes = encodeBmp24(test::syntheticPhoto(160, 210, 9));
    return bytes;
}

} // namespace

TEST(OutputEncoder, ChoosesTheFormatByTheExtensionInAnyCase) {
    const struct {
        const char* extension;
        OutputStatus status;
        bool searched;
        QByteArray start;
    } cases[] = {
        {".jpg", OutputStatus::Ready, true, "jjj"},
        {".Jpg", OutputStatus::Ready, true, "jjj"},
        {".JPEG", OutputStatus::Ready, true, "jjj"},
        {".jpeg", OutputStatus::Ready, true, "jjj"},
        {".bmp", OutputStatus::Ready, false, "BM"},
        {".GIF", OutputStatus::Ready, false, "GIF8"},
        {".Png", OutputStatus::Ready, false, "\x89PNG"},
        {".tif", OutputStatus::UnknownExtension, false, ""},
        {"jpg", OutputStatus::UnknownExtension, false, ""},
        {".jpg.", OutputStatus::UnknownExtension, false, ""},
        {"", OutputStatus::UnknownExtension, false, ""},
    };
    for (const auto& c : cases) {
        std::atomic<int> calls{0};
        ImageCodec codec;
        OutputEncoder encoder(
            codec, [&calls](const QImage&, const JpegLayout&) { return std::make_unique<CountingJpeg>(calls); });
        const OutputEncoding out = encoder.encodeForOutput(capture(), c.extension, 500);
        EXPECT_EQ(out.status, c.status) << c.extension;
        EXPECT_EQ(calls > 0, c.searched) << c.extension;
        EXPECT_TRUE(out.bytes.startsWith(c.start)) << c.extension;
        EXPECT_EQ(out.bytes.isEmpty(), c.start.isEmpty()) << c.extension;
    }
}

TEST(OutputEncoder, ReportsTheQualityZeroFileWhenNoQualityFits) {
    std::atomic<int> calls{0};
    ImageCodec codec;
    OutputEncoder encoder(
        codec, [&calls](const QImage&, const JpegLayout&) { return std::make_unique<CountingJpeg>(calls); });
    encoder.setParallel(1);
    // 99 bytes: even the quality-0 file (100 bytes) is too large.
    const OutputEncoding out = encoder.encodeForOutput(capture(), ".jpg", 99.0 / 1024);
    EXPECT_EQ(out.status, OutputStatus::SizeUnreachable);
    EXPECT_TRUE(out.hasFile());
    EXPECT_EQ(out.quality, 0);
    EXPECT_EQ(out.bytes.size(), 100);
    EXPECT_EQ(calls, 21);
}

// The source could not be decoded: the old behaviour produced an empty "JPEG" that fitted any
// limit, so an empty file replaced the operator's picture without a word.
TEST(OutputEncoder, AnUnreadableCaptureGivesNoFileInsteadOfAnEmptyOne) {
    for (const char* extension : {".jpg", ".bmp", ".gif", ".png"}) {
        ImageCodec codec;
        OutputEncoder encoder(codec);
        for (const QByteArray& source :
             {QByteArray(), QByteArray("BM\0\0", 4), QByteArray("definitely not a picture")}) {
            const OutputEncoding out = encoder.encodeForOutput(source, extension, 500);
            EXPECT_EQ(out.status, OutputStatus::UnreadablePicture) << extension;
            EXPECT_FALSE(out.hasFile());
            EXPECT_TRUE(out.bytes.isEmpty());
        }
    }
}

TEST(OutputEncoder, AFormatThatCannotHoldThePictureGivesNoFile) {
    // 70000 pixels wide: more than JPEG (65500) and GIF (65535) can describe; BMP can.
    const QByteArray wide = encodeBmp24(QImage(70000, 1, QImage::Format_RGB888));
    const struct {
        const char* extension;
        OutputStatus status;
    } cases[] = {{".jpg", OutputStatus::EncodingFailed},
                 {".gif", OutputStatus::EncodingFailed},
                 {".bmp", OutputStatus::Ready}};
    for (const auto& c : cases) {
        ImageCodec codec;
        OutputEncoder encoder(codec);
        const OutputEncoding out = encoder.encodeForOutput(wide, c.extension, 500);
        EXPECT_EQ(out.status, c.status) << c.extension;
        EXPECT_EQ(out.hasFile(), c.status == OutputStatus::Ready) << c.extension;
    }
}

TEST(OutputEncoder, RealJpegsMatchAPlainSearchByteForByte) {
    const QImage picture = test::syntheticPhoto(160, 210, 9);
    const QByteArray source = encodeBmp24(picture);
    const std::int64_t q0 = encodeJpeg(picture, 0)->size();
    const std::int64_t q100 = encodeJpeg(picture, 100)->size();
    const struct {
        double kb;
        OutputStatus status;
        int quality; // -1: whatever the plain search finds
    } cases[] = {
        {500, OutputStatus::Ready, 100},                 // a small capture at the usual limit
        {double(q100) / 1024, OutputStatus::Ready, 100}, // exactly the quality-100 size
        {double(q0 + q100) / 2 / 1024, OutputStatus::Ready, -1},
        {double(q0) / 1024, OutputStatus::Ready, -1}, // only the lowest qualities
        {double(q0 - 1) / 1024, OutputStatus::SizeUnreachable, 0},
    };
    for (const auto& c : cases) {
        ImageCodec codec;
        OutputEncoder encoder(codec);
        const OutputEncoding out = encoder.encodeForOutput(source, ".jpg", c.kb);
        const JpegSearchResult plain =
            searchJpegQuality(PlainJpegEncoder(picture), jpegLimitBytes(c.kb), 1);
        EXPECT_EQ(out.status, c.status) << c.kb;
        EXPECT_EQ(out.quality, c.quality < 0 ? plain.quality : c.quality) << c.kb;
        EXPECT_EQ(out.quality, plain.quality) << c.kb;
        EXPECT_EQ(out.bytes, plain.bytes) << c.kb;
        EXPECT_EQ(out.bytes, codec.encode(int(ImageFormat::Jpeg), out.quality, true)) << c.kb;
        QImage back;
        ASSERT_TRUE(back.loadFromData(out.bytes, "JPEG"));
        EXPECT_EQ(back.size(), picture.size());
    }
}

TEST(OutputEncoder, UnreachableSizeMessageRoundsToOneDecimal) {
    const struct {
        std::int64_t bytes;
        const char* kb;
    } cases[] = {
        {36864, "36"},   // 36.0 is written without its decimal
        {36250, "35.4"}, // 35.400...
        {36096, "35.3"}, // 35.25 exactly: halves go up
        {36608, "35.8"}, // 35.75 exactly
        {102, "0.1"},    {0, "0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(unreachableSizeMessage(c.bytes),
                  QStringLiteral("当前采集区域输出图片所能达到的最小体积为") +
                      QString::fromLatin1(c.kb) +
                      QStringLiteral("KB大小，\r\n请重新设置JPG输出体积。"))
            << c.bytes;
    }
    test::ScriptedDialogs dialogs;
    reportUnreachableSize(dialogs, 36864);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(dialogs.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(dialogs.messages[0].text, unreachableSizeMessage(36864));
}
