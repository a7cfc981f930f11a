// The settings file driving the main window's real size edits: a kept size goes into the edits
// as if typed, so the output size and the frame follow; storing reads the edits back.

#include "MainWindowFixture.h"

#include "core/settings/SettingsFile.h"
#include "core/ini/IniFile.h"
#include "gui/app/MainWindowSizeEdits.h"
#include "gui/app/OutputSizeController.h"
#include "gui/app/UpDownEdit.h"

#include <gtest/gtest.h>

#include <QDir>

using namespace portiqa;

TEST(SettingsWithWindow, ReusedSizeDrivesTheEditsAndTheFrame) {
    test::StartedMainWindow started;
    OutputSpec output;
    OutputSizeHooks hooks;
    QSize frame;
    hooks.resizeFrame = [&frame](QSize size) { frame = size; };
    new OutputSizeController(*started.window, output, std::move(hooks));
    MainWindowSizeEdits edits(started.window->controls());

    const QString folder = started.dir.filePath("settings");
    ASSERT_TRUE(QDir().mkpath(folder));
    IniFile file(folder + "/set.dll");
    ASSERT_TRUE(file.write("批量截图", "像素宽", "295"));
    ASSERT_TRUE(file.write("批量截图", "像素高", "413"));
    ASSERT_TRUE(file.write("批量截图", "JPG体积", "0"));

    SettingsFile settings(folder, started.dialogs);
    settings.reuseOutputSize(BatchKind::Crop, ".JPG", edits);
    EXPECT_EQ(output.outputWidth, 295);
    EXPECT_EQ(output.outputHeight, 413);
    EXPECT_EQ(frame, QSize(295, 413));
    // A stored limit of 0 is replaced in the file by the limit the window shows.
    EXPECT_EQ(file.read("批量截图", "JPG体积"), "500");

    started.window->controls().sizeLimitEdit->setText("30.5");
    ASSERT_TRUE(settings.storeOutputSize(
        BatchKind::QuickShoot, SettingsFile::SizeKey::Width | SettingsFile::SizeKey::SizeLimit,
        edits));
    EXPECT_EQ(file.read("批量速拍", "像素宽"), "295");
    EXPECT_EQ(file.read("批量速拍", "JPG体积"), "30.5");
    EXPECT_EQ(file.read("批量速拍", "像素高"), "");
    EXPECT_TRUE(started.dialogs.messages.isEmpty());
}
