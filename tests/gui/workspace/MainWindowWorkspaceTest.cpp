#include "core/workspace/PhotoWorkspace.h"
#include "gui/app/AppCommands.h"
#include "gui/app/MainWindowFixture.h"
#include "gui/app/StatusBarWidget.h"
#include "gui/app/WorkspaceWiring.h"
#include "gui/workspace/PictureAreaWidget.h"
#include "gui/workspace/WorkspaceController.h"

#include <QGroupBox>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace portiqa {
namespace {

// The main window as the program builds it, with the workspace joined to its controls.
struct WindowWithWorkspace {
    test::StartedMainWindow started;
    MainWindow& window = *started.window;
    WorkspaceController workspace{started.dialogs, window.controls().pictureArea};
    AppCommands commands{window};
    QTemporaryDir pictures;

    WindowWithWorkspace() {
        connectWorkspace(window, workspace);
        commands.setWorkspace(&workspace);
        window.setCommands(&commands);
        window.show();
    }
    QString savedPicture(int width, int height) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(qRgb(10, 120, 200));
        const QString path = pictures.filePath(QStringLiteral("photo.jpg"));
        image.save(path, "JPG", 95);
        return path;
    }
    PhotoWorkspace& photo() { return workspace.workspace(); }
};

TEST(MainWindowWorkspace, OpenedPictureIsFittedCentredAndFramed) {
    WindowWithWorkspace w;
    w.started.dialogs.files.push_back(w.savedPicture(3000, 2000));
    w.window.dispatchToolbar(1); // 打开
    w.workspace.waitForPicture();
    ASSERT_TRUE(w.photo().pictureLoaded());
    EXPECT_DOUBLE_EQ(w.photo().zoom(), 411.0 / 3000);
    EXPECT_EQ(w.photo().offset(), QPoint(0, 2));
    EXPECT_FALSE(w.window.controls().horizontalBar->isEnabled());

    // The yellow outline one pixel outside the centred 160 x 210 frame, on screen.
    const QImage shown = w.window.controls().pictureArea->grab().toImage();
    const QRgb yellow = qRgb(255, 255, 0);
    EXPECT_EQ(shown.pixel(124, 33) & 0xFFFFFF, yellow & 0xFFFFFF);
    EXPECT_EQ(shown.pixel(125 + 160 + 1, 34 + 100) & 0xFFFFFF, yellow & 0xFFFFFF);
    EXPECT_NE(shown.pixel(125 + 160, 34 + 100) & 0xFFFFFF, yellow & 0xFFFFFF);
    EXPECT_EQ(w.window.controls().capturePanel->geometry(), QRect(125, 34, 160, 210));

    w.window.dispatchToolbar(4); // 放大
    EXPECT_NEAR(w.photo().zoom(), 411.0 / 3000 * 1.02, 1e-12);
    w.window.dispatchToolbar(6); // 顺转
    EXPECT_EQ(w.photo().picture().size(), QSize(2000, 3000));

    QTest::mouseMove(w.window.controls().pictureArea, QPoint(40, 40));
    EXPECT_EQ(w.window.statusHintText(), QStringLiteral("滚动鼠标滚轮可缩放图片"));
}

TEST(MainWindowWorkspace, ResizingLaysOutTheWorkspaceAndRecentresTheFrame) {
    WindowWithWorkspace w;
    w.started.dialogs.files.push_back(w.savedPicture(300, 200));
    w.window.dispatchToolbar(1);
    w.workspace.waitForPicture();
    w.photo().stepFrame(9, 9);
    w.window.setEffectiveSize(694, 514);
    const MainControls& c = w.window.controls();
    EXPECT_EQ(c.pictureArea->geometry(), QRect(4, 48, 511, 379));
    EXPECT_EQ(w.workspace.pictureArea()->size(), QSize(511, 379));
    EXPECT_EQ(c.horizontalBar->geometry(), QRect(4, 428, 511, 12));
    EXPECT_EQ(c.verticalBar->geometry(), QRect(516, 48, 12, 379));
    EXPECT_EQ(c.settingsGroup->geometry(), QRect(532, 48, 152, 392));
    EXPECT_EQ(w.photo().frame().topLeft(), QPoint(255 - 80, 189 - 105));
    EXPECT_EQ(w.photo().offset(), QPoint(105, 89));
}

TEST(MainWindowWorkspace, ZoomAndTurnWithoutPictureDoNothing) {
    WindowWithWorkspace w;
    for (int index : {4, 5, 6, 7}) {
        w.window.dispatchToolbar(index);
    }
    EXPECT_FALSE(w.photo().pictureLoaded());
    EXPECT_DOUBLE_EQ(w.photo().zoom(), 1.0);
    EXPECT_TRUE(w.started.dialogs.messages.isEmpty());
}

} // namespace
} // namespace portiqa
