#include "core/roster/WorkbookReader.h"
#include "core/roster/CellText.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cmath>
#include <limits>

namespace portiqa {
namespace {

WorkbookReadResult readFixture(const QString& name) {
    return WorkbookReader::read(test::fixturePath(QStringLiteral("roster/") + name));
}

struct Cell {
    int sheet, row, column;
    const char* text;
};

// The same three-sheet roster written by LibreOffice, Gnumeric and the JavaScript package:
// each stores strings, numbers and small files differently, and all must read alike.
class WorkbookWriters : public testing::TestWithParam<const char*> {};

TEST_P(WorkbookWriters, ReadsSheetsInOrderAndCellsExactly) {
    const WorkbookReadResult r = readFixture(QString::fromLatin1(GetParam()));
    ASSERT_TRUE(r.ok) << r.reason.toStdString();
    EXPECT_EQ(r.workbook.sheetNames(), QStringList({QStringLiteral("名单"), QStringLiteral("补充"),
                                                    QStringLiteral("第七行起")}));
    const Cell cells[] = {
        {0, 0, 0, "姓名"},       {0, 0, 3, "成绩"},       {0, 1, 0, "张三"},
        {0, 1, 1, "2023010101"}, {0, 1, 3, "95.5"},       {0, 2, 2, "   "},
        {0, 3, 3, "-3.25"},      {0, 4, 0, ""},           {0, 4, 1, ""},
        {0, 5, 0, "赵\t六"},     {0, 5, 3, "100"},        {0, 6, 0, "欧阳娜娜"},
        {0, 6, 1, "2023010106"}, {0, 6, 3, "0.1"},        {0, 7, 0, ""},
        {1, 0, 2, "备注"},       {1, 1, 3, "2023010199"}, {1, 0, 0, ""},
        {1, 1, 4, "2023010200"}, // cached result of a formula
        {1, 1, 5, "2024-01-05"}, // a number in a date format
        {2, 6, 0, "迟到名单"},   {2, 7, 0, "孙七"},       {2, 0, 0, ""},
    };
    for (const Cell& c : cells)
        EXPECT_EQ(r.workbook.cellText(c.sheet, c.row, c.column), QString::fromUtf8(c.text))
            << "sheet " << c.sheet << " cell (" << c.row << ", " << c.column << ")";
}

// The JavaScript package keeps booleans as booleans (LibreOffice and Gnumeric turn them into
// numbers); a boolean reads empty like an empty cell.
TEST(WorkbookReader, BooleansReadEmpty) {
    for (const char* file : {"roster_sheetjs.xls", "roster_sheetjs.xlsx"}) {
        const WorkbookReadResult r = readFixture(QString::fromLatin1(file));
        ASSERT_TRUE(r.ok) << file;
        EXPECT_EQ(r.workbook.cellText(0, 1, 4), QString()) << file;
    }
}

INSTANTIATE_TEST_SUITE_P(Roster, WorkbookWriters,
                         testing::Values("roster_lo.xls", "roster_lo.xlsx", "roster_sheetjs.xls",
                                         "roster_sheetjs.xlsx", "roster_gnumeric.xls",
                                         "roster_gnumeric.xlsx"));

// The cached result of a string formula, where the writer stores one (LibreOffice's own .xls
// stores 0 for it until the workbook is recalculated).
TEST(WorkbookReader, ReadsCachedStringResultsOfFormulas) {
    for (const char* file :
         {"roster_lo.xlsx", "roster_sheetjs.xlsx", "roster_gnumeric.xls", "roster_gnumeric.xlsx"}) {
        const WorkbookReadResult r = readFixture(QString::fromLatin1(file));
        ASSERT_TRUE(r.ok) << file;
        EXPECT_EQ(r.workbook.cellText(1, 2, 3), QStringLiteral("复读生")) << file;
    }
}

class BigWorkbookWriters : public testing::TestWithParam<const char*> {};

TEST_P(BigWorkbookWriters, ReadsEveryRowOfTenThousand) {
    const WorkbookReadResult r = readFixture(QString::fromLatin1(GetParam()));
    ASSERT_TRUE(r.ok) << r.reason.toStdString();
    ASSERT_EQ(r.workbook.sheetCount(), 1);
    EXPECT_EQ(r.workbook.cellText(0, 1, 0), QStringLiteral("赵伟伟"));
    EXPECT_EQ(r.workbook.cellText(0, 1, 1), QStringLiteral("2023000001"));
    EXPECT_EQ(r.workbook.cellText(0, 10000, 1), QStringLiteral("2023010000"));
    EXPECT_EQ(r.workbook.cellCount(), 2 * 10001);
}

INSTANTIATE_TEST_SUITE_P(Roster, BigWorkbookWriters,
                         testing::Values("roster10k_lo.xls", "roster10k_lo.xlsx",
                                         "roster10k_sheetjs.xls", "roster10k_sheetjs.xlsx"));

TEST(WorkbookReader, ReadsEveryKindOfXlsxCell) {
    const WorkbookReadResult r = readFixture(QStringLiteral("crafted.xlsx"));
    ASSERT_TRUE(r.ok) << r.reason.toStdString();
    // Order from the workbook's sheet list, not from the part names.
    EXPECT_EQ(r.workbook.sheetNames(),
              QStringList({QStringLiteral("乙表"), QStringLiteral("甲表")}));
    EXPECT_EQ(r.workbook.cellText(1, 0, 0), QStringLiteral("甲"));
    const Cell cells[] = {
        {0, 0, 0, "王 小明"},  // rich-text runs joined, phonetic run left out
        {0, 0, 1, "行内"},     // inline string
        {0, 0, 2, "公式结果"}, // cached string result of a formula
        {0, 0, 3, "123456789012"},
        {0, 0, 4, ""},           // boolean
        {0, 0, 5, ""},           // error value
        {0, 0, 6, "2024-01-05"}, // ISO date cell
        {0, 1, 0, ""},           // a row left out
        {0, 2, 0, "0.0015"},
        {0, 2, 2, "2023010100"}, // exponent notation of a whole number
        {0, 2, 26, "李&<四>"},   // column AA, escaped characters
        {0, 3, 0, "0"},          // row and cells without references follow the previous
        {0, 3, 1, "李&<四>"},
        {0, 3, 4, "0.3333333333333333"},
        {0, 5, 1, ""}, // empty shared string
        {0, 5, 2, ""}, // shared string index out of range
        {0, 5, 3, ""}, // a number cell that holds no number
    };
    for (const Cell& c : cells)
        EXPECT_EQ(r.workbook.cellText(c.sheet, c.row, c.column), QString::fromUtf8(c.text))
            << "cell (" << c.row << ", " << c.column << ")";
}

TEST(WorkbookReader, WorkbookWithoutSheetsReadsEmpty) {
    const WorkbookReadResult r = readFixture(QStringLiteral("nosheets.xlsx"));
    ASSERT_TRUE(r.ok) << r.reason.toStdString();
    EXPECT_EQ(r.workbook.sheetCount(), 0);
    EXPECT_EQ(r.workbook.cellText(0, 0, 0), QString());
}

struct BrokenCase {
    const char* file;
    const char* reasonPart; // part of the reason the operator reads
};

class BrokenWorkbooks : public testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenWorkbooks, GiveOneClearReason) {
    const WorkbookReadResult r = readFixture(QString::fromLatin1(GetParam().file));
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.reason.contains(QString::fromUtf8(GetParam().reasonPart)))
        << r.reason.toStdString();
    EXPECT_EQ(r.workbook.sheetCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Roster, BrokenWorkbooks,
    testing::Values(BrokenCase{"garbage.xls", "不是有效的EXCEL工作簿"},
                    BrokenCase{"garbage.xlsx", "不是有效的EXCEL工作簿"},
                    BrokenCase{"truncated.xls", "损坏"}, BrokenCase{"truncated.xlsx", "损坏"},
                    BrokenCase{"badlabel.xls", "损坏"},
                    // a fuzzer's find: a sheet with a second DIMENSIONS record crashed libfreexl
                    BrokenCase{"../fuzz/xls/second_dimensions_record.xls", "损坏"},
                    // sheets whose cell tables libfreexl would lose, megabytes each time
                    BrokenCase{"../fuzz/xls/sheets_without_dimensions.xls", "损坏"},
                    BrokenCase{"webexport.xls", "另存为xls或xlsx"},
                    BrokenCase{"xml2003.xls", "另存为xls或xlsx"},
                    BrokenCase{"password.xls", "密码"}, BrokenCase{"password.xlsx", "密码"},
                    BrokenCase{"bomb.xlsx", "解压后过大"},
                    BrokenCase{"laughs.xlsx", "文档类型声明"}, BrokenCase{"deep.xlsx", "嵌套过深"},
                    BrokenCase{"make_fixtures.sh", "只能导入扩展名为xls或xlsx"},
                    BrokenCase{"missing.xlsx", "无法打开文件"}));

// A package whose relationship to the workbook lost its target (a fuzzer's find): the workbook
// is read from its usual place; when the rest is damaged too, the failure still says why.
TEST(WorkbookReader, AWorkbookRelationshipWithoutTargetFallsBackToTheUsualPart) {
    const WorkbookReadResult r = WorkbookReader::read(
        test::fixturePath(QStringLiteral("fuzz/xlsx/workbook_without_target.xlsx")));
    ASSERT_TRUE(r.ok) << r.reason.toStdString();
    EXPECT_EQ(r.workbook.sheetCount(), 3);
    const WorkbookReadResult found =
        WorkbookReader::read(test::fixturePath(QStringLiteral("fuzz/xlsx/misspelt_target.xlsx")));
    EXPECT_FALSE(found.ok);
    EXPECT_FALSE(found.reason.isEmpty());
}

// A damaged cell format makes ID numbers like 2023010101 dates, five million years away; they
// read as the numbers they are (and at once: the date would be counted day by day).
TEST(WorkbookReader, NumbersPastTheLastDateReadAsNumbersWhateverTheirFormat) {
    const WorkbookReadResult r = WorkbookReader::read(
        test::fixturePath(QStringLiteral("fuzz/xls/id_number_in_date_format.xls")));
    ASSERT_TRUE(r.ok) << r.reason.toStdString();
    EXPECT_EQ(r.workbook.cellText(0, 1, 1), QStringLiteral("2023010101"));
    EXPECT_EQ(r.workbook.cellText(0, 6, 1), QStringLiteral("2023010106"));
    // A value a date can have keeps the cell's date format.
    EXPECT_EQ(r.workbook.cellText(0, 1, 3), QStringLiteral("1900-04-04"));
}

TEST(WorkbookReader, RefusesAnEmptyFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("空.xls"));
    ASSERT_TRUE(test::writeAll(path, QByteArray()));
    const WorkbookReadResult r = WorkbookReader::read(path);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(WorkbookReader::failureMessage(r.reason),
              QStringLiteral("读取EXCEL文件失败：文件是空的。"));
}

