#include "gui/roster/RosterWindow.h"

#include "core/roster/RosterSheet.h"
#include "gui/app/MainWindow.h"
#include "gui/app/PortiqaApp.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <functional>

namespace portiqa {
namespace {

QString fixture(const char* name) {
    return test::fixturePath(QStringLiteral("roster/") + QLatin1String(name));
}

// The program with scripted dialogs; the roster window is reached as the other features reach
// it, through the links, and found by its object name.
class RosterWindowTest : public testing::Test {
public:
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    std::unique_ptr<PortiqaApp> app;
    bool batchCrop = false;
    bool quickShoot = false;

    void SetUp() override {
        dialogs.answers.clear();
        LaunchOptions options;
        options.settingsDir = dir.filePath(QStringLiteral("settings"));
        app = std::make_unique<PortiqaApp>(options, &dialogs);
        app->links().batchCropMode = [this] { return batchCrop; };
        app->links().quickShootMode = [this] { return quickShoot; };
        app->start();
    }

    RosterWindow& window() {
        return *app->window().findChild<RosterWindow*>(QStringLiteral("RosterWindow"));
    }
    RosterSheet& roster() { return app->roster(); }

    // Imports through the window's button and waits for the worker's result.
    void importThroughWindow(const QString& path) {
        dialogs.files.push_back(path);
        QSignalSpy finished(&window(), &RosterWindow::readingFinished);
        QTest::mouseClick(window().importButton(), Qt::LeftButton);
        ASSERT_TRUE(finished.count() > 0 || finished.wait(10000));
    }

    // What a save named by cell does before writing: its Yes opens the roster window.
    void saveNamedByCell() {
        if (roster().checkRosterNaming(RosterMode::BatchCrop) ==
            RosterNamingCheck::OpenRosterWindow)
            app->links().openRosterWindow();
    }

    void clickAt(QPoint point) {
        QTest::mouseClick(window().grid()->viewport(), Qt::LeftButton, Qt::NoModifier, point);
    }
    void clickCell(int row, int column) {
        QTableView* grid = window().grid();
        const QModelIndex index = grid->model()->index(row, column);
        grid->scrollTo(index);
        clickAt(grid->visualRect(index).center());
    }
};

TEST_F(RosterWindowTest, OpensWithItsControlsAtTheLeftEdge) {
    app->links().openRosterWindow();
    RosterWindow& w = window();
    ASSERT_TRUE(app->links().rosterWindowOpen());
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.isModal());
    EXPECT_EQ(w.size(), QSize(414, 466));
    EXPECT_EQ(w.frameGeometry().left(), w.screen()->availableGeometry().left());
    const struct {
        const char16_t* name;
        QRect geometry;
    } controls[] = {
        {u"导入EXCEL按钮", {8, 4, 128, 28}},      {u"字宽画板", {168, 9, 24, 16}},
        {u"自动下一行选择框", {274, 8, 140, 24}}, {u"树型框1", {8, 36, 128, 412}},
        {u"导入高表", {144, 36, 270, 412}},
    };
    for (const auto& c : controls) {
        const QWidget* control = w.findChild<QWidget*>(QString::fromUtf16(c.name));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->geometry(), c.geometry) << QString::fromUtf16(c.name).toStdString();
    }
    EXPECT_EQ(w.findChild<QStatusBar*>(QStringLiteral("命名状态条"))->geometry(),
              QRect(0, 446, 414, 20));
    EXPECT_EQ(w.importButton()->text(), QStringLiteral("导入EXCEL文件"));
    EXPECT_TRUE(w.autoAdvanceBox()->isChecked());
    EXPECT_EQ(w.statusText(), QStringLiteral("请先导入EXCEL文件，再点击有文字的单元格。"));

    // Resized, the tree and grid take the change and the box keeps to the right edge.
    w.resize(500, 600);
    EXPECT_EQ(w.tree()->geometry(), QRect(8, 36, 128, 546));
    EXPECT_EQ(w.grid()->geometry(), QRect(144, 36, 356, 546));
    EXPECT_EQ(w.autoAdvanceBox()->pos(), QPoint(360, 8));
}

