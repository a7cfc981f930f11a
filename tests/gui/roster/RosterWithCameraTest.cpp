#include "core/roster/RosterSheet.h"
#include "gui/camera/CameraAppFixture.h"
#include "gui/camera/QuickShootSettingsWindow.h"
#include "gui/roster/RosterWindow.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

namespace portiqa {
namespace {

// Quick-shoot settings confirmed with naming by cell while the roster window is open (here
// showing batch crop's texts): the window takes quick-shoot's title, caption and status.
TEST(RosterWithCamera, ConfirmedQuickShootNamingRetargetsTheOpenWindow) {
    test::CameraApp t;
    t.openCamera();
    t.app->links().openRosterWindow();
    auto* w = t.app->window().findChild<RosterWindow*>(QStringLiteral("RosterWindow"));
    ASSERT_NE(w, nullptr);
    t.dialogs.files.push_back(test::fixturePath(QStringLiteral("roster/roster_lo.xlsx")));
    QSignalSpy finished(w, &RosterWindow::readingFinished);
    w->importWorkbook();
    ASSERT_TRUE(finished.wait(10000));
    QTableView* grid = w->grid();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                      grid->visualRect(grid->model()->index(1, 0)).center());
    t.app->roster().retargetToCropping();
    ASSERT_EQ(w->autoAdvanceBox()->text(), QStringLiteral("截图后自动跳到下一行"));

    bool confirmed = false;
    test::whenModal<QuickShootSettingsWindow>([&](QuickShootSettingsWindow* settings) {
        settings->folderEdit()->setText(t.dir.path() + QStringLiteral("/"));
        settings->namingChosen(4);
        confirmed = settings->confirm();
    });
    t.app->camera().openQuickSettings();
    ASSERT_TRUE(confirmed) << t.dialogs.lastText().toStdString();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("导入EXCEL，按所选单元格文字命名即将拍照的图片"));
    EXPECT_EQ(w->autoAdvanceBox()->text(), QStringLiteral("拍照后自动跳到下一行"));
    EXPECT_EQ(w->statusText(),
              QStringLiteral("以“张三”命名即将拍照的图片，如拍照多幅加序号区分。"));
    EXPECT_EQ(t.app->roster().selectedCellText(), QStringLiteral("张三"));
}

} // namespace
} // namespace portiqa
