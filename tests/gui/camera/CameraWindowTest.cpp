// The camera window with the test-pattern camera: layout and sizing, the photo into the
// workspace, the no-camera path, the driver dialogs, the output edits and closing.

#include "CameraAppFixture.h"

#include "core/camera/CameraWindowSizing.h"
#include "core/workspace/PhotoWorkspace.h"
#include "gui/app/ColourPickerButton.h"
#include "gui/app/FeatureLinks.h"
#include "gui/app/MainControls.h"
#include "gui/app/UpDownEdit.h"
#include "gui/camera/CameraDriverDialogs.h"
#include "gui/camera/PreviewWidget.h"
#include "gui/workspace/WorkspaceController.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace portiqa;
using test::CameraApp;

namespace {

QSize clientFor(QSize preview) {
    return preview + QSize(155, 56);
}

} // namespace

TEST(CameraWindow, OpensAtTheDesignSizeAndItsPhotoIsThePreview) {
    CameraApp t;
    CameraWindow* w = t.openCamera();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(t.app->links().cameraWindowOpen());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("摄像预览"));
    EXPECT_EQ(w->size(), QSize(567, 365));
    EXPECT_EQ(w->pos(), t.app->window().pos() + QPoint(100, 60));
    EXPECT_EQ(w->preview()->geometry(), QRect(10, 16, 412, 309));
    EXPECT_EQ(w->shootButton()->geometry(), QRect(445, 280, 116, 78));
    EXPECT_EQ(w->shootButton()->text(), QStringLiteral("拍 照"));
    EXPECT_FALSE(w->failureLabel()->isVisible());
    EXPECT_TRUE(w->quickBox()->isVisible());
    EXPECT_FALSE(w->quickSettingsButton()->isVisible());
    EXPECT_TRUE(t.camera->isConnected());

    w->shootButton()->click();
    const QImage photo = t.app->workspace().workspace().picture();
    EXPECT_EQ(photo.size(), QSize(412, 309));
    EXPECT_EQ(photo.convertToFormat(QImage::Format_RGB32), w->previewImage());
    EXPECT_TRUE(t.app->workspace().workspace().pictureLoaded());

    // The operator widens the window until the preview is 800 pixels wide.
    w->resize(clientFor({800, 309}));
    QCoreApplication::processEvents();
    EXPECT_EQ(w->previewSize(), QSize(800, 600));
    EXPECT_EQ(w->size(), clientFor({800, 600}));
    EXPECT_EQ(w->groupBox()->size(), QSize(822, 627));
    t.camera->advance();
    w->shootButton()->click();
    const QImage wide = t.app->workspace().workspace().picture();
    EXPECT_EQ(wide.width(), 800);
    EXPECT_EQ(wide.convertToFormat(QImage::Format_RGB32), w->previewImage());

    // Dragging the bottom edge: the height decides.
    w->resize(w->width(), clientFor({0, 450}).height());
    QCoreApplication::processEvents();
    EXPECT_EQ(w->previewSize(), QSize(600, 450));
}

TEST(CameraWindow, NoCameraShowsTheHelpAndRetryConnects) {
    CameraApp t{QSize()};
    CameraWindow* w = t.openCamera();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->size(), QSize(567, 365));
    EXPECT_EQ(w->shootButton()->text(), QStringLiteral("重 试"));
    EXPECT_TRUE(w->failureLabel()->isVisible());
    EXPECT_EQ(w->failureLabel()->text(), QStringLiteral("    无法连接摄像头哦"));
    EXPECT_TRUE(w->helpLabel()->text().contains(QStringLiteral("4、你还没有摄像头？")));
    for (QWidget* hidden :
         {static_cast<QWidget*>(w->preview()), static_cast<QWidget*>(w->deviceButton()),
          static_cast<QWidget*>(w->formatButton()), static_cast<QWidget*>(w->quickBox())}) {
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
    }
    w->shootButton()->click(); // still nothing there
    EXPECT_EQ(w->shootButton()->text(), QStringLiteral("重 试"));
    EXPECT_FALSE(t.app->workspace().workspace().pictureLoaded());

    t.camera->plug({640, 480});
    w->shootButton()->click();
    EXPECT_EQ(w->shootButton()->text(), QStringLiteral("拍 照"));
    EXPECT_FALSE(w->failureLabel()->isVisible());
    EXPECT_TRUE(w->preview()->isVisible());
    EXPECT_TRUE(w->quickBox()->isVisible());
    EXPECT_FALSE(w->previewImage().isNull());
    EXPECT_TRUE(t.dialogs.messages.isEmpty());

    // Unplugged while previewing: back to the help text and "重 试".
    t.camera->plug(QSize());
    EXPECT_EQ(w->shootButton()->text(), QStringLiteral("重 试"));
    EXPECT_TRUE(w->helpLabel()->isVisible());
    EXPECT_FALSE(w->preview()->isVisible());
}

