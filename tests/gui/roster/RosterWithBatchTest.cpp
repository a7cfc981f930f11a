#include "core/roster/RosterSheet.h"
#include "gui/app/MainControls.h"
#include "gui/app/MainWindow.h"
#include "gui/app/PortiqaApp.h"
#include "gui/app/StatusBarWidget.h"
#include "gui/batch/BatchCropWiring.h"
#include "gui/batch/BatchSettingsWindow.h"
#include "gui/roster/RosterWindow.h"
#include "gui/workspace/WorkspaceController.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace portiqa {
namespace {

// A batch crop run confirmed with naming by cell opens the roster window speaking of
// cropping, although the run is switched on only after the window opened.
TEST(RosterWithBatch, ConfirmedRunOpensTheWindowWithCroppingTexts) {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("photos"));
    QDir(dir.path()).mkpath(QStringLiteral("crops"));
    QImage photo(400, 300, QImage::Format_RGB32);
    photo.fill(Qt::darkCyan);
    ASSERT_TRUE(photo.save(dir.filePath(QStringLiteral("photos/p1.jpg"))));

    test::ScriptedDialogs dialogs;
    LaunchOptions options;
    options.settingsDir = dir.filePath(QStringLiteral("settings"));
    PortiqaApp app(options, &dialogs);
    app.start();
    app.batchCrop().setSettingsWindowHook([&](QDialog& dialog) {
        auto& window = static_cast<BatchSettingsWindow&>(dialog);
        QTimer::singleShot(0, &window, [&] {
            window.sourceEdit()->setText(dir.filePath(QStringLiteral("photos")) + "/");
            window.saveEdit()->setText(dir.filePath(QStringLiteral("crops")));
            window.namingBox()->setCurrentIndex(5);
            emit window.namingBox()->activated(5);
            window.confirmButton()->click();
        });
    });
    StatusBarWidget* bar = app.window().controls().statusBar;
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(bar->effectiveWidth() - 100, 5));
    app.workspace().waitForPicture();
    ASSERT_TRUE(bar->switchChecked()) << dialogs.lastText().toStdString();

    auto* roster = app.window().findChild<RosterWindow*>(QStringLiteral("RosterWindow"));
    ASSERT_NE(roster, nullptr);
    EXPECT_TRUE(roster->isVisible());
    EXPECT_EQ(roster->windowTitle(),
              QStringLiteral("导入EXCEL，按所选单元格文字命名即将截取的图片"));
    EXPECT_EQ(roster->autoAdvanceBox()->text(), QStringLiteral("截图后自动跳到下一行"));
    EXPECT_EQ(roster->statusText(), QStringLiteral("请先导入EXCEL文件，再点击有文字的单元格。"));
}

} // namespace
} // namespace portiqa
