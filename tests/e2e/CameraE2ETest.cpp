// The camera window on the test X server with the pattern camera, driven through the X server
// with xdotool as an operator would: the toolbar opens it, "拍 照" puts the preview's picture
// into the workspace, and in quick-shoot mode three presses write three named files.

#include "core/settings/NamingModes.h"
#include "core/workspace/PhotoWorkspace.h"
#include "gui/app/FeatureLinks.h"
#include "gui/app/MainControls.h"
#include "gui/app/MainWindow.h"
#include "gui/app/PortiqaApp.h"
#include "gui/app/UpDownEdit.h"
#include "gui/camera/CameraFeature.h"
#include "gui/camera/CameraWindow.h"
#include "gui/workspace/WorkspaceController.h"
#include "platform/camera/PatternCamera.h"
#include "support/ScriptedDialogs.h"
#include "support/X11Session.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

using namespace portiqa;

namespace {

// A left click at the middle of `widget`, through the X server.
bool click(QWidget* widget) {
    const QPoint at = widget->mapToGlobal(widget->rect().center());
    // No --sync: it waits for the pointer to move, which never happens when it is there.
    return QProcess::execute("xdotool", {"mousemove", QString::number(at.x()),
                                         QString::number(at.y()), "click", "1"}) == 0;
}

bool samePixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if ((a.pixel(x, y) & 0xffffff) != (b.pixel(x, y) & 0xffffff)) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

TEST(CameraE2E, ToolbarPhotoAndThreeQuickShots) {
    test::X11Session x11;
    if (!x11.connected() || QStandardPaths::findExecutable("xdotool").isEmpty()) {
        GTEST_SKIP() << "needs an X server and xdotool";
    }
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    auto backend = std::make_unique<PatternCamera>(QSize(640, 480));
    PatternCamera* camera = backend.get();
    LaunchOptions options;
    options.settingsDir = dir.filePath("settings");
    PortiqaApp app(options, &dialogs, std::move(backend));
    app.start();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&app.window()));
    const MainControls& controls = app.window().controls();

    ASSERT_TRUE(click(controls.toolbar->widgetForAction(controls.toolbarActions.at(10))));
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.links().cameraWindowOpen(); }, 10000));
    CameraWindow* window = app.camera().window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    // Hold the picture still so "that moment" can be compared afterwards.
    camera->setFrameInterval(3600 * 1000);
    camera->advance();
    const QImage shown = window->previewImage();
    ASSERT_EQ(shown.size(), QSize(412, 309));

    ASSERT_TRUE(click(window->shootButton()));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return app.workspace().workspace().pictureLoaded(); }, 10000));
    EXPECT_TRUE(samePixels(app.workspace().workspace().picture(), shown));

    // Quick-shoot: 358 x 441 within 30 KB, named in sequence.
    controls.widthEdit->setText("358");
    controls.heightEdit->setText("441");
    controls.sizeLimitEdit->setText("30");
    const QString folder = dir.filePath("out");
    ASSERT_TRUE(QDir().mkpath(folder));
    QuickShootSettings& settings = app.quickShootSettings();
    settings.saveFolder = folder;
    settings.namingIndex = 1;
    settings.namingMode = namingModeText(BatchKind::QuickShoot, 1);
    ASSERT_TRUE(click(window->quickBox()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.links().quickShootMode(); }, 10000));
    for (int shot = 1; shot <= 3; ++shot) {
        camera->advance();
        const QString path = QStringLiteral("%1/%2.jpg").arg(folder).arg(shot, 4, 10, QChar('0'));
        ASSERT_TRUE(click(window->shootButton()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(path); }, 10000))
            << path.toStdString();
        EXPECT_EQ(QImageReader(path).size(), QSize(358, 441));
        EXPECT_LE(QFileInfo(path).size(), 30 * 1024);
    }
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 3);
    EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.lastText().toStdString();
}
