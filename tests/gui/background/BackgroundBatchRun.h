#pragma once

// A batch run as the background tests start it: the pictures of DIR/in cropped into DIR/out
// at 295 x 413, same names, the face framing on and `colour` kept as the background colour;
// the run switched on and its first picture shown.

#include "core/ini/IniFile.h"
#include "gui/app/MainControls.h"
#include "gui/app/MainWindow.h"
#include "gui/app/PortiqaApp.h"
#include "gui/app/StatusBarWidget.h"
#include "gui/batch/BatchCropWiring.h"
#include "gui/workspace/WorkspaceController.h"
#include "support/BatchSwitch.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QTest>

#include <memory>

namespace portiqa::test {

struct BackgroundBatchRun {
    ScriptedDialogs dialogs;
    std::unique_ptr<PortiqaApp> app;

    BackgroundBatchRun(const QDir& dir, const QString& colour) {
        dir.mkpath("s");
        dir.mkpath("out");
        const QString s = QStringLiteral("批量截图");
        IniFile(dir.filePath("s/set.dll"))
            .writeGroup({{s, "命名方式", "0"},
                         {s, "保存目录", dir.filePath("out")},
                         {s, "待截图目录", dir.filePath("in")},
                         {s, "是否保存设置", "真"},
                         {s, "像素宽", "295"},
                         {s, "像素高", "413"},
                         {s, "JPG体积", "40"},
                         {"自动框选", "启用", "真"},
                         {"输出选项", "背景颜色", colour}});
        LaunchOptions options;
        options.settingsDir = dir.filePath("s");
        app = std::make_unique<PortiqaApp>(options, &dialogs);
        app->start();
        dialogs.answers.push_back(MessageAnswer::Yes);
        test::pressBatchSwitch(*app->window().controls().statusBar);
        app->workspace().waitForPicture();
        app->batchCrop().hotkeyPressed('A'); // builds the task and shows a picture of it
        app->workspace().waitForPicture();
    }
};

} // namespace portiqa::test
