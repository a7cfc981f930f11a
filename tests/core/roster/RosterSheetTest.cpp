#include "core/roster/RosterSheet.h"

#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QStandardPaths>

namespace portiqa {
namespace {

QString fixture(const char* name) {
    return test::fixturePath(QStringLiteral("roster/") + QLatin1String(name));
}

class RosterSheetTest : public testing::Test {
protected:
    test::ScriptedDialogs dialogs;
    RosterSheet roster{dialogs};

    void openAndImport(RosterMode mode, const char* file = "roster_lo.xlsx") {
        roster.windowOpened();
        ASSERT_TRUE(roster.importWorkbook(fixture(file), mode)) << dialogs.lastText().toStdString();
    }
};

TEST_F(RosterSheetTest, OpenedWindowAsksForAnImport) {
    roster.windowOpened();
    EXPECT_TRUE(roster.isWindowOpen());
    EXPECT_FALSE(roster.isLoaded());
    EXPECT_EQ(roster.statusText(), QStringLiteral("请先导入EXCEL文件，再点击有文字的单元格。"));
}

TEST_F(RosterSheetTest, ChoosingTheFileAsksWithTheRosterTitle) {
    dialogs.files = {fixture("roster_lo.xls")};
    EXPECT_EQ(roster.chooseWorkbookFile(), fixture("roster_lo.xls"));
    EXPECT_EQ(roster.chooseWorkbookFile(), QString()); // cancelled
    EXPECT_EQ(dialogs.openTitles, QStringList(2, QStringLiteral("导入Excel名单")));
    EXPECT_EQ(dialogs.openFilters.first(),
              QStringLiteral("Excel文件(*.xls、*.xlsx) (*.xls *.xlsx)"));
    // The desktop folder, or home where there is none.
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    EXPECT_EQ(dialogs.openFolders.first(), QFileInfo(desktop).isDir() ? desktop : QDir::homePath());
}

TEST_F(RosterSheetTest, ImportShowsSheetsFirstGridAndModeHint) {
    const struct {
        RosterMode mode;
        const char* hint;
    } cases[] = {
        {RosterMode::BatchCrop, "请点击有文字的单元格，以其文字命名即将截取的图片。"},
        {RosterMode::QuickShoot, "请点击有文字的单元格，以其文字命名即将拍照的图片。"},
        // Without a mode the status from before the import comes back.
        {RosterMode::None, "请先导入EXCEL文件，再点击有文字的单元格。"},
    };
    for (const auto& c : cases) {
        openAndImport(c.mode);
        EXPECT_TRUE(roster.isLoaded());
        EXPECT_EQ(roster.workbookName(), QStringLiteral("roster_lo.xlsx"));
        EXPECT_EQ(roster.sheetNames(), QStringList({QStringLiteral("名单"), QStringLiteral("补充"),
                                                    QStringLiteral("第七行起")}));
        EXPECT_EQ(roster.sheetIndex(), 0);
        EXPECT_EQ(roster.grid().rowCount(), 7);
        EXPECT_EQ(roster.statusText(), QString::fromUtf8(c.hint));
    }
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(RosterSheetTest, CellClickNamesByCleanedText) {
    openAndImport(RosterMode::BatchCrop);
    const struct {
        int row, column;
        const char* selected;
        const char* status;
    } cases[] = {
        {1, 0, "张三", "以“张三”命名即将截取的图片，如截图多幅加序号区分。"},
        {1, 1, "2023010101", "以“2023010101”命名即将截取的图片，如截图多幅加序号区分。"},
        {5, 0, "赵六", "以“赵六”命名即将截取的图片，如截图多幅加序号区分。"},
        {2, 2, "", "选中单元格内容为空，请点击有文字的单元格。"},
        {4, 0, "", "选中单元格内容为空，请点击有文字的单元格。"},
    };
    for (const auto& c : cases) {
        roster.clickCell(c.row, c.column, RosterMode::BatchCrop);
        EXPECT_EQ(roster.selectedCellText(), QString::fromUtf8(c.selected));
        EXPECT_EQ(roster.statusText(), QString::fromUtf8(c.status));
        EXPECT_EQ(roster.cursorRow(), c.row);
    }
    roster.clickCell(6, 0, RosterMode::QuickShoot);
    EXPECT_EQ(roster.statusText(),
              QStringLiteral("以“欧阳娜娜”命名即将拍照的图片，如拍照多幅加序号区分。"));
    // Outside the cells nothing changes.
    roster.clickCell(7, 0, RosterMode::BatchCrop);
    roster.clickCell(0, 9, RosterMode::BatchCrop);
    EXPECT_EQ(roster.selectedCellText(), QStringLiteral("欧阳娜娜"));
    EXPECT_EQ(roster.cursorRow(), 6);
}

TEST(RosterSheet, CleanedCellTextDropsTabsAndOuterBlanks) {
    const struct {
        const char* raw;
        const char* cleaned;
    } cases[] = {
        {"\t 张三　", "张三"}, {"   ", ""},        {"　\t　", ""},
        {"李 四", "李 四"},    {"王\t五", "王五"}, {"\n赵六", "\n赵六"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RosterSheet::cleanedCellText(QString::fromUtf8(c.raw)),
                  QString::fromUtf8(c.cleaned))
            << c.raw;
}

TEST_F(RosterSheetTest, AdvanceMovesDownUntilTheLastRow) {
    openAndImport(RosterMode::QuickShoot);
    roster.clickCell(3, 0, RosterMode::QuickShoot);
    QSignalSpy moved(&roster, &RosterSheet::cursorMoved);

    EXPECT_TRUE(roster.advanceRosterRow(true, RosterMode::QuickShoot)); // onto the empty row
    EXPECT_EQ(roster.selectedCellText(), QString());
    EXPECT_EQ(roster.statusText(), QStringLiteral("选中单元格内容为空，请点击有文字的单元格。"));

    // Nothing to advance from without a name.
    EXPECT_FALSE(roster.advanceRosterRow(true, RosterMode::QuickShoot));
    roster.clickCell(5, 0, RosterMode::QuickShoot);
    EXPECT_TRUE(roster.advanceRosterRow(true, RosterMode::QuickShoot));
    EXPECT_EQ(roster.selectedCellText(), QStringLiteral("欧阳娜娜"));
    EXPECT_EQ(roster.statusText(),
              QStringLiteral("以“欧阳娜娜”命名即将拍照的图片，如拍多幅加序号区分。"));
    EXPECT_EQ(moved.count(), 3);
    EXPECT_TRUE(dialogs.messages.isEmpty());

    for (int save = 0; save < 2; ++save) {
        EXPECT_FALSE(roster.advanceRosterRow(true, RosterMode::QuickShoot));
        EXPECT_EQ(roster.cursorRow(), 6);
        EXPECT_EQ(roster.selectedCellText(), QStringLiteral("欧阳娜娜"));
    }
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("提示："));
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("EXCEL光标已处于最后一行"));

    roster.clickCell(1, 0, RosterMode::BatchCrop);
    EXPECT_TRUE(roster.advanceRosterRow(true, RosterMode::BatchCrop));
    EXPECT_EQ(roster.statusText(),
              QStringLiteral("以“李四”命名即将截取的图片，如截多幅加序号区分。"));
}

TEST_F(RosterSheetTest, AdvanceNeedsEveryCondition) {
    openAndImport(RosterMode::BatchCrop);
    roster.clickCell(1, 0, RosterMode::BatchCrop);
    EXPECT_FALSE(roster.advanceRosterRow(false, RosterMode::BatchCrop));
    roster.setAutoAdvance(false);
    EXPECT_FALSE(roster.advanceRosterRow(true, RosterMode::BatchCrop));
    roster.setAutoAdvance(true);
    roster.windowClosed();
    EXPECT_FALSE(roster.advanceRosterRow(true, RosterMode::BatchCrop));
    EXPECT_EQ(roster.cursorRow(), -1);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(RosterSheetTest, CheckRosterNamingStepByStep) {
    dialogs.answers = {MessageAnswer::Yes, MessageAnswer::No};
    EXPECT_EQ(roster.checkRosterNaming(RosterMode::BatchCrop), RosterNamingCheck::OpenRosterWindow);
    EXPECT_EQ(roster.checkRosterNaming(RosterMode::QuickShoot),
              RosterNamingCheck::OpenModeSettings);
    ASSERT_EQ(dialogs.messages.size(), 2);
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("询问"));
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("当前批量命名方式需导入EXCEL文件，是否沿用此命名方式？"));
    EXPECT_EQ(dialogs.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::None);

