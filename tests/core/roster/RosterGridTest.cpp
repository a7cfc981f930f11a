#include "core/roster/RosterGrid.h"
#include "core/roster/TextWidthMeter.h"
#include "core/roster/WorkbookReader.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

#include <vector>

namespace portiqa {
namespace {

struct Filled {
    int row, column;
    const char* text;
};

struct ScanCase {
    const char* name;
    std::vector<Filled> cells;
    int lastRow, lastColumn;
};

Workbook sheetWith(const std::vector<Filled>& cells) {
    Workbook book;
    book.addSheet(QStringLiteral("名单"));
    for (const Filled& f : cells)
        book.setCell(0, f.row, f.column, QString::fromUtf8(f.text));
    return book;
}

std::vector<Filled> names(int column, std::initializer_list<int> rows) {
    std::vector<Filled> cells;
    for (int r : rows)
        cells.push_back({r, column, "某人"});
    return cells;
}

template <typename... Lists> std::vector<Filled> join(Lists... lists) {
    std::vector<Filled> all;
    (all.insert(all.end(), lists.begin(), lists.end()), ...);
    return all;
}

class RosterScan : public testing::TestWithParam<ScanCase> {};

TEST_P(RosterScan, FindsTheUsedArea) {
    const Workbook book = sheetWith(GetParam().cells);
    int lastRow = -2;
    int lastColumn = -2;
    RosterGrid::findUsedArea(book, 0, &lastRow, &lastColumn);
    EXPECT_EQ(lastRow, GetParam().lastRow);
    EXPECT_EQ(lastColumn, GetParam().lastColumn);
}

INSTANTIATE_TEST_SUITE_P(
    Roster, RosterScan,
    testing::Values(
        ScanCase{"OnlyFirstCell", {{0, 0, "张三"}}, 0, 0}, ScanCase{"EmptySheet", {}, -1, -1},
        ScanCase{"OneEmptyRowInTheMiddle", names(0, {0, 1, 2, 3, 5, 6, 7}), 7, 0},
        ScanCase{"GapOfFiveRows", names(0, {0, 1, 2, 8}), 8, 0},
        ScanCase{"GapOfSixRowsEndsTheColumn", names(0, {0, 1, 2, 9, 10}), 2, 0},
        ScanCase{"TextFromRowSix", names(0, {6, 7, 8}), -1, -1},
        ScanCase{"TextFromRowFive", names(0, {5, 6}), 6, 0},
        ScanCase{"TableFromColumnSix", join(names(6, {0, 1}), names(7, {0, 1})), -1, -1},
        ScanCase{"TableFromColumnFive", names(5, {0, 1}), 1, 5},
        // The empty-cell count carries over: the next column is read only one row past the
        // last row with text, unless it yields text itself.
        ScanCase{"NextColumnOneRowBelow", join(names(0, {0, 1, 2}), names(1, {3})), 3, 1},
        ScanCase{"NextColumnTwoRowsBelow", join(names(0, {0, 1, 2}), names(1, {4})), 2, 0},
        ScanCase{"NextColumnGoesOnAfterText", join(names(0, {0, 1}), names(1, {1, 2, 3, 4})), 4, 1},
        // The column with text counts as the first of the six that end the scan.
        ScanCase{"FourEmptyColumnsBetween", join(names(0, {0}), names(5, {0})), 0, 5},
        ScanCase{"FiveEmptyColumnsBetween", join(names(0, {0}), names(6, {0})), 0, 0},
        ScanCase{
            "SpacesCountAsEmpty",
            join(names(0, {0, 1}), std::vector<Filled>{{2, 0, "   "}, {3, 0, " "}}, names(0, {8})),
            1, 0},
        ScanCase{"FullWidthSpaceIsText", {{0, 0, "　"}}, 0, 0}),
    [](const testing::TestParamInfo<ScanCase>& param) { return std::string(param.param.name); });

QFont measureFont() {
    QFont font;
    font.setPointSize(11);
    return font;
}

TEST(RosterGrid, SingleCellGridIsAtLeast32Wide) {
    const QFont font = measureFont();
    const QString longName = QStringLiteral("欧阳娜娜与她的同学们一起拍照");
    for (const QString& text : {QStringLiteral("张"), longName}) {
        Workbook book;
        book.addSheet(QStringLiteral("名单"));
        book.setCell(0, 0, 0, text);
        const RosterGrid grid = RosterGrid::fromSheet(book, 0, font);
        EXPECT_EQ(grid.rowCount(), 1);
        EXPECT_EQ(grid.columnCount(), 1);
        EXPECT_EQ(grid.columnWidth(0), std::max(32, QFontMetrics(font).horizontalAdvance(text)));
    }
    EXPECT_GT(QFontMetrics(font).horizontalAdvance(longName), 32);
}

TEST(RosterGrid, ShowsTheRosterFixtureAsStored) {
    for (const char* file : {"roster_lo.xlsx", "roster_sheetjs.xls"}) {
        const WorkbookReadResult r = WorkbookReader::read(
            test::fixturePath(QStringLiteral("roster/") + QLatin1String(file)));
        ASSERT_TRUE(r.ok) << file;
        const RosterGrid grid = RosterGrid::fromSheet(r.workbook, 0, measureFont());
        EXPECT_EQ(grid.rowCount(), 7) << file;
        EXPECT_GE(grid.columnCount(), 4) << file;
        EXPECT_EQ(grid.text(2, 2), QStringLiteral("   ")) << file; // shown raw
        EXPECT_EQ(grid.text(5, 0), QStringLiteral("赵\t六")) << file;
        EXPECT_EQ(grid.text(4, 0), QString()) << file;
        EXPECT_EQ(grid.text(1, 1), QStringLiteral("2023010101")) << file;
        for (int c = 0; c < grid.columnCount(); ++c)
            EXPECT_GE(grid.columnWidth(c), RosterGrid::kMinColumnWidth);

        const RosterGrid second = RosterGrid::fromSheet(r.workbook, 1, measureFont());
        EXPECT_EQ(second.rowCount(), 3) << file;
        EXPECT_EQ(second.text(0, 2), QStringLiteral("备注")) << file;
        EXPECT_EQ(second.columnWidth(0), RosterGrid::kMinColumnWidth) << file;

        EXPECT_TRUE(RosterGrid::fromSheet(r.workbook, 2, measureFont()).isEmpty()) << file;
    }
}

TEST(RosterGrid, ReadsTheWholeBigRoster) {
    const WorkbookReadResult r =
        WorkbookReader::read(test::fixturePath(QStringLiteral("roster/roster10k_lo.xlsx")));
    ASSERT_TRUE(r.ok);
    const RosterGrid grid = RosterGrid::fromSheet(r.workbook, 0, measureFont());
    EXPECT_EQ(grid.rowCount(), 10001);
    EXPECT_EQ(grid.columnCount(), 2);
    EXPECT_EQ(grid.text(10000, 1), QStringLiteral("2023010000"));
}

} // namespace
} // namespace portiqa

