// Quick-shoot in the camera window with the test-pattern camera: the switch, the frame and its
// moves and drag, the settings window, and shots into a temporary folder.

#include "CameraAppFixture.h"

#include "core/camera/QuickShot.h"
#include "core/settings/SettingsFile.h"
#include "core/workspace/PhotoWorkspace.h"
#include "gui/app/FeatureLinks.h"
#include "gui/app/MainControls.h"
#include "gui/app/UpDownEdit.h"
#include "gui/camera/PreviewWidget.h"
#include "gui/camera/QuickShootSettingsWindow.h"
#include "gui/workspace/WorkspaceController.h"

#include "support/PlainSizeEdits.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>

using namespace portiqa;
using test::CameraApp;

namespace {

void sendMouse(QWidget* target, QEvent::Type type, QPoint global) {
    const QPointF local = target->mapFromGlobal(QPointF(global));
    QMouseEvent event(type, local, local, QPointF(global), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

// Equal colours pixel for pixel, whatever colour space a file reader attached.
bool samePixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (qRgb(qRed(a.pixel(x, y)), qGreen(a.pixel(x, y)), qBlue(a.pixel(x, y))) !=
                qRgb(qRed(b.pixel(x, y)), qGreen(b.pixel(x, y)), qBlue(b.pixel(x, y)))) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

TEST(QuickShootWindow, SwitchingOnTwiceAsksOnceThenStoresTheSize) {
    CameraApp t({640, 480}, {{"是否保存设置", "真"},
                             {"像素宽", "295"},
                             {"像素高", "413"},
                             {"保存格式", ".JPG"},
                             {"JPG体积", "40"}});
    CameraWindow* w = t.openCamera();
    t.dialogs.answers = {MessageAnswer::Yes};
    w->quickBox()->click();
    ASSERT_EQ(t.dialogs.messages.size(), 1);
    EXPECT_EQ(t.dialogs.messages.first().text, QStringLiteral("是否沿用之前的速拍设置？"));
    const MainControls& c = t.app->window().controls();
    EXPECT_EQ(c.widthEdit->text(), "295");
    EXPECT_EQ(c.heightEdit->text(), "413");
    EXPECT_EQ(c.sizeLimitEdit->text(), "40");
    // The preview grew for the taller output and the frame sits in its middle.
    EXPECT_EQ(w->previewSize(), QSize(590, 443));
    EXPECT_EQ(w->quickFrameTopLeft(), QPoint(10 + 147, 16 + 15));
    EXPECT_TRUE(w->bar(0)->isVisible());
    EXPECT_TRUE(w->quickSettingsButton()->isVisible());
    EXPECT_TRUE(w->moveButton(FrameDirection::Up)->isVisible());

    w->quickBox()->click(); // off
    EXPECT_FALSE(w->bar(0)->isVisible());
    c.widthEdit->setText(QStringLiteral("358"));
    w->quickBox()->click(); // on again: no question, the current size is stored
    EXPECT_EQ(t.dialogs.messages.size(), 1);
    IniFile ini(t.settingsFolder() + "/set.dll");
    EXPECT_EQ(ini.read("批量速拍", "像素宽"), "358");
    // With the camera window open and quick-shoot on, edits are stored as they change.
    c.heightEdit->setText(QStringLiteral("441"));
    EXPECT_EQ(ini.read("批量速拍", "像素高"), "441");
}

TEST(QuickShootWindow, AHeldMoveButtonMovesUntilTheMouseButtonIsReleased) {
    CameraApp t;
    CameraWindow* w = t.openCamera();
    w->quickBox()->click();
    QPushButton* right = w->moveButton(FrameDirection::Right);
    const QPoint start = w->quickFrameTopLeft();
    const QPoint onButton = right->mapToGlobal(right->rect().center());
    sendMouse(right, QEvent::MouseButtonPress, onButton);
    EXPECT_EQ(w->quickFrameTopLeft(), start + QPoint(1, 0));
    EXPECT_TRUE(w->moveTimer()->isActive());
    EXPECT_EQ(w->moveTimer()->interval(), 5);
    // Sliding off the button while holding it does not end the move.
    sendMouse(right, QEvent::MouseMove, onButton + QPoint(200, 200));
    EXPECT_TRUE(w->moveTimer()->isActive());
    QElapsedTimer waited;
    waited.start();
    while (w->quickFrameTopLeft().x() < start.x() + 4 && waited.elapsed() < 10000) {
        QTest::qWait(5);
    }
    EXPECT_GE(w->mover().ticks(), 12);
    EXPECT_EQ(w->quickFrameTopLeft().x() - start.x(), 1 + w->mover().ticks() - 9);
    sendMouse(right, QEvent::MouseButtonRelease, onButton + QPoint(200, 200));
    EXPECT_FALSE(w->moveTimer()->isActive());
    const QPoint stopped = w->quickFrameTopLeft();
    QTest::qWait(30);
    EXPECT_EQ(w->quickFrameTopLeft(), stopped);
    EXPECT_EQ(stopped.y(), start.y());
    // A short click moves exactly one pixel.
    QPushButton* up = w->moveButton(FrameDirection::Up);
    sendMouse(up, QEvent::MouseButtonPress, up->mapToGlobal(QPoint(3, 3)));
    sendMouse(up, QEvent::MouseButtonRelease, up->mapToGlobal(QPoint(3, 3)));
    EXPECT_EQ(w->quickFrameTopLeft(), stopped + QPoint(0, -1));
}

TEST(QuickShootWindow, DraggingABarKeepsTheFrameInTheBox) {
    CameraApp t;
    CameraWindow* w = t.openCamera();
    w->quickBox()->click();
    QLabel* top = w->bar(0);
    const QPoint start = w->quickFrameTopLeft();
    const QPoint grab = top->mapToGlobal(QPoint(4, 4));
    sendMouse(top, QEvent::MouseButtonPress, grab);
    sendMouse(top, QEvent::MouseMove, grab + QPoint(20, -5));
    EXPECT_EQ(w->quickFrameTopLeft(), start + QPoint(20, -5));
    sendMouse(top, QEvent::MouseMove, grab - QPoint(2000, 2000));
    EXPECT_EQ(w->quickFrameTopLeft(), QPoint(11, 17));
    sendMouse(top, QEvent::MouseMove, grab + QPoint(2000, 2000));
    const QSize box = w->groupBox()->size();
    EXPECT_EQ(w->quickFrameTopLeft(), QPoint(box.width() - 176, box.height() - 222));
    EXPECT_EQ(top->geometry().topLeft(), w->quickFrameTopLeft() - QPoint(10, 10));
    sendMouse(top, QEvent::MouseButtonRelease, grab + QPoint(2000, 2000));
    sendMouse(top, QEvent::MouseMove, grab);
    EXPECT_EQ(w->quickFrameTopLeft(), QPoint(box.width() - 176, box.height() - 222));
}

TEST(QuickShootWindow, ThreeShotsAreTheFramedPreviewInSequence) {
    CameraApp t;
    const QString folder = t.quickShootIntoFolder(QStringLiteral("out"));
    CameraWindow* w = t.openCamera();
    w->quickBox()->click();
    QPushButton* left = w->moveButton(FrameDirection::Left);
    sendMouse(left, QEvent::MouseButtonPress, left->mapToGlobal(QPoint(2, 2)));
    sendMouse(left, QEvent::MouseButtonRelease, left->mapToGlobal(QPoint(2, 2)));
    const QRect frame(w->quickFrameTopLeft(), QSize(160, 210));
    for (int shot = 1; shot <= 3; ++shot) {
        t.camera->advance();
        const QImage shown = w->previewImage().copy(frame.translated(-10, -16));
        w->shootButton()->click();
        const QString path = QStringLiteral("%1/%2.png").arg(folder).arg(shot, 4, 10, QChar('0'));
        const QImage written(path);
        ASSERT_FALSE(written.isNull()) << path.toStdString();
        EXPECT_TRUE(samePixels(written, shown)) << shot;
    }
    EXPECT_TRUE(t.dialogs.messages.isEmpty()) << t.dialogs.lastText().toStdString();
    EXPECT_FALSE(t.app->workspace().workspace().pictureLoaded()); // the workspace is untouched
}

TEST(QuickShootWindow, AShotWithoutAFolderOpensTheSettingsWindow) {
    CameraApp t;
    CameraWindow* w = t.openCamera();
    w->quickBox()->click();
    bool settingsShown = false;
    test::whenModal<QuickShootSettingsWindow>([&](QuickShootSettingsWindow* window) {
        settingsShown = true;
        EXPECT_EQ(window->size(), QSize(466, 225));
        window->reject();
    });
    w->shootButton()->click();
    EXPECT_TRUE(settingsShown);
    ASSERT_EQ(t.dialogs.messages.size(), 1);
    EXPECT_EQ(t.dialogs.messages.first().text, QuickShot::folderNotSetMessage());
}

TEST(QuickShootSettingsWindow, ConfirmRefusals) {
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    SettingsFile file(dir.path(), dialogs);
    test::PlainSizeEdits edits(QStringLiteral("358"), QStringLiteral("441"), QStringLiteral("30"));
    QuickShootSettings settings;
    int switchedOn = 0;
    QuickSettingsSeams seams;
    seams.switchQuickShootOn = [&] { ++switchedOn; };
    QuickShootSettingsWindow window(settings, file, edits, dialogs, seams);
    struct Case {
        QString folder;
        int naming;
        QString prefix;
        QString message;
    };
    const QString badFolder = QStringLiteral("请设置正确的图片保存目录。");
    const Case cases[] = {
        {QString(), 1, QString(), badFolder},
        {dir.filePath("missing") + "/", 1, QString(), badFolder},
        {dir.path() + "/", 2, QStringLiteral("   "), QStringLiteral("自定义命名不能为空。")},
        {dir.path() + "/", 2, QStringLiteral("a/b"), outputNameProblem(QStringLiteral("a/b"))},
    };
    for (const Case& c : cases) {
        dialogs.messages.clear();
        window.folderEdit()->setText(c.folder);
        window.namingChosen(c.naming);
        if (window.namingBox()->isEditable()) {
            window.namingBox()->setEditText(c.prefix);
        }
        EXPECT_FALSE(window.confirm()) << c.message.toStdString();
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_EQ(dialogs.messages.first().caption, QStringLiteral("提醒："));
        EXPECT_EQ(dialogs.messages.first().text, c.message);
        EXPECT_EQ(dialogs.messages.first().icon, MessageIcon::Information);
    }
    EXPECT_EQ(switchedOn, 0);
    EXPECT_FALSE(QFileInfo::exists(file.path()));
}

TEST(QuickShootSettingsWindow, ConfirmTakesTheSettingsAndKeepsThemWhenAsked) {
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    SettingsFile file(dir.path(), dialogs);
    test::PlainSizeEdits edits(QStringLiteral("358"), QStringLiteral("441"), QStringLiteral("30"));
    QuickShootSettings settings;
    settings.namingIndex = 2;
    settings.namingMode = namingModeText(BatchKind::QuickShoot, 2);
    settings.customPrefix = QStringLiteral("高一");
    int switchedOn = 0;
    int rosterOpened = 0;
    QuickSettingsSeams seams;
    seams.switchQuickShootOn = [&] { ++switchedOn; };
    seams.openRosterWindow = [&] { ++rosterOpened; };
    {
        QuickShootSettingsWindow window(settings, file, edits, dialogs, seams);
        // The stored prefix is what the box shows, not the entry's text.
        EXPECT_TRUE(window.namingBox()->isEditable());
        EXPECT_EQ(window.namingBox()->currentText(), QStringLiteral("高一"));
        dialogs.folders = {dir.path()};
        window.browse();
        EXPECT_EQ(window.folderEdit()->text(), QDir::toNativeSeparators(dir.path() + "/"));
        window.formatChosen(3);
        window.shutterBox()->click();
        window.keepBox()->setChecked(true);
        EXPECT_TRUE(window.confirm());
    }
    EXPECT_EQ(switchedOn, 1);
    EXPECT_EQ(settings.saveFolder, dir.path());
    EXPECT_EQ(settings.customPrefix, QStringLiteral("高一"));
    EXPECT_EQ(settings.format, QStringLiteral(".PNG"));
    EXPECT_TRUE(settings.shutterSound);
    EXPECT_TRUE(settings.settingsSaved);
    IniFile ini(file.path());
    EXPECT_EQ(ini.read("批量速拍", "命名方式"), "2");
    EXPECT_EQ(ini.read("批量速拍", "自定义命名"), "高一");
    EXPECT_EQ(ini.read("批量速拍", "保存格式"), ".PNG");
    EXPECT_EQ(ini.read("批量速拍", "是否保存设置"), "真");
    EXPECT_EQ(ini.read("批量速拍", "JPG体积"), "");

    // Naming by cell opens the roster window; leaving it closes an open one.
    int rosterClosed = 0;
    seams.rosterWindowOpen = [] { return true; };
    seams.closeRosterWindow = [&] { ++rosterClosed; };
    QuickShootSettingsWindow window(settings, file, edits, dialogs, seams);
    window.namingChosen(4);
    EXPECT_EQ(rosterClosed, 0);
    window.keepBox()->setChecked(false);
    EXPECT_TRUE(window.confirm());
    EXPECT_EQ(rosterOpened, 1);
    EXPECT_EQ(ini.read("批量速拍", "是否保存设置"), "");
    QuickShootSettingsWindow again(settings, file, edits, dialogs, seams);
    again.namingChosen(0);
    EXPECT_EQ(rosterClosed, 1);
}