TEST_F(RosterWindowTest, TitleAndCaptionFollowTheModeInForce) {
    const struct {
        bool batch, quick;
        const char* title;
        const char* caption;
    } cases[] = {
        {true, false, "导入EXCEL，按所选单元格文字命名即将截取的图片", "截图后自动跳到下一行"},
        {true, true, "导入EXCEL，按所选单元格文字命名即将截取的图片", "截图后自动跳到下一行"},
        {false, true, "导入EXCEL，按所选单元格文字命名即将拍照的图片", "拍照后自动跳到下一行"},
        {false, false, "导入EXCEL，按所选单元格文字命名即将拍照的图片", "拍照后自动跳到下一行"},
    };
    for (const auto& c : cases) {
        batchCrop = c.batch;
        quickShoot = c.quick;
        app->links().openRosterWindow();
        EXPECT_EQ(window().windowTitle(), QString::fromUtf8(c.title));
        EXPECT_EQ(window().autoAdvanceBox()->text(), QString::fromUtf8(c.caption));
        app->links().closeRosterWindow();
    }
}

// Every way the window opens and closes; closing forgets the workbook and the chosen cell.
TEST_F(RosterWindowTest, OpenersAndClosers) {
    const struct {
        const char* what;
        std::function<void(RosterWindowTest&)> open;
    } openers[] = {
        // Batch crop start and resumption, quick-shoot switched on or confirmed.
        {"link", [](RosterWindowTest& t) { t.app->links().openRosterWindow(); }},
        // The Yes of the naming check of a save.
        {"naming check Yes",
         [](RosterWindowTest& t) {
             t.dialogs.answers.push_back(MessageAnswer::Yes);
             t.saveNamedByCell();
         }},
    };
    const struct {
        const char* what;
        std::function<void(RosterWindowTest&)> close;
    } closers[] = {
        // A naming-mode change away from naming by cell, the camera window closing.
        {"link", [](RosterWindowTest& t) { t.app->links().closeRosterWindow(); }},
        {"operator", [](RosterWindowTest& t) { t.window().close(); }},
        {"main window", [](RosterWindowTest& t) { t.app->window().close(); }},
    };
    for (const auto& opener : openers) {
        for (const auto& closer : closers) {
            SCOPED_TRACE(std::string(opener.what) + " / " + closer.what);
            app.reset(); // a fresh program: the main window closes once in its life
            SetUp();
            opener.open(*this);
            ASSERT_TRUE(app->links().rosterWindowOpen());
            EXPECT_TRUE(window().isVisible());
            importThroughWindow(fixture("roster_lo.xlsx"));
            clickCell(1, 0);
            ASSERT_EQ(roster().selectedCellText(), QStringLiteral("张三"));
            opener.open(*this); // opening an open window only raises it
            EXPECT_EQ(roster().selectedCellText(), QStringLiteral("张三"));

            closer.close(*this);
            EXPECT_FALSE(app->links().rosterWindowOpen());
            EXPECT_FALSE(window().isVisible());
            EXPECT_FALSE(roster().isLoaded());
            EXPECT_TRUE(roster().selectedCellText().isEmpty());
            EXPECT_EQ(window().grid()->model()->rowCount(), 0);
            EXPECT_EQ(window().tree()->topLevelItemCount(), 0);
        }
    }
}