namespace portiqa {
namespace {

// The cheap path must give exactly what QFontMetrics gives, on the texts of a real roster and
// on texts that are kerned, shaped or hold a TAB.
TEST(TextWidthMeter, MatchesQFontMetrics) {
    const QFont font = measureFont();
    const WorkbookReadResult r =
        WorkbookReader::read(test::fixturePath(QStringLiteral("roster/roster10k_sheetjs.xls")));
    ASSERT_TRUE(r.ok);
    QStringList texts = {QStringLiteral("AVA Wave"),     QStringLiteral("ffi"),
                         QStringLiteral("مرحبا"),        QStringLiteral("赵\t六"),
                         QStringLiteral("欧阳娜娜2023"), QStringLiteral("")};
    for (int row = 0; row <= 10000; row += 7)
        texts << r.workbook.cellText(0, row, 0) << r.workbook.cellText(0, row, 1);
    TextWidthMeter meter(font);
    const QFontMetrics metrics(font);
    for (const QString& t : texts)
        EXPECT_EQ(meter.width(t), metrics.horizontalAdvance(t)) << t.toStdString();
    EXPECT_TRUE(TextWidthMeter::sumsCharacterAdvances(QStringLiteral("欧阳娜娜2023")));
    EXPECT_FALSE(TextWidthMeter::sumsCharacterAdvances(QStringLiteral("AVA")));
}

} // namespace
} // namespace portiqa
