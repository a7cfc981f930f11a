// A batch run with a background colour set: a picture whose background cannot be separated is
// cropped as it is, the run goes on, and the status bar counts such pictures in this run (each
// once, however often it is saved).

#include "BackgroundBatchRun.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace portiqa {
namespace {

TEST(BackgroundBatch, RefusedPicturesAreCroppedAsTheyAreAndCounted) {
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("in"));
    // Two pictures without a face and a portrait on a plain wall.
    QImage flat(900, 700, QImage::Format_RGB32);
    flat.fill(qRgb(200, 210, 220));
    ASSERT_TRUE(flat.save(dir.filePath("in/a.png")));
    ASSERT_TRUE(flat.save(dir.filePath("in/c.png")));
    ASSERT_TRUE(QFile::copy(QStringLiteral(PORTIQA_FIXTURES "/faces/franck_02159_0.jpg"),
                            dir.filePath("in/b.jpg")));
    test::BackgroundBatchRun run(QDir(dir.path()), QStringLiteral("#FF0000"));
    PortiqaApp& app = *run.app;

    int refused = 0;
    QStringList cropped;
    for (int i = 0; i < 3; ++i) {
        const QString title = app.window().windowTitle();
        const bool portrait = title.contains(QStringLiteral("b.jpg"));
        app.window().controls().saveButton->click();
        const QString hint = app.window().statusHintText();
        if (portrait) {
            EXPECT_EQ(hint, QStringLiteral("背景颜色：红色")) << title.toStdString();
        } else {
            ++refused;
            const QString counted =
                QStringLiteral("未检测到人脸，未更换背景颜色（本轮批量截图已有%1张未"
                               "更换背景）")
                    .arg(refused);
            EXPECT_EQ(hint, counted) << title.toStdString();
            // Saved again, the same picture is still one picture.
            app.window().controls().saveButton->click();
            EXPECT_EQ(app.window().statusHintText(), counted) << title.toStdString();
        }
        cropped << title;
        app.batchCrop().hotkeyPressed('S');
        app.workspace().waitForPicture();
    }
    EXPECT_EQ(refused, 2) << cropped.join(" | ").toStdString();
    // The run went on: every picture was written, the faceless ones as they are.
    const QStringList written = QDir(dir.filePath("out")).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(written.size(), 3) << written.join(' ').toStdString();
    for (const QString& name : written) {
        const QImage out(dir.filePath("out/" + name));
        ASSERT_FALSE(out.isNull()) << name.toStdString();
        if (name.startsWith('b')) {
            const QColor corner = out.pixelColor(3, 3); // red, through the JPEG
            EXPECT_TRUE(corner.red() > 240 && corner.green() < 16) << name.toStdString();
        } else {
            const QColor middle = out.pixelColor(out.width() / 2, out.height() / 2);
            EXPECT_LE(std::abs(middle.red() - 200) + std::abs(middle.blue() - 220), 8)
                << name.toStdString();
        }
    }
}

} // namespace
} // namespace portiqa
