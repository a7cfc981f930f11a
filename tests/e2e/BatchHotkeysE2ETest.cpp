// The batch crop hotkeys as another program sees them, under the test X server: while the
// run is on, "a" typed into another client's window steps the run and never reaches that
// client; once the run is off it does. A held key steps a bounded number of large pictures
// and the run settles on the picture on show when the key is released.

#include "core/ini/IniDocument.h"
#include "support/TestSupport.h"
#include "support/X11Session.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

using namespace portiqa::test;

namespace {

QString run(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(10000);
    QString out = QString::fromUtf8(p.readAllStandardOutput());
    while (out.endsWith(QLatin1Char('\n'))) {
        out.chop(1); // titles keep their leading space
    }
    return out;
}

QString xdotool(const QStringList& arguments) {
    return run(QStringLiteral("xdotool"), arguments);
}

// The program's settings: batch crop kept, numbered naming, the pictures of `in` to crop.
void writeSettings(const QTemporaryDir& dir) {
    const QString text = QStringLiteral("[批量截图]\n命名方式=2\n保存目录=%1\n待截图目录=%2\n"
                                        "是否保存设置=真\n像素宽=160\n像素高=210\nJPG体积=40\n")
                             .arg(dir.filePath("out"), dir.filePath("in"));
    writeAll(dir.filePath("s/set.dll"), portiqa::IniDocument::encode(text));
}

struct BatchProgram {
    X11Session x11;
    QProcess program;
    unsigned long window = 0;
    QString id;

    bool start(const QTemporaryDir& dir) {
        if (!startProgramOnDisplay(program, dir.filePath("s"))) {
            return false;
        }
        window = x11.waitForWindow(QStringLiteral("Portiqa V2.7"), 10000);
        id = QString::number(window);
        return window != 0;
    }
    // A left press on the batch switch band at the bottom right of the window.
    void pressSwitch() {
        const QString geometry = xdotool({"getwindowgeometry", "--shell", id});
        const auto value = [&geometry](const char* key) {
            const QRegularExpression re(QStringLiteral("%1=(\\d+)").arg(QLatin1String(key)));
            return re.match(geometry).captured(1).toInt();
        };
        xdotool({"mousemove", QString::number(value("X") + 494),
                 QString::number(value("Y") + value("HEIGHT") - 8), "click", "1"});
    }
    // Switches on and answers the resume question with its default button, Yes.
    bool switchOn() {
        pressSwitch();
        const unsigned long question = x11.waitForWindow(QStringLiteral("询问："), 5000);
        if (question == 0) {
            return false;
        }
        xdotool({"windowfocus", "--sync", QString::number(question)});
        xdotool({"key", "Return"});
        return true;
    }
    QString title() { return xdotool({"getwindowname", id}); }
    bool waitForTitle(const QString& expected, int timeoutMs) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            if (title() == expected) {
                return true;
            }
            QThread::msleep(50);
        }
        return false;
    }
    ~BatchProgram() {
        if (window != 0) {
            x11.requestClose(window);
        }
        if (!program.waitForFinished(10000)) {
            program.kill();
        }
    }
};

} // namespace

TEST(BatchHotkeysE2E, GrabbedLettersStepTheRunAndReachOtherProgramsOnceOff) {
    X11Session probe;
    if (!probe.connected()) {
        GTEST_SKIP() << "no X server (run the suite under xvfb-run)";
    }
    QTemporaryDir dir;
    writeSettings(dir);
    QDir(dir.path()).mkpath("out");
    QDir(dir.path()).mkpath("in");
    for (const char* name : {"p1.jpg", "p2.jpg"}) {
        QImage picture(400, 300, QImage::Format_RGB32);
        picture.fill(Qt::gray);
        ASSERT_TRUE(picture.save(dir.filePath("in/") + name));
    }
    BatchProgram p;
    ASSERT_TRUE(p.start(dir)) << p.program.readAll().toStdString();
    ASSERT_TRUE(p.switchOn());

    QProcess xev;
    xev.setProcessChannelMode(QProcess::MergedChannels);
    xev.start("stdbuf", {"-oL", "xev", "-geometry", "200x100+900+50"});
    ASSERT_TRUE(xev.waitForStarted(5000));
    const QString xevWindow =
        xdotool({"search", "--sync", "--onlyvisible", "--name", "Event Tester"})
            .section('\n', 0, 0);
    ASSERT_FALSE(xevWindow.isEmpty());
    const auto typeIntoXev = [&] {
        xdotool({"windowfocus", "--sync", xevWindow});
        xdotool({"key", "a"});
        QThread::msleep(500);
        xev.waitForReadyRead(200);
        return QString::fromUtf8(xev.readAll()).count(QStringLiteral("KeyPress event"));
    };
    xev.readAll();

    // With no task yet the first key builds it and shows the first picture.
    EXPECT_EQ(typeIntoXev(), 0);
    const QString first = p.title();
    EXPECT_TRUE(first.startsWith(QStringLiteral(" 当前文件：p"))) << first.toStdString();
    EXPECT_TRUE(first.endsWith(QStringLiteral("  未截图"))) << first.toStdString();
    EXPECT_EQ(typeIntoXev(), 0);
    EXPECT_NE(p.title(), first);

    p.pressSwitch(); // off
    ASSERT_TRUE(p.waitForTitle(QStringLiteral("Portiqa V2.7"), 3000));
    EXPECT_EQ(typeIntoXev(), 1);
    EXPECT_EQ(p.title(), QStringLiteral("Portiqa V2.7"));
    xev.kill();
    xev.waitForFinished(3000);
}

