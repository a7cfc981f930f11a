#include "core/workspace/PhotoWorkspace.h"
#include "gui/workspace/PictureAreaWidget.h"
#include "gui/workspace/WorkspaceController.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>

namespace portiqa {
namespace {

QImage pattern(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x + y) % 256));
        }
    }
    return image;
}

class WorkspaceWidgetsTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(586, 360);
        host->setObjectName(QStringLiteral("可视画板"));
        host->setGeometry(4, 48, 411, 279);
        controller = std::make_unique<WorkspaceController>(dialogs, host);
        controller->attachScrollBars(horizontal, vertical);
        controller->attachMoveButtons(up, down, left, right);
        controller->attachCapturePanel(capturePanel);
        layout = controller->layoutMainWindow(594, 414);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    PhotoWorkspace& workspace() { return controller->workspace(); }
    PictureAreaWidget* area() { return controller->pictureArea(); }
    void wheel(int delta) {
        const QPointF at(100, 100);
        QWheelEvent event(at, area()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(area(), &event);
    }

    test::ScriptedDialogs dialogs;
    QWidget window;
    QFrame* host = new QFrame(&window);
    QWidget* capturePanel = new QWidget(host);
    QScrollBar* horizontal = new QScrollBar(Qt::Horizontal, &window);
    QScrollBar* vertical = new QScrollBar(Qt::Vertical, &window);
    QPushButton* up = new QPushButton(QStringLiteral("↑"), &window);
    QPushButton* down = new QPushButton(QStringLiteral("↓"), &window);
    QPushButton* left = new QPushButton(QStringLiteral("←"), &window);
    QPushButton* right = new QPushButton(QStringLiteral("→"), &window);
    std::unique_ptr<WorkspaceController> controller;
    MainWindowLayout layout;
};

TEST_F(WorkspaceWidgetsTest, LayoutPlacesTheAreaAndBarsAtDesignGeometry) {
    EXPECT_EQ(host->geometry(), QRect(4, 48, 411, 279));
    EXPECT_EQ(area()->geometry(), QRect(0, 0, 411, 279));
    EXPECT_EQ(layout.settingsGroup, QRect(432, 48, 152, 292));
    EXPECT_EQ(horizontal->geometry(), QRect(4, 328, 411, 12));
    EXPECT_EQ(vertical->geometry(), QRect(416, 48, 12, 279));
    EXPECT_EQ(workspace().frame().topLeft(), QPoint(125, 34));
    EXPECT_FALSE(horizontal->isEnabled());

    // A bigger window grows the area and centres the frame again, whatever was done to it.
    ASSERT_TRUE(workspace().showNewPicture(pattern(300, 200)));
    workspace().stepFrame(5, 5);
    controller->layoutMainWindow(694, 454);
    EXPECT_EQ(host->geometry(), QRect(4, 48, 511, 319));
    EXPECT_EQ(area()->geometry(), QRect(0, 0, 511, 319));
    EXPECT_EQ(workspace().frame().topLeft(), QPoint(255 - 80, 159 - 105));
    EXPECT_EQ(capturePanel->geometry(), QRect(175, 54, 160, 210));
    EXPECT_FALSE(capturePanel->isVisible());
    EXPECT_EQ(workspace().view().size(), QSize(511, 319));
}

TEST_F(WorkspaceWidgetsTest, ScrollBarsMirrorTheWorkspaceAndScrollIt) {
    ASSERT_TRUE(workspace().showNewPicture(pattern(1000, 700)));
    workspace().setZoom(1.0);
    EXPECT_TRUE(horizontal->isEnabled());
    EXPECT_EQ(horizontal->minimum(), 1);
    EXPECT_EQ(horizontal->maximum(), 589);
    EXPECT_EQ(horizontal->pageStep(), 10);
    EXPECT_EQ(horizontal->value(), 294);
    horizontal->setValue(1);
    EXPECT_EQ(workspace().scrollPosition().x(), 1);
    EXPECT_DOUBLE_EQ(workspace().scrollFractionX(), 1.0 / 589);
    EXPECT_EQ(area()->grab().toImage().pixel(0, 0) & 0xFFFFFF,
              workspace().picture().pixel(1, 210) & 0xFFFFFF);
}

TEST_F(WorkspaceWidgetsTest, WheelAndKeysZoomAndMoveTheFrame) {
    wheel(120);
    EXPECT_DOUBLE_EQ(workspace().zoom(), 1.0); // nothing without a picture
    ASSERT_TRUE(workspace().showNewPicture(pattern(200, 100)));
    wheel(120);
    EXPECT_NEAR(workspace().zoom(), 0.98, 1e-12);
    wheel(-240); // two notches toward the operator in one event: linear, 1.04
    EXPECT_NEAR(workspace().zoom(), 0.98 * 1.04, 1e-12);
    wheel(60); // half a notch waits for the other half
    EXPECT_NEAR(workspace().zoom(), 0.98 * 1.04, 1e-12);
    wheel(60);
    EXPECT_NEAR(workspace().zoom(), 0.98 * 1.04 * 0.98, 1e-12);

    const double zoom = workspace().zoom();
    QTest::keyClick(area(), Qt::Key_Equal);
    EXPECT_NEAR(workspace().zoom(), zoom * 1.02, 1e-12);
    QTest::keyClick(area(), Qt::Key_Minus, Qt::ShiftModifier);
    EXPECT_NEAR(workspace().zoom(), zoom * 1.02 * 0.98, 1e-12);

    const QPoint frame = workspace().frame().topLeft();
    QTest::keyClick(area(), Qt::Key_Right, Qt::ControlModifier);
    QTest::keyClick(area(), Qt::Key_Up);
    EXPECT_EQ(workspace().frame().topLeft(), frame + QPoint(1, -1));
}