TEST(WorkbookReader, ReadsContentOfTheOtherFormatUnderEitherName) {
    QTemporaryDir dir;
    const QString asXls = dir.filePath(QStringLiteral("导出.xls"));
    const QString asXlsx = dir.filePath(QStringLiteral("导出.xlsx"));
    ASSERT_TRUE(test::writeAll(
        asXls, test::readAll(test::fixturePath(QStringLiteral("roster/roster_sheetjs.xlsx")))));
    ASSERT_TRUE(test::writeAll(
        asXlsx, test::readAll(test::fixturePath(QStringLiteral("roster/roster_lo.xls")))));
    for (const QString& path : {asXls, asXlsx}) {
        const WorkbookReadResult r = WorkbookReader::read(path);
        ASSERT_TRUE(r.ok) << r.reason.toStdString();
        EXPECT_EQ(r.workbook.cellText(0, 1, 0), QStringLiteral("张三"));
    }
}

TEST(CellText, NumbersReadAsTheirText) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {2023010101.0, "2023010101"},
        {95.5, "95.5"},
        {0.1, "0.1"},
        {-3.25, "-3.25"},
        {-0.0, "0"},
        {1e15, "1000000000000000"},
        {123456789012345.0, "123456789012345"},
        {1.0 / 3.0, "0.3333333333333333"},
        {1.5e-7, "1.5e-07"},
        {std::numeric_limits<double>::infinity(), ""},
        {std::nan(""), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(celltext::fromNumber(c.value), QString::fromLatin1(c.text)) << c.value;
}