TEST_F(RosterWindowTest, ImportFillsTreeAndGridAndSheetsAreChosenInTheTree) {
    batchCrop = true;
    app->links().openRosterWindow();
    RosterWindow& w = window();
    // The workbook is read on a worker: meanwhile the window says so under a wait cursor.
    dialogs.files.push_back(fixture("roster_gnumeric.xlsx"));
    QSignalSpy finished(&w, &RosterWindow::readingFinished);
    QTest::mouseClick(w.importButton(), Qt::LeftButton);
    EXPECT_TRUE(w.isReading());
    EXPECT_EQ(w.statusText(), QStringLiteral("数据正读入……"));
    EXPECT_EQ(w.cursor().shape(), Qt::WaitCursor);
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(dialogs.openTitles, QStringList{QStringLiteral("导入Excel名单")});
    QTreeWidgetItem* root = w.tree()->topLevelItem(0);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->text(0), QStringLiteral("roster_gnumeric.xlsx"));
    EXPECT_TRUE(root->isExpanded());
    ASSERT_EQ(root->childCount(), 3);
    EXPECT_EQ(root->child(2)->text(0), QStringLiteral("第七行起"));
    EXPECT_EQ(w.tree()->currentItem(), root->child(0));
    EXPECT_EQ(w.grid()->model()->rowCount(), 7);
    EXPECT_EQ(w.grid()->model()->index(1, 0).data().toString(), QStringLiteral("张三"));
    // A TAB inside a name would push its text out of the column: it is shown as a space.
    EXPECT_EQ(w.grid()->model()->index(5, 0).data().toString(), QStringLiteral("赵 六"));
    EXPECT_EQ(w.grid()->columnWidth(0), roster().grid().columnWidth(0));
    EXPECT_EQ(w.statusText(), QStringLiteral("请点击有文字的单元格，以其文字命名即将截取的图片。"));
    EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor);

    // The root does nothing; a sheet shows its cells, here from row index 6 on.
    w.tree()->setCurrentItem(root);
    EXPECT_FALSE(w.isReading());
    w.tree()->setCurrentItem(root->child(2));
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(roster().sheetIndex(), 2);
    EXPECT_EQ(w.grid()->model()->index(7, 0).data().toString(), QStringLiteral("孙七"));
}

TEST_F(RosterWindowTest, ClicksOnCellsOutsideThemAndOnEmptyCells) {
    quickShoot = true;
    app->links().openRosterWindow();
    importThroughWindow(fixture("roster_lo.xls"));
    RosterWindow& w = window();
    const QString clicked = QStringLiteral("以“赵六”命名即将拍照的图片，如拍照多幅加序号区分。");
    clickCell(5, 0); // "赵\t六": the TAB goes
    EXPECT_EQ(roster().selectedCellText(), QStringLiteral("赵六"));
    EXPECT_EQ(w.statusText(), clicked);

    // Below the last row: nothing happens.
    QTableView* grid = w.grid();
    const QRect last = grid->visualRect(grid->model()->index(6, 0));
    clickAt(QPoint(last.center().x(), last.bottom() + 10));
    EXPECT_EQ(roster().selectedCellText(), QStringLiteral("赵六"));
    EXPECT_EQ(w.statusText(), clicked);

    clickCell(4, 0); // the empty row
    EXPECT_TRUE(roster().selectedCellText().isEmpty());
    EXPECT_EQ(w.statusText(), QStringLiteral("选中单元格内容为空，请点击有文字的单元格。"));
    clickCell(2, 2); // three spaces
    EXPECT_TRUE(roster().selectedCellText().isEmpty());
}

TEST_F(RosterWindowTest, AdvanceFollowsTheGridAndStopsOnTheLastRow) {
    batchCrop = true;
    app->links().openRosterWindow();
    importThroughWindow(fixture("roster_sheetjs.xlsx"));
    clickCell(5, 0);
    roster().advanceRosterRow(true, RosterMode::BatchCrop);
    QTableView* grid = window().grid();
    EXPECT_EQ(grid->currentIndex().row(), 6);
    EXPECT_EQ(roster().selectedCellText(), QStringLiteral("欧阳娜娜"));
    EXPECT_EQ(window().statusText(),
              QStringLiteral("以“欧阳娜娜”命名即将截取的图片，如截多幅加序号区分。"));
    EXPECT_TRUE(dialogs.messages.isEmpty());

    roster().advanceRosterRow(true, RosterMode::BatchCrop);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("提示："));
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("EXCEL光标已处于最后一行"));
    EXPECT_EQ(grid->currentIndex().row(), 6);
    EXPECT_EQ(roster().selectedCellText(), QStringLiteral("欧阳娜娜"));

    // Unticked, the row stays without a word.
    QTest::mouseClick(window().autoAdvanceBox(), Qt::LeftButton);
    clickCell(1, 0);
    roster().advanceRosterRow(true, RosterMode::BatchCrop);
    EXPECT_EQ(grid->currentIndex().row(), 1);
    EXPECT_EQ(dialogs.messages.size(), 1);
}