TEST(CameraWindow, A16By9FormatMakesThePreviewWider) {
    CameraApp t;
    CameraWindow* w = t.openCamera();
    test::whenModal<CameraFormatDialog>([](CameraFormatDialog* dialog) {
        dialog->formatBox()->setCurrentIndex(
            dialog->formatBox()->findText(QStringLiteral("1280 x 720"), Qt::MatchStartsWith));
        dialog->accept();
    });
    w->formatButton()->click();
    EXPECT_EQ(t.camera->currentFrame().size(), QSize(1280, 720));
    EXPECT_DOUBLE_EQ(t.app->camera().aspect(), 0.5625);
    EXPECT_EQ(w->previewSize(), QSize(412, 231));

    // A new camera window keeps the measured ratio and sizes itself by it.
    w->close();
    CameraWindow* again = t.openCamera();
    EXPECT_EQ(again->previewSize(), QSize(549, 309));
}

TEST(CameraWindow, ALateWideFirstFrameSizesTheFirstOpeningLikeAReopening) {
    // A webcam whose stream starts late and whose frames are 16:9, with the program still on
    // its 4:3 start ratio.
    CameraApp t{QSize(1280, 720)};
    t.camera->setFirstFrameDelay(150);
    const MainControls& c = t.app->window().controls();
    c.widthEdit->setText(QStringLiteral("295"));
    c.heightEdit->setText(QStringLiteral("413"));
    const auto openAndWait = [&t] {
        CameraWindow* w = t.openCamera();
        EXPECT_TRUE(w->connecting());
        EXPECT_EQ(w->preview()->placeholderText(), QStringLiteral("正在连接摄像头…"));
        EXPECT_FALSE(w->shootButton()->isEnabled());
        EXPECT_FALSE(w->quickBox()->isVisible());
        EXPECT_TRUE(QTest::qWaitFor([w] { return !w->previewImage().isNull(); }, 10000));
        QCoreApplication::processEvents();
        EXPECT_FALSE(w->connecting());
        EXPECT_TRUE(w->preview()->placeholderText().isEmpty());
        EXPECT_TRUE(w->shootButton()->isEnabled());
        EXPECT_TRUE(w->quickBox()->isVisible());
        return w;
    };
    CameraWindow* first = openAndWait();
    const QRect firstGeometry = first->geometry();
    EXPECT_EQ(first->previewSize(), camerasizing::initialPreview({295, 413}, 0.5625));
    EXPECT_EQ(first->previewSize(), QSize(787, 443));
    first->quickBox()->click();
    EXPECT_TRUE(first->preview()->geometry().contains(first->capturePanel()->geometry()));
    // Wider than the test screen: its left edge is kept on it.
    EXPECT_EQ(first->frameGeometry().left(), first->screen()->availableGeometry().left());
    first->close();

    CameraWindow* again = openAndWait();
    EXPECT_EQ(again->geometry(), firstGeometry);
    EXPECT_EQ(again->previewSize(), QSize(787, 443));
    EXPECT_TRUE(again->preview()->geometry().contains(again->capturePanel()->geometry()));
}

TEST(CameraWindow, ACameraWithoutFramesStopsTheWaitAndIsSizedWhenItsFrameComes) {
    CameraApp t{QSize(1280, 720)};
    t.camera->setFirstFrameDelay(60 * 1000);
    t.app->camera().setFirstFrameTimeout(50);
    CameraWindow* w = t.openCamera();
    ASSERT_TRUE(w->connecting());
    // The wait runs out: the preview shows at the ratio the program has, and works.
    ASSERT_TRUE(QTest::qWaitFor([w] { return !w->connecting(); }, 10000));
    EXPECT_EQ(w->previewSize(), QSize(412, 309));
    EXPECT_TRUE(w->shootButton()->isEnabled());
    EXPECT_TRUE(w->deviceButton()->isVisible());
    w->shootButton()->click(); // no picture yet: a hint, nothing loaded
    EXPECT_EQ(t.dialogs.lastText(), QStringLiteral("摄像头还没有送来画面，请稍候再拍。"));
    EXPECT_FALSE(t.app->workspace().workspace().pictureLoaded());

    // The first frame comes after all: sized as an opening at its ratio would be.
    t.camera->advance();
    EXPECT_EQ(w->previewSize(), camerasizing::initialPreview({160, 210}, 0.5625));
    EXPECT_EQ(w->previewSize(), QSize(549, 309));
}

