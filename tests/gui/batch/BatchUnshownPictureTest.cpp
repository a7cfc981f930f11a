// A batch step onto a file that cannot be shown must not leave the picture before on show:
// a save would write that other person's picture under this file's name.

#include "gui/app/PortiqaApp.h"

#include "core/app/AppTexts.h"
#include "core/batch/BatchCropSave.h"
#include "core/batch/BatchTaskFile.h"
#include "core/face/AutoFramer.h"
#include "core/ini/IniFile.h"
#include "core/workspace/PhotoWorkspace.h"
#include "core/workspace/WorkspaceLoader.h"
#include "gui/app/MainControls.h"
#include "gui/app/MainWindow.h"
#include "gui/app/StatusBarWidget.h"
#include "gui/workspace/WorkspaceController.h"
#include "support/BatchSwitch.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace portiqa;

namespace {

// A kept run over a.png and then `bad`, resumed at a.png with batch crop switched on.
struct RunOverABadFile {
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    std::unique_ptr<PortiqaApp> app;

    explicit RunOverABadFile(const QString& bad, const QByteArray& badBytes, bool present = true) {
        QDir().mkpath(dir.filePath("s"));
        QDir().mkpath(dir.filePath("in"));
        QDir().mkpath(dir.filePath("out"));
        QImage picture(300, 200, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        picture.save(dir.filePath("in/a.png"));
        if (present) {
            test::writeAll(dir.filePath("in/" + bad), badBytes);
        }
        IniFile file(dir.filePath("s/set.dll"));
        const QString s = QStringLiteral("批量截图");
        file.writeGroup({{s, "命名方式", "0"},
                         {s, "保存目录", dir.filePath("out")},
                         {s, "待截图目录", dir.filePath("in")},
                         {s, "是否保存设置", "真"}});
        IniFile task(dir.filePath("s/批截任务.ini"));
        task.writeGroup({{"批截位置", "批截位置", "1"},
                         {"最大位置", "最大位置", "2"},
                         {"1", "操作记录", "未截图"},
                         {"1", "图片名", "a.png"},
                         {"2", "操作记录", "未截图"},
                         {"2", "图片名", bad}});
        LaunchOptions options;
        options.settingsDir = dir.filePath("s");
        app = std::make_unique<PortiqaApp>(options, &dialogs);
        app->start();
        dialogs.answers.push_back(MessageAnswer::Yes); // go on with the kept run
        test::pressBatchSwitch(*app->window().controls().statusBar);
        app->workspace().waitForPicture();
    }
    void step(TaskStep direction) {
        app->batchTask().navigate(direction);
        app->workspace().waitForPicture();
    }
    void save() { app->window().controls().saveButton->click(); }
    QStringList outputs() { return QDir(dir.filePath("out")).entryList(QDir::Files); }
    QString record(int entry) {
        return IniFile(app->batchTask().path()).read(QString::number(entry), "操作记录");
    }
};

} // namespace

TEST(BatchUnshownPicture, AStepOntoABadFileShowsNothingAndItsSaveWritesNothing) {
    struct Case {
        const char* name;
        QByteArray bytes;
        bool present;
    } cases[] = {
        {"broken.jpg", test::readAll(test::fixturePath("image/truncated.jpg")), true},
        {"notes.jpg", "these are notes, not a picture", true},
        {"empty.png", QByteArray(), true},
        {"gone.jpg", QByteArray(), false}, // listed in the task, deleted since
    };
    for (const Case& c : cases) {
        RunOverABadFile run(c.name, c.bytes, c.present);
        ASSERT_TRUE(run.app->workspace().workspace().pictureLoaded()) << c.name;
        run.save(); // the good picture is saved as a.jpg
        ASSERT_EQ(run.outputs(), QStringList({"a.jpg"})) << c.name;
        run.dialogs.messages.clear();
        // As the face framing speaks of the picture on show.
        run.app->window().setStatusHint(AutoFramer::hairCutAndBandHint());

        run.step(TaskStep::Next);
        const PhotoWorkspace& workspace = run.app->workspace().workspace();
        EXPECT_FALSE(workspace.pictureLoaded()) << c.name;
        const QImage shown = workspace.view();
        EXPECT_EQ(shown.pixel(shown.width() / 2, shown.height() / 2), qRgb(255, 255, 255))
            << c.name;
        // What the status bar said of the picture before (its save, its framing) is gone
        // with it.
        MainWindow& window = run.app->window();
        EXPECT_EQ(window.statusHintText(), window.hintSources().hotkeysRegistered()
                                               ? texts::batchKeysHint()
                                               : texts::defaultHint())
            << c.name;
        if (c.present) {
            ASSERT_EQ(run.dialogs.messages.size(), 1) << c.name;
            EXPECT_TRUE(run.dialogs.messages[0].text.contains(QString::fromUtf8(c.name)))
                << c.name << ": " << run.dialogs.messages[0].text.toStdString();
            EXPECT_TRUE(run.dialogs.noticeOpen) << c.name;
        }
        run.dialogs.messages.clear();

        run.save();
        EXPECT_EQ(run.outputs(), QStringList({"a.jpg"})) << c.name;
        EXPECT_EQ(run.record(2), QStringLiteral("未截图")) << c.name;
        ASSERT_EQ(run.dialogs.messages.size(), 1) << c.name;
        EXPECT_EQ(run.dialogs.messages[0].caption, QStringLiteral("提示"));
        EXPECT_EQ(run.dialogs.messages[0].text,
                  BatchCropSave::nothingShownMessage(QString::fromUtf8(c.name)));

        // Stepping on closes the stale message and shows the good picture again.
        run.step(TaskStep::Previous);
        EXPECT_FALSE(run.dialogs.noticeOpen) << c.name;
        EXPECT_TRUE(run.app->workspace().workspace().pictureLoaded()) << c.name;
    }
}

TEST(BatchUnshownPicture, OutsideABatchRunAFailedOpenKeepsThePictureBefore) {
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    LaunchOptions options;
    options.settingsDir = dir.filePath("s");
    PortiqaApp app(options, &dialogs);
    app.start();
    WorkspaceController& controller = app.workspace();
    ASSERT_TRUE(controller.openFile(test::fixturePath("faces/audrey_0.jpg")));
    controller.waitForPicture();
    controller.openFile(test::fixturePath("image/truncated.jpg"));
    controller.waitForPicture();
    EXPECT_TRUE(controller.workspace().pictureLoaded());
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_FALSE(dialogs.noticeOpen); // an ordinary message, answered
}
