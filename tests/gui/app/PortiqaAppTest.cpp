#include "gui/app/PortiqaApp.h"
#include "core/ini/IniFile.h"
#include "gui/app/MainWindow.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

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