TEST(CameraWindow, TheDeviceDialogAppliesModesAndKeepsTheCamera) {
    CameraApp t;
    CameraWindow* w = t.openCamera();
    test::whenModal<CameraDeviceDialog>([](CameraDeviceDialog* dialog) {
        EXPECT_EQ(dialog->deviceBox()->count(), 1);
        EXPECT_TRUE(dialog->exposureBox()->isEnabled());
        EXPECT_FALSE(dialog->whiteBalanceBox()->isEnabled());
        dialog->exposureBox()->setCurrentIndex(2);
        dialog->accept();
    });
    w->deviceButton()->click();
    EXPECT_EQ(t.camera->exposureModes().current, 2);
    EXPECT_TRUE(t.camera->isConnected());
    EXPECT_EQ(w->previewSize(), QSize(412, 309));
}

TEST(CameraWindow, OutputEditsResizeTheOpenWindow) {
    CameraApp t;
    CameraWindow* w = t.openCamera();
    const MainControls& c = t.app->window().controls();
    c.widthEdit->setText(QStringLiteral("600"));
    EXPECT_EQ(w->previewSize(), QSize(630, 472));
    c.heightEdit->setText(QStringLiteral("500"));
    EXPECT_EQ(w->previewSize(), QSize(706, 530));
    c.widthEdit->setText(QStringLiteral("0")); // unusable: the window stays
    EXPECT_EQ(w->previewSize(), QSize(706, 530));
    c.widthEdit->setText(QStringLiteral("160"));
    c.heightEdit->setText(QStringLiteral("210"));
    EXPECT_EQ(w->previewSize(), QSize(412, 309));
    EXPECT_EQ(w->size(), QSize(567, 365));
}

TEST(CameraWindow, OpenedByTheToolbarAfterLeavingBatchCropAndByTheMenuWithout) {
    CameraApp t;
    QStringList calls;
    t.app->links().leaveBatchCropMode = [&] { calls << "leave"; };
    t.app->window().dispatchToolbar(10);
    EXPECT_EQ(calls, QStringList{"leave"});
    ASSERT_TRUE(t.app->links().cameraWindowOpen());
    t.app->camera().window()->close();
    EXPECT_FALSE(t.app->links().cameraWindowOpen());

    t.app->window().controls().menuCamera->trigger();
    EXPECT_EQ(calls, QStringList{"leave"});
    EXPECT_TRUE(t.app->links().cameraWindowOpen());
}

TEST(CameraWindow, ClosingReleasesTheCameraAndTheRosterWindowButKeepsQuickShoot) {
    CameraApp t;
    int rosterClosed = 0;
    t.app->links().closeRosterWindow = [&] { ++rosterClosed; };
    CameraWindow* w = t.openCamera();
    w->quickBox()->click();
    ASSERT_TRUE(t.app->links().quickShootMode());
    w->close();
    EXPECT_EQ(rosterClosed, 1);
    EXPECT_FALSE(t.camera->isConnected());
    EXPECT_FALSE(t.app->links().cameraWindowOpen());
    EXPECT_TRUE(t.app->links().quickShootMode());

    // Batch crop switching on closes the window and switches quick-shoot off.
    t.openCamera();
    t.app->links().closeCameraWindow();
    EXPECT_FALSE(t.app->links().cameraWindowOpen());
    EXPECT_FALSE(t.app->links().quickShootMode());
    EXPECT_FALSE(t.camera->isConnected());
}

TEST(CameraWindow, SwitchingBatchCropOnClosesItAndEndsQuickShoot) {
    CameraApp t;
    CameraWindow* w = t.openCamera();
    w->quickBox()->click();
    ASSERT_TRUE(t.app->links().quickShootMode());
    // No kept batch settings: its settings window comes up; it is dismissed.
    test::whenModal<QDialog>([](QDialog* dialog) { dialog->reject(); });
    emit t.app->window().batchSwitchPressed();
    EXPECT_FALSE(t.app->links().cameraWindowOpen());
    EXPECT_FALSE(t.app->links().quickShootMode());
    EXPECT_FALSE(t.camera->isConnected());
}

TEST(CameraWindow, ClosingClosesTheRealRosterWindow) {
    CameraApp t;
    CameraWindow* w = t.openCamera();
    t.app->links().openRosterWindow();
    ASSERT_TRUE(t.app->links().rosterWindowOpen());
    w->close();
    EXPECT_FALSE(t.app->links().rosterWindowOpen());
}

TEST(CameraWindow, FrameColourFollowsThePicker) {
    CameraApp t;
    CameraWindow* w = t.openCamera();
    emit t.app->window().controls().colourPicker->colourChosen(Qt::red);
    EXPECT_EQ(w->bar(0)->palette().color(QPalette::Window), QColor(Qt::red));
}