TEST(BatchHotkeysE2E, AHeldKeyStepsOnceAndEachNewPressOnceMore) {
    X11Session probe;
    if (!probe.connected()) {
        GTEST_SKIP() << "no X server (run the suite under xvfb-run)";
    }
    QTemporaryDir dir;
    writeSettings(dir);
    QDir(dir.path()).mkpath("out");
    QDir(dir.path()).mkpath("in");
    // Large pictures, each of its own grey level so the screen tells which one is shown.
    constexpr int kPictures = 6;
    QStringList names;
    for (int i = 0; i < kPictures; ++i) {
        QImage picture(2400, 1800, QImage::Format_RGB32);
        picture.fill(qRgb(10 * i, 10 * i, 10 * i));
        const QString name = QStringLiteral("big%1.jpg").arg(i, 2, 10, QLatin1Char('0'));
        ASSERT_TRUE(picture.save(dir.filePath("in/" + name), "JPG", 90));
        names << name;
    }
    BatchProgram p;
    ASSERT_TRUE(p.start(dir)) << p.program.readAll().toStdString();
    ASSERT_TRUE(p.switchOn());
    xdotool({"key", "a"}); // builds the task, shows its first picture
    // A press while a picture is still coming is not stacked on it: wait until it is up. The
    // keys are taken a moment after the question closes; a press before that went elsewhere,
    // so press again when nothing came of it.
    QElapsedTimer shownFirst;
    shownFirst.start();
    bool pressedAgain = false;
    while (!p.title().contains(QStringLiteral("big00.jpg")) && shownFirst.elapsed() < 12000) {
        if (!pressedAgain && shownFirst.elapsed() > 5000 && !p.title().contains("big")) {
            xdotool({"key", "a"});
            pressedAgain = true;
        }
        QThread::msleep(100);
    }
    ASSERT_TRUE(p.title().contains(QStringLiteral("big00.jpg"))) << p.title().toStdString();
    QThread::msleep(1500);

    xdotool({"keydown", "a"});
    QThread::msleep(1000);
    xdotool({"keyup", "a"});
    QThread::msleep(300);
    const QString released = p.title();
    QThread::msleep(1500);
    // Nothing runs on after the release: the title stays, and the picture on show is the one
    // it names.
    const QString settled = p.title();
    EXPECT_EQ(settled, released);
    const QRegularExpression re(QStringLiteral("big(\\d+)\\.jpg"));
    const int shown = re.match(settled).captured(1).toInt();
    QImage shot = p.x11.grab(p.window);
    ASSERT_FALSE(shot.isNull());
    const int menu = shot.height() - 360;
    const QRgb centre = shot.pixel(4 + 40, menu + 48 + 140);
    EXPECT_NEAR(qGray(centre), 10 * shown, 6) << settled.toStdString();
    // The server repeated the held key many times; it was one press, so one step.
    EXPECT_EQ(shown, 1) << settled.toStdString();

    // Each new press steps once more, also a quick one right after the last.
    xdotool({"key", "a"});
    QThread::msleep(1500);
    xdotool({"keydown", "d"});
    QThread::msleep(800);
    xdotool({"keyup", "d"});
    QThread::msleep(1500);
    EXPECT_EQ(re.match(p.title()).captured(1).toInt(), 1) << p.title().toStdString();
}
