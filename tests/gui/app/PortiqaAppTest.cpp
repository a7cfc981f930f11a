#include "gui/app/PortiqaApp.h"
#include "core/batch/BatchTaskFile.h"
#include "core/ini/IniFile.h"
#include "core/workspace/OutputSpec.h"
#include "core/workspace/PhotoWorkspace.h"
#include "gui/app/MainControls.h"
#include "gui/app/MainWindow.h"
#include "gui/app/UpDownEdit.h"
#include "gui/workspace/PictureAreaWidget.h"
#include "gui/workspace/WorkspaceController.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace portiqa;

TEST(PortiqaApp, StartLoadsTheBatchSettingsFromTheSettingsFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.filePath("s")));
    IniFile file(dir.filePath("s/set.dll"));
    ASSERT_TRUE(file.write("批量截图", "保存格式", ".PNG"));
    ASSERT_TRUE(file.write("批量截图", "保存目录", "/tmp/照片"));
    ASSERT_TRUE(file.write("批量速拍", "保存格式", ".GIF"));

    test::ScriptedDialogs dialogs;
    LaunchOptions options;
    options.settingsDir = dir.filePath("s");
    PortiqaApp app(options, &dialogs);
    app.start();
    EXPECT_EQ(app.batchCropSettings().format, ".PNG");
    EXPECT_EQ(app.batchCropSettings().saveFolder, "/tmp/照片");
    EXPECT_EQ(app.quickShootSettings().format, ".GIF");
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(app.window().centralWidget()->size(), QSize(586, 360));
}

TEST(PortiqaApp, FirstRunCreatesTheFolderButNoSettingsFile) {
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    LaunchOptions options;
    options.settingsDir = dir.filePath("fresh");
    PortiqaApp app(options, &dialogs);
    app.start();
    EXPECT_TRUE(QDir(dir.filePath("fresh")).exists());
    EXPECT_FALSE(QFile::exists(dir.filePath("fresh/set.dll")));
    EXPECT_EQ(app.batchCropSettings().format, ".JPG");
}

TEST(PortiqaApp, CommandLineOptions) {
    QString error;
    const LaunchOptions o =
        parseLaunchOptions({"portiqa", "--settings-dir", "/x", "photo.jpg"}, &error);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(o.settingsDir, "/x");
    EXPECT_EQ(o.picture, "photo.jpg");
    parseLaunchOptions({"portiqa", "--no-such-option"}, &error);
    EXPECT_FALSE(error.isEmpty());
}

TEST(PortiqaApp, TaskPicturesAreShownInTheWorkspaceWithTheirTitle) {
    QTemporaryDir dir;
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    ASSERT_TRUE(QDir().mkpath(dir.filePath("in")));
    ASSERT_TRUE(picture.save(dir.filePath("in/a.png")));
    ASSERT_TRUE(picture.save(dir.filePath("in/b.png")));

    ASSERT_TRUE(QDir().mkpath(dir.filePath("s")));
    ASSERT_TRUE(
        IniFile(dir.filePath("s/set.dll")).write("批量截图", "待截图目录", dir.filePath("in")));
    test::ScriptedDialogs dialogs;
    LaunchOptions options;
    options.settingsDir = dir.filePath("s");
    PortiqaApp app(options, &dialogs);
    app.start();
    BatchTaskFile& task = app.batchTask();
    ASSERT_TRUE(task.startNewRun());
    app.workspace().waitForPicture();
    EXPECT_TRUE(app.workspace().workspace().pictureLoaded());
    EXPECT_EQ(app.workspace().workspace().picture().size(), QSize(300, 200));
    EXPECT_TRUE(
        app.window().windowTitle().startsWith(" 当前文件：" + task.taskPictureName() + "  "))
        << app.window().windowTitle().toStdString();

    QFile::remove(dir.filePath("in/b.png"));
    task.navigate(TaskStep::Next); // a missing picture: white panels, the title says so
    EXPECT_TRUE(app.window().windowTitle().contains(task.taskPictureName()));
    const QImage shown = app.workspace().workspace().view();
    EXPECT_EQ(shown.pixel(shown.width() / 2, shown.height() / 2), qRgb(255, 255, 255));
}

TEST(PortiqaApp, CtrlCWithAnUnusableTypedSizeCopiesNothing) {
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    LaunchOptions options;
    options.settingsDir = dir.filePath("s");
    PortiqaApp app(options, &dialogs);
    app.start();
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    ASSERT_TRUE(app.workspace().workspace().showNewPicture(picture));
    QImage marker(7, 7, QImage::Format_RGB32);
    marker.fill(Qt::red);
    QGuiApplication::clipboard()->setImage(marker);

    const MainControls& c = app.window().controls();
    for (const char* typed : {"0", "-5", "abc", "10001"}) {
        dialogs.messages.clear();
        c.widthEdit->setText(QString::fromLatin1(typed));
        QTest::keyClick(app.workspace().pictureArea(), Qt::Key_C, Qt::ControlModifier);
        ASSERT_EQ(dialogs.messages.size(), 1) << typed;
        EXPECT_EQ(dialogs.messages[0].caption, "提示") << typed;
        EXPECT_EQ(dialogs.messages[0].text, unusableOutputSizeHint()) << typed;
        EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(7, 7)) << typed;
    }
    c.widthEdit->setText(QStringLiteral("120"));
    dialogs.messages.clear();
    QTest::keyClick(app.workspace().pictureArea(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(120, 210));
}
