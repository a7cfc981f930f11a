// A batch run with the face framing and a background colour on: the next picture's
// background is worked out while it is read ahead, so it is shown replaced at once.

#include "core/ini/IniFile.h"
#include "core/workspace/PhotoWorkspace.h"
#include "core/workspace/PicturePrefetcher.h"
#include "gui/app/MainControls.h"
#include "gui/app/MainWindow.h"
#include "gui/app/PortiqaApp.h"
#include "gui/app/StatusBarWidget.h"
#include "gui/batch/BatchCropWiring.h"
#include "gui/workspace/WorkspaceController.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace portiqa {
namespace {

TEST(BackgroundAhead, TheNextPictureIsShownWithItsBackgroundReplaced) {
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    QDir().mkpath(dir.filePath("s"));
    QDir().mkpath(dir.filePath("in"));
    QDir().mkpath(dir.filePath("out"));
    const QString faces = QStringLiteral(PORTIQA_FIXTURES "/faces/");
    ASSERT_TRUE(QFile::copy(faces + "franck_02159_0.jpg", dir.filePath("in/a.jpg")));
    ASSERT_TRUE(QFile::copy(faces + "bald_guys_2.jpg", dir.filePath("in/b.jpg")));
    IniFile file(dir.filePath("s/set.dll"));
    const QString s = QStringLiteral("批量截图");
    file.writeGroup({{s, "命名方式", "0"},
                     {s, "保存目录", dir.filePath("out")},
                     {s, "待截图目录", dir.filePath("in")},
                     {s, "是否保存设置", "真"},
                     {s, "像素宽", "295"},
                     {s, "像素高", "413"},
                     {s, "JPG体积", "40"},
                     {"自动框选", "启用", "真"},
                     {"输出选项", "背景颜色", "#FFFFFF"}});
    LaunchOptions options;
    options.settingsDir = dir.filePath("s");
    PortiqaApp app(options, &dialogs);
    app.start();

    StatusBarWidget& bar = *app.window().controls().statusBar;
    dialogs.answers.push_back(MessageAnswer::Yes);
    QTest::mousePress(&bar, Qt::LeftButton, {},
                      QPoint(bar.effectiveWidth() - 45, bar.height() / 2));
    app.workspace().waitForPicture();
    app.batchCrop().hotkeyPressed('A'); // builds the task and shows a picture of it
    app.workspace().waitForPicture();
    const bool atB = app.window().windowTitle().contains(QStringLiteral("b.jpg"));
    const QString other = dir.filePath(atB ? "in/a.jpg" : "in/b.jpg");
    PhotoWorkspace& photo = app.workspace().workspace();
    ASSERT_TRUE(QTest::qWaitFor([&] { return photo.frameReplaced(); }, 10000));

    const auto next = app.batchCrop().prefetcher().find(other);
    ASSERT_TRUE(next);
    PicturePrefetcher::wait(next);
    QCoreApplication::processEvents();  // the read-ahead's result reaches the window
    app.batchCrop().hotkeyPressed('S'); // the task's next picture, read ahead
    ASSERT_TRUE(app.window().windowTitle().contains(QFileInfo(other).fileName()))
        << app.window().windowTitle().toStdString() << dialogs.lastText().toStdString();
    EXPECT_TRUE(photo.frameReplaced()); // when the key returns, no wait
}

} // namespace
} // namespace portiqa
