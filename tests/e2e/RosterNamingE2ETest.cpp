// Naming by roster cell as an operator works through a class list: batch crop switched on with
// naming by cell opens the roster window; the list written by another spreadsheet program is
// imported through the real open dialog, the first name clicked, and three saves give three
// files named after the list in order, one of them a name outside GBK.

#include "core/ini/IniDocument.h"
#include "support/TestSupport.h"
#include "support/X11Session.h"

#include <gtest/gtest.h>

#include <QDir>
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

void clickAt(unsigned long window, int x, int y) {
    xdotool(
        {"mousemove", "--window", QString::number(window), QString::number(x), QString::number(y)});
    xdotool({"click", "1"});
}

bool waitForFile(const QString& path, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!QFileInfo::exists(path) && timer.elapsed() < timeoutMs) {
        QThread::msleep(50);
    }
    QThread::msleep(200);
    return QFileInfo::exists(path);
}

} // namespace

TEST(RosterNamingE2E, ThreeSavesTakeThreeNamesOfTheList) {
    X11Session x11;
    if (!x11.connected() || QStandardPaths::findExecutable("xdotool").isEmpty()) {
        GTEST_SKIP() << "needs an X server and xdotool";
    }
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("out");
    QDir(dir.path()).mkpath("in");
    for (const char* name : {"p1.jpg", "p2.jpg"}) {
        QImage picture(400, 300, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        ASSERT_TRUE(picture.save(dir.filePath("in/") + name));
    }
    // Batch crop kept with naming by roster cell (item 5).
    const QString settings = QStringLiteral("[批量截图]\n命名方式=5\n保存格式=.JPG\n保存目录=%1\n"
                                            "待截图目录=%2\n是否保存设置=真\n像素宽=160\n"
                                            "像素高=210\nJPG体积=40\n")
                                 .arg(dir.filePath("out"), dir.filePath("in"));
    ASSERT_TRUE(writeAll(dir.filePath("s/set.dll"), portiqa::IniDocument::encode(settings)));

    QProcess program;
    ASSERT_TRUE(startProgramOnDisplay(program, dir.filePath("s"), {}, dir.path()));
    const unsigned long main = x11.waitForWindow("Portiqa V2.7", 10000);
    ASSERT_NE(main, 0u) << program.readAll().toStdString();
    QThread::msleep(500);
    const int menu = x11.grab(main).height() - 360;

    // The batch switch band at the bottom right; the resume question's default is Yes.
    const QImage shot = x11.grab(main);
    clickAt(main, 494, shot.height() - 8);
    const unsigned long question = x11.waitForWindow("询问：", 5000);
    ASSERT_NE(question, 0u) << program.readAll().toStdString();
    xdotool({"windowfocus", "--sync", QString::number(question)});
    xdotool({"key", "Return"});

    const unsigned long roster =
        x11.waitForWindow("导入EXCEL，按所选单元格文字命名即将截取的图片", 5000);
    ASSERT_NE(roster, 0u) << program.readAll().toStdString();
    QThread::msleep(300);

    // 导入EXCEL文件, then the path typed into the open dialog.
    clickAt(roster, 72, 18);
    const unsigned long open = x11.waitForWindow("导入Excel名单", 5000);
    ASSERT_NE(open, 0u);
    QThread::msleep(500);
    xdotool({"windowfocus", "--sync", QString::number(open)});
    xdotool({"type", "--delay", "20", fixturePath("roster/classlist_lo.xlsx")});
    xdotool({"key", "Return"});
    QThread::msleep(1500);

    // The first name, 张三, is on row 7 of the list: grid cell (6, 0) with 22 px rows.
    clickAt(roster, 144 + 1 + 16, 36 + 1 + 6 * 22 + 11);
    QThread::msleep(300);
    // A (grabbed for the whole desktop) builds the task and shows its first picture: there is
    // nothing to crop before.
    xdotool({"key", "a"});
    QThread::msleep(1000);

    // 截图 at (507, 273) of the main window's client, three times.
    const QStringList expected = {QStringLiteral("张三.jpg"), QStringLiteral("李四.jpg"),
                                  QStringLiteral("王𠮷.jpg")};
    for (const QString& name : expected) {
        clickAt(main, 507, menu + 273);
        ASSERT_TRUE(waitForFile(dir.filePath("out/") + name, 10000))
            << name.toStdString() << ": "
            << QDir(dir.filePath("out")).entryList(QDir::Files).join(", ").toStdString();
    }
    EXPECT_EQ(QDir(dir.filePath("out")).entryList(QDir::Files, QDir::Time | QDir::Reversed).size(),
              3);
    EXPECT_EQ(QImage(dir.filePath("out/") + expected[2]).size(), QSize(160, 210));

    x11.requestClose(main);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitCode(), 0);
}