TEST(CellText, NumberFormatsThatShowDates) {
    using celltext::NumberKind;
    const struct {
        int id;
        const char* code;
        NumberKind kind;
    } cases[] = {
        {0, "", NumberKind::Number},
        {14, "", NumberKind::Date},
        {22, "", NumberKind::DateTime},
        {20, "", NumberKind::Time},
        {31, "", NumberKind::Date}, // East Asian built-in
        {2, "", NumberKind::Number},
        {164, "yyyy\"年\"m\"月\"d\"日\"", NumberKind::Date},
        {165, "yyyy-mm-dd hh:mm", NumberKind::DateTime},
        {166, "[h]:mm", NumberKind::Time},
        {174, "mm:ss", NumberKind::Time},
        {167, "General", NumberKind::Number},
        {168, "0.00E+00", NumberKind::Number},
        {169, "\"day\" 0", NumberKind::Number},
        {170, "[Red]0.00;[Blue]-0.00", NumberKind::Number},
        {171, "#,##0_);(#,##0)", NumberKind::Number},
        {172, "mmm", NumberKind::Date},
        {173, "[$-F800]dddd, mmmm dd, yyyy", NumberKind::Date},
    };
    for (const auto& c : cases)
        EXPECT_EQ(celltext::kindOfFormat(c.id, QString::fromUtf8(c.code)), c.kind)
            << c.id << " " << c.code;
}