TEST_F(WorkspaceWidgetsTest, OnlyCtrlVPastesFromTheClipboard) {
    ASSERT_TRUE(workspace().showNewPicture(pattern(50, 50)));
    QGuiApplication::clipboard()->setImage(pattern(80, 60));
    QTest::keyClick(area(), Qt::Key_V);
    QTest::keyClick(area(), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(workspace().picture().size(), QSize(50, 50));
    QTest::keyClick(area(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(workspace().picture().size(), QSize(80, 60));

    QTest::keyClick(area(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), workspace().frame().size());
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(WorkspaceWidgetsTest, DraggingTheFrameWithTheMouse) {
    ASSERT_TRUE(workspace().showNewPicture(pattern(300, 200)));
    const QPoint start = workspace().frame().topLeft();
    QTest::mouseMove(area(), start + QPoint(10, 10));
    EXPECT_EQ(area()->cursor().shape(), Qt::SizeAllCursor);
    QTest::mousePress(area(), Qt::LeftButton, Qt::NoModifier, start + QPoint(10, 10));
    QTest::mouseMove(area(), start + QPoint(17, 7));
    QTest::mouseRelease(area(), Qt::LeftButton, Qt::NoModifier, start + QPoint(17, 7));
    EXPECT_EQ(workspace().frame().topLeft(), start + QPoint(7, -3));
    QTest::mouseMove(area(), QPoint(2, 2));
    EXPECT_EQ(area()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(WorkspaceWidgetsTest, HeldMoveButtonRepeatsUntilReleased) {
    QTest::mousePress(up, Qt::LeftButton);
    QTest::mouseRelease(up, Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 1); // no picture yet

    ASSERT_TRUE(workspace().showNewPicture(pattern(300, 200)));
    const QPoint start = workspace().frame().topLeft();
    QTest::mousePress(left, Qt::LeftButton);
    EXPECT_EQ(workspace().frame().topLeft(), start + QPoint(-1, 0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return workspace().frame().topLeft().x() < start.x() - 2; }));
    QTest::mouseRelease(left, Qt::LeftButton);
    const QPoint stopped = workspace().frame().topLeft();
    QTest::qWait(80);
    EXPECT_EQ(workspace().frame().topLeft(), stopped);
    EXPECT_EQ(QApplication::focusWidget(), area());
    host->setFocus(); // the window focuses its own control; the view takes it
    EXPECT_TRUE(area()->hasFocus());
}

TEST_F(WorkspaceWidgetsTest, HeldMoveGoesOnWhileThePointerLeavesAndReturns) {
    ASSERT_TRUE(workspace().showNewPicture(pattern(300, 200)));
    const int startX = workspace().frame().topLeft().x();
    // Held still, a move covers one pixel at the press and one per tick from the tenth.
    const auto expectedDistance = [this] {
        return 1 + std::max(0, controller->frameMover().repeatTicks() - 9);
    };
    QTest::mousePress(left, Qt::LeftButton);
    QTest::qWait(30);
    QTest::mouseMove(left, QPoint(-150, 60)); // off the button, still held
    QTest::qWait(100);
    EXPECT_TRUE(controller->frameMover().running());
    EXPECT_EQ(startX - workspace().frame().topLeft().x(), expectedDistance());
    QTest::mouseMove(left, left->rect().center()); // back over it: no extra step
    EXPECT_EQ(startX - workspace().frame().topLeft().x(), expectedDistance());
    QTest::qWait(30);
    EXPECT_EQ(startX - workspace().frame().topLeft().x(), expectedDistance());
    QTest::mouseMove(left, QPoint(-150, 60));
    QTest::mouseRelease(left, Qt::LeftButton, Qt::NoModifier, QPoint(-150, 60));
    EXPECT_FALSE(controller->frameMover().running());
    const QPoint stopped = workspace().frame().topLeft();
    QTest::qWait(40);
    EXPECT_EQ(workspace().frame().topLeft(), stopped);
}

TEST_F(WorkspaceWidgetsTest, TurnWithoutPictureDoesNothingAndTurnKeepsTheFrame) {
    controller->turn(true);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    ASSERT_TRUE(workspace().showNewPicture(pattern(300, 400)));
    const QRect frame = workspace().frame().rect();
    controller->turn(false);
    EXPECT_EQ(workspace().picture().size(), QSize(400, 300));
    EXPECT_EQ(workspace().frame().rect(), frame);
}

} // namespace
} // namespace portiqa

namespace portiqa {
namespace {

TEST_F(WorkspaceWidgetsTest, FileThatFailsToDecodeBringsThePreviousPictureBack) {
    ASSERT_TRUE(controller->openFile(test::fixturePath(QStringLiteral("image/large.jpg"))));
    controller->waitForPicture();
    ASSERT_TRUE(workspace().pictureLoaded());
    EXPECT_FALSE(workspace().showingPreview());
    const QSize size = workspace().picture().size();
    EXPECT_EQ(size, workspace().pictureSize());
    workspace().zoomByWheel(-2);
    const double zoom = workspace().zoom();
    const QImage view = workspace().view().copy();

    for (const char* name :
         {"image/truncated.jpg", "image/empty.jpg", "image/notes.jpg", "image/huge_header.png"}) {
        dialogs.messages.clear();
        controller->openFile(test::fixturePath(QString::fromLatin1(name)));
        controller->waitForPicture();
        QCoreApplication::processEvents();
        ASSERT_EQ(dialogs.messages.size(), 1) << name;
        EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("提示")) << name;
        EXPECT_EQ(workspace().picture().size(), size) << name;
        EXPECT_DOUBLE_EQ(workspace().zoom(), zoom) << name;
        EXPECT_TRUE(workspace().view() == view) << name;
    }
}

} // namespace
} // namespace portiqa
