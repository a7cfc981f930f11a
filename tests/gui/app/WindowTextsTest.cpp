// Every window of the program shows its texts whole at its geometry, in the program's font:
// the main window, and each window its menus, toolbar and buttons open.

#include "gui/app/MainWindow.h"
#include "gui/app/PortiqaApp.h"
#include "gui/batch/BatchCropWiring.h"
#include "gui/batch/BatchSettingsWindow.h"
#include "gui/camera/CameraFeature.h"
#include "gui/output/NamePrompt.h"
#include "gui/workspace/WorkspaceController.h"
#include "support/ClippedTexts.h"
#include "support/ScriptedDialogs.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <iostream>
#include <memory>

namespace portiqa {
namespace {

class WindowTexts {
public:
    QStringList clipped;
    QStringList seen;

    void inspectOpenWindows() {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible()) {
                continue;
            }
            seen << window->windowTitle();
            // PORTIQA_WINDOW_SHOTS=DIR keeps a picture of each window there, to look at.
            const QString shots = qEnvironmentVariable("PORTIQA_WINDOW_SHOTS");
            if (!shots.isEmpty()) {
                window->grab().save(shots + QLatin1Char('/') + window->windowTitle().left(12) +
                                    QStringLiteral(".png"));
            }
            for (const QString& line : test::clippedTexts(*window)) {
                clipped << window->windowTitle() + QStringLiteral(": ") + line;
            }
        }
    }
    // Runs `open`, looks at every window it shows (a modal one while it is up) and closes them.
    void openAndInspect(QWidget& main, const std::function<void()>& open) {
        QTimer::singleShot(300, [this] {
            inspectOpenWindows();
            closeModal();
        });
        open();
        QTest::qWait(400);
        inspectOpenWindows();
        closeModal();
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window != &main && window->isVisible()) {
                window->close();
            }
        }
        QTest::qWait(50);
    }

private:
    static void closeModal() {
        for (int i = 0; i < 3; ++i) {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr) {
                return;
            }
            if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                dialog->reject();
            } else {
                modal->close();
            }
        }
    }
};

TEST(WindowTexts, NoWindowClipsItsTexts) {
    qputenv("PORTIQA_CAMERA", "pattern");
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    LaunchOptions options;
    options.settingsDir = dir.filePath(QStringLiteral("settings"));
    PortiqaApp app(options, &dialogs);
    app.start();
    QImage picture(800, 600, QImage::Format_RGB32);
    picture.fill(qRgb(120, 140, 160));
    app.workspace().workspace().showNewPicture(picture);
    QWidget& main = app.window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));

    WindowTexts texts;
    texts.inspectOpenWindows();
    for (QAction* action : main.findChildren<QAction*>()) {
        const QString text = action->text();
        if (text.isEmpty() || action->isSeparator() || action->menu() != nullptr ||
            text.contains(QStringLiteral("退出"))) {
            continue;
        }
        texts.openAndInspect(main, [action] { action->trigger(); });
    }
    // The windows the menus do not open themselves.
    texts.openAndInspect(main, [&app, &dialogs] {
        BatchSettingsWindow settings(app.batchCrop().run(), dialogs, &app.window());
        settings.exec();
    });
    texts.openAndInspect(main, [&app] { app.links().openRosterWindow(); });
    texts.openAndInspect(main, [&app] {
        app.camera().openCameraWindow();
        app.camera().openQuickSettings();
    });
    texts.openAndInspect(main, [&app, &dialogs, &dir] {
        NamePromptTarget target{dir.path(), QStringLiteral(".jpg"), dir.filePath("t.jpg")};
        NamePrompt prompt(target, dialogs, false, true, NamePromptHotkeys(), &app.window());
        prompt.exec();
    });
    texts.seen.removeDuplicates();
    texts.clipped.removeDuplicates();
    EXPECT_TRUE(texts.clipped.isEmpty()) << texts.clipped.join(QLatin1Char('\n')).toStdString();
    std::cout << "windows looked at: " << texts.seen.join(QStringLiteral(", ")).toStdString()
              << "\n";
}

} // namespace
} // namespace portiqa
