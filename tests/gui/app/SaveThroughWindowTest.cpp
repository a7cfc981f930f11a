// A save end to end through the program's own objects: open a photo, pick a size type, press
// 截图 and answer the save dialog; the file is exactly the output size and, for PNG, exactly
// the framed pixels.

#include "gui/app/MainWindow.h"
#include "gui/app/PortiqaApp.h"
#include "gui/app/UpDownEdit.h"
#include "gui/workspace/WorkspaceController.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

using namespace portiqa;

namespace {

struct RunningProgram {
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    std::unique_ptr<PortiqaApp> app;

    RunningProgram() {
        LaunchOptions options;
        options.settingsDir = dir.filePath("settings");
        app = std::make_unique<PortiqaApp>(options, &dialogs);
        app->start();
        QImage photo(1200, 1600, QImage::Format_RGB32);
        for (int y = 0; y < photo.height(); ++y) {
            for (int x = 0; x < photo.width(); ++x) {
                photo.setPixel(x, y, qRgb(x % 256, y % 256, (x / 7 + y / 5) % 256));
            }
        }
        photo.save(dir.filePath("photo.png"));
        dialogs.files.push_back(dir.filePath("photo.png"));
        app->window().dispatchToolbar(1);
        app->workspace().waitForPicture();
    }
    void chooseSizeType(int index) {
        QComboBox* combo = app->window().controls().sizeTypeCombo;
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    void pressSave(const QString& name) {
        dialogs.files.push_back(dir.filePath(name));
        app->window().controls().saveButton->click();
    }
};

} // namespace

TEST(SaveThroughWindow, PngIsExactlyTheFramedPixelsAtTheOutputSize) {
    RunningProgram p;
    p.chooseSizeType(4); // 1寸照 295 x 413
    const QImage framed = p.app->workspace().captureFramedImage();
    ASSERT_EQ(framed.size(), QSize(295, 413));
    p.pressSave("one-inch.png");
    ASSERT_TRUE(p.dialogs.messages.isEmpty()) << p.dialogs.lastText().toStdString();
    QImage saved(p.dir.filePath("one-inch.png"));
    ASSERT_EQ(saved.size(), QSize(295, 413));
    saved = saved.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < framed.height(); y += 7) {
        for (int x = 0; x < framed.width(); x += 5) {
            ASSERT_EQ(saved.pixel(x, y), framed.pixel(x, y) | 0xFF000000u) << x << "," << y;
        }
    }
}

TEST(SaveThroughWindow, JpegStaysWithinTheTypedLimit) {
    RunningProgram p;
    p.chooseSizeType(2); // 学籍/身份证 358 x 441
    p.app->window().controls().sizeLimitEdit->setText("20");
    p.pressSave("student.jpg");
    const QFileInfo info(p.dir.filePath("student.jpg"));
    ASSERT_TRUE(info.exists());
    EXPECT_LE(info.size(), 20 * 1024);
    EXPECT_EQ(QImage(info.filePath()).size(), QSize(358, 441));
}

TEST(SaveThroughWindow, UnusableSizeSavesNothing) {
    RunningProgram p;
    p.app->window().controls().widthEdit->setText("0");
    p.pressSave("never.jpg");
    EXPECT_FALSE(QFile::exists(p.dir.filePath("never.jpg")));
    ASSERT_FALSE(p.dialogs.messages.isEmpty());
    EXPECT_EQ(p.dialogs.messages.last().caption, "提示");
}
