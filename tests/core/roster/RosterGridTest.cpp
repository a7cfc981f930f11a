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

// The area reaches the last row and the last column with text, wherever the text starts and
// however long the gaps are: class lists below a title block, tables far to the right.
INSTANTIATE_TEST_SUITE_P(
    Roster, RosterScan,
    testing::Values(
        ScanCase{"OnlyFirstCell", {{0, 0, "张三"}}, 0, 0}, ScanCase{"EmptySheet", {}, -1, -1},
        ScanCase{"OneEmptyRowInTheMiddle", names(0, {0, 1, 2, 3, 5, 6, 7}), 7, 0},
        ScanCase{"NamesFromRowSeven", names(0, {6, 7, 8}), 8, 0},
        ScanCase{"GapOfSevenRowsKeepsTheNamesBelow", names(0, {0, 1, 2, 10, 11}), 11, 0},
        ScanCase{"TableFromColumnH", join(names(7, {0, 1}), names(8, {0, 1})), 1, 8},
        ScanCase{"FirstColumnEmpty", names(1, {0, 1, 2}), 2, 1},
        ScanCase{"SecondColumnLongerThanTheFirst", join(names(0, {0, 1}), names(1, {40})), 40, 1},
        ScanCase{"FarApartColumns", join(names(0, {0}), names(20, {0})), 0, 20},
        ScanCase{"LastCellOfTheSheet", {{1048575, 16383, "末"}}, 1048575, 16383},
        // Cells of spaces never extend the area, inside or beyond it.
        ScanCase{
            "SpacesCountAsEmpty",
            join(names(0, {0, 1}), std::vector<Filled>{{2, 0, "   "}, {9, 0, " "}, {0, 5, "  "}}),
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

// Spaces inside the area are shown as stored; spaces beyond it are left out. A sheet with one
// far-off cell is a grid of that size without a dense copy of it.
TEST(RosterGrid, KeepsRawTextInsideTheAreaOnly) {
    Workbook book;
    book.addSheet(QStringLiteral("名单"));
    book.setCell(0, 0, 0, QStringLiteral(" 张三\t"));
    book.setCell(0, 1, 0, QStringLiteral("   "));
    book.setCell(0, 2, 0, QStringLiteral("李四"));
    book.setCell(0, 9, 3, QStringLiteral("      "));
    const RosterGrid grid = RosterGrid::fromSheet(book, 0, measureFont());
    EXPECT_EQ(grid.rowCount(), 3);
    EXPECT_EQ(grid.columnCount(), 1);
    EXPECT_EQ(grid.text(0, 0), QStringLiteral(" 张三\t"));
    EXPECT_EQ(grid.text(1, 0), QStringLiteral("   "));
    EXPECT_EQ(grid.text(9, 3), QString());

    book.setCell(0, 1048575, 16383, QStringLiteral("末"));
    const RosterGrid far = RosterGrid::fromSheet(book, 0, measureFont());
    EXPECT_EQ(far.rowCount(), 1048576);
    EXPECT_EQ(far.columnCount(), 16384);
    EXPECT_EQ(far.text(1048575, 16383), QStringLiteral("末"));
    EXPECT_EQ(far.text(9, 3), QStringLiteral("      "));
    EXPECT_EQ(far.columnWidth(16000), RosterGrid::kMinColumnWidth);
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

        // The sheet whose text starts at row index 6.
        const RosterGrid late = RosterGrid::fromSheet(r.workbook, 2, measureFont());
        EXPECT_EQ(late.rowCount(), 8) << file;
        EXPECT_EQ(late.text(6, 0), QStringLiteral("迟到名单")) << file;
        EXPECT_EQ(late.text(7, 0), QStringLiteral("孙七")) << file;
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

namespace portiqa {
namespace {

// Class lists as other spreadsheet programs write them: names from row 7, a gap of seven empty
// rows before late entries, a name outside GBK, and a table that starts in column H.
TEST(RosterGrid, ClassListsFromOtherPrograms) {
    for (const char* file : {"classlist_lo.xlsx", "classlist_lo.xls", "classlist_gnumeric.xlsx",
                             "classlist_gnumeric.xls"}) {
        SCOPED_TRACE(file);
        const WorkbookReadResult r = WorkbookReader::read(
            test::fixturePath(QStringLiteral("roster/") + QLatin1String(file)));
        ASSERT_TRUE(r.ok) << r.reason.toStdString();
        const RosterGrid list = RosterGrid::fromSheet(r.workbook, 0, measureFont());
        EXPECT_EQ(list.rowCount(), 19);
        EXPECT_EQ(list.columnCount(), 1);
        EXPECT_EQ(list.text(5, 0), QString());
        EXPECT_EQ(list.text(6, 0), QStringLiteral("张三"));
        EXPECT_EQ(list.text(8, 0), QStringLiteral("王𠮷"));
        EXPECT_EQ(list.text(18, 0), QStringLiteral("孙八"));

        const RosterGrid table = RosterGrid::fromSheet(r.workbook, 1, measureFont());
        EXPECT_EQ(table.rowCount(), 3);
        EXPECT_EQ(table.columnCount(), 9);
        EXPECT_EQ(table.text(0, 7), QStringLiteral("姓名"));
        EXPECT_EQ(table.text(2, 8), QStringLiteral("2026030102"));
        EXPECT_EQ(table.columnWidth(0), RosterGrid::kMinColumnWidth);
    }
}

} // namespace
} // namespace portiqa