    roster.windowOpened();
    QSignalSpy focus(&roster, &RosterSheet::focusRequested);
    EXPECT_EQ(roster.checkRosterNaming(RosterMode::BatchCrop), RosterNamingCheck::Refused);
    EXPECT_EQ(dialogs.messages.last().caption, QStringLiteral("提示"));
    EXPECT_EQ(dialogs.lastText(), QStringLiteral("请先导入EXCEL文件。"));
    EXPECT_EQ(focus.count(), 1);

    ASSERT_TRUE(roster.importWorkbook(fixture("roster_sheetjs.xls"), RosterMode::BatchCrop));
    EXPECT_EQ(roster.checkRosterNaming(RosterMode::BatchCrop), RosterNamingCheck::Refused);
    EXPECT_EQ(dialogs.lastText(), QStringLiteral("请先点击有文字的单元格作为图片命名，再截图。"));
    EXPECT_EQ(roster.checkRosterNaming(RosterMode::QuickShoot), RosterNamingCheck::Refused);
    EXPECT_EQ(dialogs.lastText(),
              QStringLiteral("请点击有文字的单元格以其文字命名即将拍照的图片。"));

    roster.clickCell(1, 0, RosterMode::BatchCrop);
    const qsizetype shown = dialogs.messages.size();
    EXPECT_EQ(roster.checkRosterNaming(RosterMode::BatchCrop), RosterNamingCheck::Proceed);
    EXPECT_EQ(dialogs.messages.size(), shown);
    EXPECT_EQ(roster.selectedCellText(), QStringLiteral("张三"));
}

TEST_F(RosterSheetTest, UnreadableWorkbookLeavesTheRosterAsItWas) {
    openAndImport(RosterMode::BatchCrop);
    roster.chooseSheet(1, RosterMode::BatchCrop);
    roster.clickCell(1, 2, RosterMode::BatchCrop);
    const QString status = roster.statusText();
    for (const char* file : {"garbage.xls", "truncated.xlsx", "bomb.xlsx", "password.xls"}) {
        EXPECT_FALSE(roster.importWorkbook(fixture(file), RosterMode::QuickShoot)) << file;
        ASSERT_FALSE(dialogs.messages.isEmpty());
        EXPECT_EQ(dialogs.messages.last().caption, QStringLiteral("提示"));
        EXPECT_TRUE(dialogs.lastText().startsWith(QStringLiteral("读取EXCEL文件失败："))) << file;
        EXPECT_TRUE(roster.isLoaded());
        EXPECT_EQ(roster.workbookName(), QStringLiteral("roster_lo.xlsx"));
        EXPECT_EQ(roster.sheetIndex(), 1);
        EXPECT_EQ(roster.grid().text(0, 2), QStringLiteral("备注"));
        EXPECT_EQ(roster.selectedCellText(), QStringLiteral("转学"));
        EXPECT_EQ(roster.cursorRow(), 1);
        EXPECT_EQ(roster.statusText(), status);
    }
    EXPECT_EQ(dialogs.messages.size(), 4);
}

TEST_F(RosterSheetTest, ImportKeepsTheChosenNameAndShowsAnEmptyWorkbook) {
    openAndImport(RosterMode::BatchCrop);
    roster.clickCell(1, 0, RosterMode::BatchCrop);
    ASSERT_TRUE(roster.importWorkbook(fixture("nosheets.xlsx"), RosterMode::BatchCrop));
    EXPECT_TRUE(roster.isLoaded());
    EXPECT_EQ(roster.workbookName(), QStringLiteral("nosheets.xlsx"));
    EXPECT_TRUE(roster.sheetNames().isEmpty());
    EXPECT_TRUE(roster.grid().isEmpty());
    EXPECT_EQ(roster.sheetIndex(), -1);
    EXPECT_EQ(roster.selectedCellText(), QStringLiteral("张三"));
    EXPECT_EQ(roster.statusText(),
              QStringLiteral("请点击有文字的单元格，以其文字命名即将截取的图片。"));
    roster.chooseSheet(0, RosterMode::BatchCrop); // nothing to choose
    EXPECT_TRUE(roster.grid().isEmpty());
}

TEST_F(RosterSheetTest, ChoosingSheetsAndTheRootItem) {
    openAndImport(RosterMode::QuickShoot);
    QSignalSpy changed(&roster, &RosterSheet::gridChanged);
    roster.chooseSheet(2, RosterMode::QuickShoot);
    EXPECT_EQ(roster.sheetIndex(), 2);
    EXPECT_EQ(roster.grid().text(7, 0), QStringLiteral("孙七")); // text from row index 6 on
    roster.chooseSheet(-1, RosterMode::QuickShoot);              // the workbook's root item
    roster.chooseSheet(3, RosterMode::QuickShoot);
    EXPECT_EQ(roster.sheetIndex(), 2);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(roster.statusText(),
              QStringLiteral("请点击有文字的单元格，以其文字命名即将拍照的图片。"));
}

TEST_F(RosterSheetTest, AsyncSheetChoiceAndStaleFills) {
    openAndImport(RosterMode::BatchCrop);
    EXPECT_FALSE(roster.startChooseSheet(3).has_value());
    std::optional<QFuture<RosterSheetFill>> second = roster.startChooseSheet(1);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(roster.statusText(), QStringLiteral("数据正读入……"));
    second->waitForFinished();
    ASSERT_TRUE(roster.finishChooseSheet(second->result(), RosterMode::BatchCrop));
    EXPECT_EQ(roster.sheetIndex(), 1);
    EXPECT_EQ(roster.grid().text(0, 2), QStringLiteral("备注"));
    EXPECT_EQ(roster.statusText(),
              QStringLiteral("请点击有文字的单元格，以其文字命名即将截取的图片。"));

    // A fill that a direct choice overtook is dropped.
    std::optional<QFuture<RosterSheetFill>> stale = roster.startChooseSheet(2);
    ASSERT_TRUE(stale.has_value());
    roster.chooseSheet(0, RosterMode::BatchCrop);
    stale->waitForFinished();
    EXPECT_FALSE(roster.finishChooseSheet(stale->result(), RosterMode::BatchCrop));
    EXPECT_EQ(roster.sheetIndex(), 0);
    EXPECT_EQ(roster.grid().rowCount(), 7);
}

TEST_F(RosterSheetTest, AsyncImportMatchesTheDirectOne) {
    roster.windowOpened();
    QFuture<RosterImport> future = roster.startImport(fixture("roster10k_sheetjs.xlsx"));
    EXPECT_EQ(roster.statusText(), QStringLiteral("数据正读入……"));
    future.waitForFinished();
    ASSERT_TRUE(roster.finishImport(future.result(), RosterMode::BatchCrop));
    EXPECT_EQ(roster.grid().rowCount(), 10001);
    EXPECT_EQ(roster.grid().text(10000, 1), QStringLiteral("2023010000"));

    RosterSheet direct(dialogs);
    ASSERT_TRUE(direct.importWorkbook(fixture("roster10k_sheetjs.xlsx"), RosterMode::BatchCrop));
    EXPECT_EQ(direct.grid().columnWidths(), roster.grid().columnWidths());
}

TEST_F(RosterSheetTest, StaleImportsAreDropped) {
    roster.windowOpened();
    QFuture<RosterImport> first = roster.startImport(fixture("roster_lo.xls"));
    QFuture<RosterImport> second = roster.startImport(fixture("roster_sheetjs.xlsx"));
    first.waitForFinished();
    second.waitForFinished();
    EXPECT_FALSE(roster.finishImport(first.result(), RosterMode::BatchCrop));
    EXPECT_FALSE(roster.isLoaded());
    EXPECT_TRUE(roster.finishImport(second.result(), RosterMode::BatchCrop));
    EXPECT_EQ(roster.workbookName(), QStringLiteral("roster_sheetjs.xlsx"));

    QFuture<RosterImport> late = roster.startImport(fixture("garbage.xls"));
    roster.windowClosed();
    late.waitForFinished();
    EXPECT_FALSE(roster.finishImport(late.result(), RosterMode::BatchCrop));
    EXPECT_FALSE(roster.isLoaded());
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(RosterSheetTest, ClosingReleasesAndRetargetingShowsCropTexts) {
    openAndImport(RosterMode::QuickShoot);
    roster.retargetToCropping();
    EXPECT_EQ(roster.statusText(),
              QStringLiteral("请点击有文字的单元格，以其文字命名即将截取的图片。"));
    roster.clickCell(1, 0, RosterMode::QuickShoot);
    roster.retargetToCropping();
    EXPECT_EQ(roster.statusText(),
              QStringLiteral("以“张三”命名即将截取的图片，如截图多幅加序号区分。"));

    roster.windowClosed();
    EXPECT_FALSE(roster.isWindowOpen());
    EXPECT_FALSE(roster.isLoaded());
    EXPECT_TRUE(roster.selectedCellText().isEmpty());
    EXPECT_TRUE(roster.grid().isEmpty());
}

TEST(RosterTexts, TitleAndCaptionByMode) {
    EXPECT_EQ(rosterModeFor(true, true), RosterMode::BatchCrop);
    EXPECT_EQ(rosterModeFor(false, true), RosterMode::QuickShoot);
    EXPECT_EQ(rosterModeFor(false, false), RosterMode::None);
    EXPECT_EQ(rostertexts::windowTitle(RosterMode::BatchCrop),
              QStringLiteral("导入EXCEL，按所选单元格文字命名即将截取的图片"));
    EXPECT_EQ(rostertexts::windowTitle(RosterMode::None),
              QStringLiteral("导入EXCEL，按所选单元格文字命名即将拍照的图片"));
    EXPECT_EQ(rostertexts::autoAdvanceCaption(RosterMode::BatchCrop),
              QStringLiteral("截图后自动跳到下一行"));
    EXPECT_EQ(rostertexts::autoAdvanceCaption(RosterMode::QuickShoot),
              QStringLiteral("拍照后自动跳到下一行"));
}

} // namespace
} // namespace portiqa