TEST_F(RosterWindowTest, FailedImportKeepsTheRosterShown) {
    app->links().openRosterWindow();
    importThroughWindow(fixture("roster_lo.xlsx"));
    clickCell(1, 0);
    RosterWindow& w = window();
    const QString status = w.statusText();
    importThroughWindow(fixture("truncated.xlsx"));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.lastText().startsWith(QStringLiteral("读取EXCEL文件失败：")));
    EXPECT_EQ(w.tree()->topLevelItem(0)->text(0), QStringLiteral("roster_lo.xlsx"));
    EXPECT_EQ(w.grid()->model()->rowCount(), 7);
    EXPECT_EQ(w.grid()->currentIndex().row(), 1);
    EXPECT_EQ(roster().selectedCellText(), QStringLiteral("张三"));
    EXPECT_EQ(w.statusText(), status);
    EXPECT_FALSE(w.isReading());

    // A cancelled dialog changes nothing either.
    QTest::mouseClick(w.importButton(), Qt::LeftButton);
    EXPECT_FALSE(w.isReading());
    EXPECT_EQ(w.grid()->model()->rowCount(), 7);
}

// The checks of a save named by cell against the window's state; the refusal for a missing
// import brings the window forward.
TEST_F(RosterWindowTest, NamingChecksFollowTheWindow) {
    dialogs.answers.push_back(MessageAnswer::No);
    EXPECT_EQ(roster().checkRosterNaming(RosterMode::QuickShoot),
              RosterNamingCheck::OpenModeSettings);
    EXPECT_FALSE(app->links().rosterWindowOpen());

    app->links().openRosterWindow();
    app->window().activateWindow();
    EXPECT_EQ(roster().checkRosterNaming(RosterMode::BatchCrop), RosterNamingCheck::Refused);
    EXPECT_EQ(dialogs.lastText(), QStringLiteral("请先导入EXCEL文件。"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &window(); }));
    importThroughWindow(fixture("roster_lo.xlsx"));
    EXPECT_EQ(roster().checkRosterNaming(RosterMode::BatchCrop), RosterNamingCheck::Refused);
    EXPECT_EQ(dialogs.lastText(), QStringLiteral("请先点击有文字的单元格作为图片命名，再截图。"));
    clickCell(1, 0);
    EXPECT_EQ(roster().checkRosterNaming(RosterMode::BatchCrop), RosterNamingCheck::Proceed);
}

TEST_F(RosterWindowTest, RetargetingTakesTheTextsOfTheConfirmedMode) {
    app->links().openRosterWindow();
    importThroughWindow(fixture("roster_lo.xlsx"));
    roster().retargetToCropping(); // the roster itself, as the batch crop run may call it
    EXPECT_EQ(window().windowTitle(),
              QStringLiteral("导入EXCEL，按所选单元格文字命名即将截取的图片"));
    EXPECT_EQ(window().autoAdvanceBox()->text(), QStringLiteral("截图后自动跳到下一行"));
    EXPECT_EQ(window().statusText(),
              QStringLiteral("请点击有文字的单元格，以其文字命名即将截取的图片。"));
    clickCell(1, 0);
    app->links().retargetRosterToShooting();
    EXPECT_EQ(window().autoAdvanceBox()->text(), QStringLiteral("拍照后自动跳到下一行"));
    EXPECT_EQ(window().statusText(),
              QStringLiteral("以“张三”命名即将拍照的图片，如拍照多幅加序号区分。"));
}

} // namespace
} // namespace portiqa
