// The editor through the real windows under the test X server: open a photo, paint a stroke
// across it with the mouse, write a line of Chinese text, save a PNG; then Ctrl+Z and save
// again, which gives the picture without the text.

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

const QRgb kPhoto = qRgb(90, 140, 200);

bool xdotool(const QStringList& arguments) {
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

// Moves the pointer to (x, y) of `window` and waits for the program to see it.
bool pointAt(unsigned long window, int x, int y) {
    const bool moved = xdotool(
        {"mousemove", "--window", QString::number(window), QString::number(x), QString::number(y)});
    QThread::msleep(60);
    return moved;
}

bool isDark(QRgb pixel) {
    return qRed(pixel) + qGreen(pixel) + qBlue(pixel) < 200;
}

int darkPixelsIn(const QImage& image, const QRect& rect) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            count += isDark(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

bool saveThroughDialog(X11Session& x11, unsigned long window, int menu, const QString& target) {
    // 截图 sits at (53, 203) of the group at (432, 48): its middle is (507, 273) of the client.
    pointAt(window, 507, menu + 273);
    xdotool({"click", "1"});
    const unsigned long dialog = x11.waitForWindow("采集框内图象另存为：", 10000);
    if (dialog == 0) {
        return false;
    }
    QThread::msleep(400);
    xdotool({"windowfocus", "--sync", QString::number(dialog)});
    xdotool({"type", "--delay", "20", target});
    xdotool({"key", "Return"});
    QElapsedTimer timer;
    timer.start();
    while (!QFileInfo::exists(target) && timer.elapsed() < 10000) {
        QThread::msleep(50);
    }
    QThread::msleep(300);
    return QFileInfo::exists(target);
}

} // namespace

TEST(EditorE2E, StrokeAndChineseTextAreSavedAndUndoRemovesTheText) {
    X11Session x11;
    if (!x11.connected() || QStandardPaths::findExecutable("xdotool").isEmpty()) {
        GTEST_SKIP() << "needs an X server and xdotool";
    }
    QTemporaryDir dir;
    QImage photo(1600, 1200, QImage::Format_RGB32);
    photo.fill(kPhoto);
    const QString photoPath = dir.filePath("photo.png");
    ASSERT_TRUE(photo.save(photoPath, "PNG"));

    QProcess program;
    ASSERT_TRUE(startProgramOnDisplay(program, dir.filePath("settings"), {photoPath}, dir.path()));
    const unsigned long window = x11.waitForWindow("Portiqa V2.7", 10000);
    ASSERT_NE(window, 0u) << program.readAll().toStdString();
    QThread::msleep(600);
    const int menu = x11.grab(window).height() - 360;

    // Toolbar 编辑 (index 8): the ninth button; found by its caption's place on the bar.
    ASSERT_TRUE(pointAt(window, 284, menu + 30));
    xdotool({"click", "1"});
    const unsigned long tools = x11.waitForWindow("编辑", 5000);
    ASSERT_NE(tools, 0u) << "the tool window did not open";
    QThread::msleep(300);
    // A close request from outside is refused: only 编辑 hides the tool window.
    x11.requestClose(tools);
    QThread::msleep(300);
    ASSERT_EQ(x11.waitForWindow("编辑", 1000), tools);

    // 画笔, width 5 with the up button, then a stroke across the frame (area at client 4, 48;
    // the frame is 160 x 210 at (125, 34) of the area).
    pointAt(tools, 20, 29);
    xdotool({"click", "1"});
    for (int i = 0; i < 4; ++i) {
        pointAt(tools, 55, 109);
        xdotool({"click", "1"});
    }
    const int areaX = 4;
    const int areaY = menu + 48;
    pointAt(window, areaX + 100, areaY + 80);
    xdotool({"mousedown", "1"});
    for (int x = 120; x <= 300; x += 20) {
        pointAt(window, areaX + x, areaY + 80);
    }
    xdotool({"mouseup", "1"});
    QThread::msleep(200);

    // 文字, a click inside the frame, two Chinese characters and Enter.
    pointAt(tools, 20, 49);
    xdotool({"click", "1"});
    pointAt(window, areaX + 150, areaY + 200);
    xdotool({"click", "1"});
    // Type only once the white box shows at the click (200 - 12 + 4 = 192 is its top).
    QElapsedTimer shown;
    shown.start();
    while (x11.grab(window).pixel(areaX + 153, areaY + 198) != qRgb(255, 255, 255) &&
           shown.elapsed() < 5000) {
        QThread::msleep(50);
    }
    xdotool({"type", "--delay", "60", "张三"});
    xdotool({"key", "Return"});
    QThread::msleep(200);

    const QString first = dir.filePath("edited.png");
    ASSERT_TRUE(saveThroughDialog(x11, window, menu, first)) << program.readAll().toStdString();
    const QImage edited(first);
    ASSERT_EQ(edited.size(), QSize(160, 210));
    // The stroke runs along frame row 80 - 34 = 46, five pixels thick, across the whole frame.
    for (int x = 0; x < 160; x += 16) {
        EXPECT_TRUE(isDark(edited.pixel(x, 46))) << x;
    }
    EXPECT_EQ(edited.pixel(80, 30), kPhoto);
    // The text lies from 3 pixels below the box's top (200 - 12 + 4 = 192) in the frame's
    // columns from 25.
    const QRect textArea(QPoint(25, 192 + 3 - 34), QPoint(25 + 40, 192 + 3 + 13 - 34));
    EXPECT_GT(darkPixelsIn(edited, textArea), 10);

    xdotool({"windowfocus", "--sync", QString::number(window)});
    xdotool({"key", "ctrl+z"});
    QThread::msleep(300);
    const QString second = dir.filePath("undone.png");
    ASSERT_TRUE(saveThroughDialog(x11, window, menu, second)) << program.readAll().toStdString();
    const QImage undone(second);
    ASSERT_EQ(undone.size(), QSize(160, 210));
    EXPECT_EQ(darkPixelsIn(undone, textArea), 0);
    EXPECT_TRUE(isDark(undone.pixel(80, 46))); // the stroke stays

    x11.requestClose(window);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitCode(), 0);
}
