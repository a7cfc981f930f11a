// The real program under the test X server: it shows its window at the design client size
// with the texts rendered, and ends with exit code 0 when the window is closed.

#include "support/TestSupport.h"
#include "support/X11Session.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

using namespace portiqa::test;

TEST(ProgramE2E, StartsShowsTheMainWindowAndExitsWithZeroOnClose) {
    X11Session x11;
    if (!x11.connected()) {
        GTEST_SKIP() << "no X server (run the suite under xvfb-run)";
    }
    QTemporaryDir dir;
    QProcess program;
    ASSERT_TRUE(startProgramOnDisplay(program, dir.filePath("settings")));

    const unsigned long window = x11.waitForWindow("Portiqa V2.7", 10000);
    ASSERT_NE(window, 0u) << program.readAll().toStdString();
    QThread::msleep(300); // let the first paint land
    const QImage shot = x11.grab(window);
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.width(), 586);
    EXPECT_GT(shot.height(), 360); // the client area plus the menu bar
    // The picture area is white inside its border; the capture settings group is not.
    const int menu = shot.height() - 360;
    EXPECT_EQ(shot.pixel(200, menu + 150), qRgb(255, 255, 255));
    EXPECT_TRUE(QDir(dir.filePath("settings")).exists());

    x11.requestClose(window);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    const QString output = QString::fromLocal8Bit(program.readAll());
    EXPECT_FALSE(output.contains("QObject::connect")) << output.toStdString();
}

TEST(ProgramE2E, RefusesToStartWithoutADisplay) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    program.setProcessEnvironment(env);
    program.start(programPath(), {});
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_NE(program.exitCode(), 0);
    const QString message = QString::fromLocal8Bit(program.readAllStandardError());
    EXPECT_TRUE(message.contains("xvfb-run")) << message.toStdString();
    EXPECT_EQ(message.trimmed().count('\n'), 0);
}
