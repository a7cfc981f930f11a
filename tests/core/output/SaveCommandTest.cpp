#include "core/output/SaveCommand.h"

#include "core/files/WholeFile.h"

#include "core/output/ImageCodec.h"
#include "core/output/OutputEncoder.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

using namespace portiqa;

namespace {

QImage framedPicture() {
    QImage image(37, 23, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, qRgb(x * 7, y * 11, (x * y) % 256));
        }
    }
    return image;
}

struct SaveRig {
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    ImageCodec codec;
    OutputEncoder encoder{codec};
    bool loaded = true;
    double limitKb = 500;
    int focusCalls = 0;
    int commits = 0;

    SaveOutcome save(const QString& chosenName) {
        if (!chosenName.isEmpty()) {
            dialogs.files.push_back(dir.filePath(chosenName));
        }
        SaveContext context;
        context.commitPendingText = [this] { ++commits; };
        context.pictureLoaded = [this] { return loaded; };
        context.captureFramedImage = [] { return framedPicture(); };
        context.sizeLimitKb = [this] { return limitKb; };
        context.focusPictureArea = [this] { ++focusCalls; };
        context.startFolder = dir.path();
        return SaveCommand(dialogs, encoder, context).savePicture();
    }
};

} // namespace

TEST(SaveCommand, WithoutAPictureNothingIsAskedOrWritten) {
    SaveRig rig;
    rig.loaded = false;
    EXPECT_EQ(rig.save("a.jpg"), SaveOutcome::Refused);
    ASSERT_EQ(rig.dialogs.messages.size(), 1);
    EXPECT_EQ(rig.dialogs.messages[0].caption, "提示");
    EXPECT_EQ(rig.dialogs.messages[0].text, "请打开一张图片或拍照一幅图象再进行操作。");
    EXPECT_EQ(rig.dialogs.messages[0].icon, MessageIcon::Information);
    EXPECT_TRUE(rig.dialogs.saveRequests.isEmpty());
    EXPECT_EQ(rig.focusCalls, 1);
    EXPECT_EQ(rig.commits, 1);
}

TEST(SaveCommand, DialogIsPreparedAsDescribedAndCancelWritesNothing) {
    SaveRig rig;
    EXPECT_EQ(rig.save(QString()), SaveOutcome::Cancelled);
    ASSERT_EQ(rig.dialogs.saveRequests.size(), 1);
    const SaveFileRequest& r = rig.dialogs.saveRequests[0];
    EXPECT_EQ(r.title, "采集框内图象另存为：");
    EXPECT_EQ(r.defaultSuffix, "jpg");
    EXPECT_TRUE(r.confirmOverwrite);
    EXPECT_TRUE(r.filter.contains("*.jpg *.bmp *.gif *.png"));
    EXPECT_TRUE(QDir(rig.dir.path()).entryList(QDir::Files).isEmpty());
}

TEST(SaveCommand, PngKeepsTheExactFramedPixels) {
    SaveRig rig;
    EXPECT_EQ(rig.save("a.PNG"), SaveOutcome::Saved);
    QImage written(rig.dir.filePath("a.PNG"));
    ASSERT_FALSE(written.isNull());
    EXPECT_EQ(test::readAll(rig.dir.filePath("a.PNG")).left(4), QByteArray("\x89PNG"));
    const QImage expected = framedPicture();
    ASSERT_EQ(written.size(), expected.size());
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            ASSERT_EQ(written.pixel(x, y), expected.pixel(x, y)) << x << "," << y;
        }
    }
}

TEST(SaveCommand, JpegWithinTheLimitAndNameWithoutExtension) {
    SaveRig rig;
    rig.limitKb = 30;
    EXPECT_EQ(rig.save("photo"), SaveOutcome::Saved);
    const QByteArray bytes = test::readAll(rig.dir.filePath("photo.jpg"));
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_LE(bytes.size(), 30 * 1024);
    EXPECT_EQ(QImage::fromData(bytes).size(), QSize(37, 23));
    EXPECT_TRUE(rig.dialogs.messages.isEmpty());
}

TEST(SaveCommand, UnreachableLimitIsReportedForJpgOnly) {
    const struct {
        const char* name;
        int messages;
    } cases[] = {{"small.jpg", 1}, {"small.JPG", 1}, {"small.jpeg", 0}};
    for (const auto& c : cases) {
        SaveRig rig;
        rig.limitKb = 0.01; // 10 bytes: no JPEG fits
        EXPECT_EQ(rig.save(c.name), SaveOutcome::SavedOverLimit) << c.name;
        EXPECT_FALSE(test::readAll(rig.dir.filePath(c.name)).isEmpty()) << c.name;
        EXPECT_EQ(rig.dialogs.messages.size(), c.messages) << c.name;
    }
}

TEST(SaveCommand, UnknownExtensionIsRefusedWithoutWritingAFile) {
    SaveRig rig;
    EXPECT_EQ(rig.save("a.tif"), SaveOutcome::Refused);
    EXPECT_FALSE(QFile::exists(rig.dir.filePath("a.tif")));
    ASSERT_EQ(rig.dialogs.messages.size(), 1);
    EXPECT_TRUE(rig.dialogs.lastText().contains(".tif"));
}

TEST(SaveCommand, FailedWriteIsReportedAndKeepsTheOldFile) {
    SaveRig rig;
    // A file where the folder should be: nothing can be created below it.
    ASSERT_TRUE(test::writeAll(rig.dir.filePath("blocker"), "x"));
    EXPECT_EQ(rig.save("blocker/a.png"), SaveOutcome::WriteFailed);
    ASSERT_EQ(rig.dialogs.messages.size(), 1);
    EXPECT_TRUE(rig.dialogs.lastText().contains("blocker/a.png"));

    const QByteArray good = "an older good picture";
    ASSERT_TRUE(test::writeAll(rig.dir.filePath("keep.bmp"), good));
    QString error;
    EXPECT_FALSE(writeWholeFile(rig.dir.filePath("keep.bmp/inner"), "x", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(test::readAll(rig.dir.filePath("keep.bmp")), good);
}