TEST(CellText, DateSerialsReadAsTheXlsReaderShowsThem) {
    using celltext::NumberKind;
    const struct {
        double serial;
        NumberKind kind;
        bool epoch1904;
        const char* text;
    } cases[] = {
        {45296, NumberKind::Date, false, "2024-01-05"},
        {45296.75, NumberKind::DateTime, false, "2024-01-05 18:00:00"},
        {0.3541666666666667, NumberKind::Time, false, "08:30:00"},
        {1, NumberKind::Date, false, "1900-01-01"},
        {59, NumberKind::Date, false, "1900-02-28"},
        {60, NumberKind::Date, false, "1900-02-29"},
        {61, NumberKind::Date, false, "1900-03-01"},
        {0, NumberKind::Date, true, "1904-01-01"},
        {43834, NumberKind::Date, true, "2024-01-05"},
        {45296.99999999, NumberKind::DateTime, false, "2024-01-06 00:00:00"},
        {-5, NumberKind::Date, false, "-5"},
        {45296.5, NumberKind::Number, false, "45296.5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(celltext::fromDateSerial(c.serial, c.kind, c.epoch1904),
                  QString::fromLatin1(c.text))
            << c.serial;
}

TEST(CellText, DecodesXmlEscapesOnly) {
    EXPECT_EQ(celltext::decodeEscapes(QStringLiteral("赵_x0009_六")), QStringLiteral("赵\t六"));
    EXPECT_EQ(celltext::decodeEscapes(QStringLiteral("a_x005F_x0009_")),
              QStringLiteral("a_x0009_"));
    EXPECT_EQ(celltext::decodeEscapes(QStringLiteral("_xZZ12_ 与 _x12")),
              QStringLiteral("_xZZ12_ 与 _x12"));
}

} // namespace
} // namespace portiqa
