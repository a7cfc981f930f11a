// A save through the real window under the test X server: open a photo from the command
// line, press 截图, answer the save dialog by typing, and find a JPEG of the output size at or
// under the limit.

#include "support/TestSupport.h"
#include "support/X11Session.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

using namespace portiqa::test;

namespace {

bool xdotool(const QStringList& arguments) {
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

} // namespace

TEST(SaveE2E, PressingSaveAndAnsweringTheDialogWritesTheJpeg) {
    X11Session x11;
    if (!x11.connected() || QStandardPaths::findExecutable("xdotool").isEmpty()) {
        GTEST_SKIP() << "needs an X server and xdotool";
    }
    QTemporaryDir dir;
    QImage photo(1600, 1200, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        for (int x = 0; x < photo.width(); ++x) {
            photo.setPixel(x, y, qRgb((x * 3) % 256, (y * 5) % 256, (x + y) % 256));
        }
    }
    const QString photoPath = dir.filePath("photo.jpg");
    ASSERT_TRUE(photo.save(photoPath, "JPG", 95));

    QProcess program;
    // HOME decides the desktop folder the save dialog starts in.
    ASSERT_TRUE(startProgramOnDisplay(program, dir.filePath("settings"), {photoPath}, dir.path()));
    const unsigned long window = x11.waitForWindow("Portiqa V2.7", 10000);
    ASSERT_NE(window, 0u) << program.readAll().toStdString();
    QThread::msleep(500);

    // 截图 sits at (53, 203) of the group at (432, 48): its middle is (507, 273) of the client.
    const int menu = x11.grab(window).height() - 360;
    const QString id = QString::number(window);
    ASSERT_TRUE(xdotool({"mousemove", "--window", id, "507", QString::number(menu + 273)}));
    ASSERT_TRUE(xdotool({"click", "1"}));

    const unsigned long dialog = x11.waitForWindow("采集框内图象另存为：", 10000);
    ASSERT_NE(dialog, 0u) << program.readAll().toStdString();
    QThread::msleep(500);
    const QString target = dir.filePath("headshot.jpg");
    xdotool({"windowfocus", "--sync", QString::number(dialog)});
    ASSERT_TRUE(xdotool({"type", "--delay", "20", target}));
    ASSERT_TRUE(xdotool({"key", "Return"}));

    QElapsedTimer timer;
    timer.start();
    while (!QFileInfo::exists(target) && timer.elapsed() < 10000) {
        QThread::msleep(50);
    }
    QThread::msleep(200);
    const QFileInfo saved(target);
    ASSERT_TRUE(saved.exists()) << program.readAll().toStdString();
    EXPECT_LE(saved.size(), 500 * 1024);
    const QImage written(target);
    EXPECT_EQ(written.size(), QSize(160, 210));
    EXPECT_EQ(readAll(target).left(2), QByteArray("\xFF\xD8"));

    x11.requestClose(window);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitCode(), 0);
}
