#include "core/face/AutoFramer.h"
#include "core/ini/IniFile.h"
#include "core/workspace/PhotoWorkspace.h"
#include "core/workspace/WorkspaceGeometry.h"
#include "gui/app/MainWindow.h"
#include "gui/app/PortiqaApp.h"
#include "gui/face/AutoFrameFeature.h"
#include "gui/workspace/WorkspaceController.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace portiqa;

namespace {

struct AppRig {
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    std::unique_ptr<PortiqaApp> app;

    explicit AppRig(const QString& storedSwitch = QString()) {
        QDir().mkpath(dir.filePath("s"));
        if (!storedSwitch.isNull()) {
            IniFile(dir.filePath("s/set.dll")).write("自动框选", "启用", storedSwitch);
        }
        LaunchOptions options;
        options.settingsDir = dir.filePath("s");
        app = std::make_unique<PortiqaApp>(options, &dialogs);
        app->start();
    }
    QString stored() const { return IniFile(dir.filePath("s/set.dll")).read("自动框选", "启用"); }
};

QMenu* fileMenu(MainWindow& window) {
    for (QAction* entry : window.menuBar()->actions()) {
        if (entry->text() == QStringLiteral("文件")) {
            return entry->menu();
        }
    }
    return nullptr;
}

} // namespace

TEST(AutoFrameMenu, FileMenuHasTheCommandAndTheSwitchOffByDefault) {
    AppRig rig;
    QMenu* menu = fileMenu(rig.app->window());
    ASSERT_NE(menu, nullptr);
    QStringList texts;
    for (QAction* a : menu->actions()) {
        texts << a->text();
    }
    EXPECT_EQ(texts, QStringList({"打开", "编辑", "拍摄", "自动框选人脸", "显示图片时自动框选人脸",
                                  "输出选项…", "更换背景颜色", "排版打印…"}));
    AutoFrameFeature& feature = rig.app->autoFrame();
    EXPECT_EQ(feature.commandAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+F")));
    EXPECT_TRUE(feature.automaticAction()->isCheckable());
    EXPECT_FALSE(feature.automaticAction()->isChecked());
    EXPECT_FALSE(feature.framer().automatic());
    EXPECT_FALSE(QFile::exists(rig.dir.filePath("s/set.dll"))); // nothing written at start
}

TEST(AutoFrameMenu, TheSwitchIsStoredAndReadBack) {
    {
        AppRig rig;
        rig.app->autoFrame().automaticAction()->trigger();
        EXPECT_TRUE(rig.app->autoFrame().framer().automatic());
        EXPECT_EQ(rig.stored(), QStringLiteral("真"));
        rig.app->autoFrame().automaticAction()->trigger();
        EXPECT_EQ(rig.stored(), QString());
    }
    AppRig on(QStringLiteral("真"));
    EXPECT_TRUE(on.app->autoFrame().automaticAction()->isChecked());
    EXPECT_TRUE(on.app->autoFrame().framer().automatic());
}

TEST(AutoFrameMenu, OpenedPictureAppearsFramedAndStaysFramedWhenItsFullPixelsArrive) {
    AppRig rig(QStringLiteral("真"));
    WorkspaceController& controller = rig.app->workspace();
    QSignalSpy known(&rig.app->autoFrame().framer(), &AutoFramer::facesKnown);
    ASSERT_TRUE(controller.openFile(test::fixturePath("faces/grace_hopper_0.jpg")));
    ASSERT_TRUE(known.wait(10000));
    controller.waitForPicture();
    const PhotoWorkspace& ws = controller.workspace();
    EXPECT_FALSE(ws.showingPreview());
    EXPECT_EQ(rig.app->window().statusHintText(), AutoFramer::framedHint());
    // Not the fitted view any more: zoomed onto the face.
    EXPECT_NE(ws.zoom(), WorkspaceGeometry::fitZoom(ws.pictureSize(), ws.areaSize()));
    EXPECT_EQ(controller.captureFramedImage().size(), QSize(160, 210));
    EXPECT_TRUE(rig.dialogs.messages.isEmpty());
}

// In the window at the identity-card size: hair too tall for the card's ranges is cut and the
// status bar says so; a tightly cropped photo fills the frame (no white column at its sides)
// and is framed to the standard.
TEST(AutoFrameMenu, TheStatusBarSaysWhatTheStandardCouldNotKeep) {
    AppRig rig;
    QComboBox* sizes = rig.app->window().controls().sizeTypeCombo;
    sizes->setCurrentIndex(2); // 学籍/身份证 358 x 441
    emit sizes->activated(2);
    WorkspaceController& controller = rig.app->workspace();

    ASSERT_TRUE(controller.openFile(test::fixturePath("faces/sample6_0.jpg")));
    controller.waitForPicture();
    rig.app->autoFrame().commandAction()->trigger();
    EXPECT_EQ(rig.app->window().statusHintText(), AutoFramer::hairCutHint());

    ASSERT_TRUE(controller.openFile(test::fixturePath("faces/astronaut_tight.jpg")));
    controller.waitForPicture();
    rig.app->autoFrame().commandAction()->trigger();
    EXPECT_EQ(rig.app->window().statusHintText(), AutoFramer::framedHint());
    const QImage saved = controller.captureFramedImage();
    ASSERT_EQ(saved.size(), QSize(358, 441));
    for (const int x : {0, 1, 356, 357}) { // a band would be pure white, top to bottom
        bool white = true;
        for (int y = 0; y < saved.height() && white; ++y) {
            white = saved.pixel(x, y) == qRgb(255, 255, 255);
        }
        EXPECT_FALSE(white) << "column " << x;
    }
    EXPECT_TRUE(rig.dialogs.messages.isEmpty());
}

TEST(AutoFrameMenu, CommandOnAPictureWithoutAFaceSaysSoAndChangesNothing) {
    AppRig rig;
    QImage blank(900, 700, QImage::Format_RGB32);
    blank.fill(Qt::lightGray);
    ASSERT_TRUE(blank.save(rig.dir.filePath("blank.png")));
    WorkspaceController& controller = rig.app->workspace();
    ASSERT_TRUE(controller.openFile(rig.dir.filePath("blank.png")));
    controller.waitForPicture();
    const double zoom = controller.workspace().zoom();
    const QPoint frame = controller.workspace().frame().topLeft();
    rig.app->autoFrame().commandAction()->trigger();
    EXPECT_EQ(rig.app->window().statusHintText(), QStringLiteral("未检测到人脸"));
    EXPECT_EQ(controller.workspace().zoom(), zoom);
    EXPECT_EQ(controller.workspace().frame().topLeft(), frame);
}
