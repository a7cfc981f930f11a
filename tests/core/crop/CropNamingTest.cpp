#include "core/crop/CropNaming.h"

#include <gtest/gtest.h>

using namespace portiqa;

namespace {

CropNamingRule ruleOf(const QString& text) {
    QString error;
    const std::optional<CropNamingRule> rule = parseNamingRule(text, &error);
    EXPECT_TRUE(rule.has_value()) << error.toStdString();
    return rule.value_or(CropNamingRule());
}

Workbook roster() {
    Workbook book;
    const int sheet = book.addSheet("名单");
    book.setCell(sheet, 0, 0, "学号");
    book.setCell(sheet, 0, 1, "姓名");
    const QStringList ids{"2024001", "2024002", "2024003"};
    const QStringList people{"张三", "李四", "王𠮷"};
    for (int i = 0; i < 3; ++i) {
        book.setCell(sheet, i + 1, 0, ids[i]);
        book.setCell(sheet, i + 1, 1, people[i]);
    }
    return book;
}

} // namespace

TEST(CropNaming, RulesAreReadOrRefusedWithAReason) {
    struct Case {
        const char* text;
        bool ok;
    } cases[] = {
        {"same", true},
        {"seq", true},
        {"prefix:高一3班", true},
        {"prefix:", false},
        {"prefix:a/b", false},
        {"roster:/data/名单.xlsx:Sheet1:B", true},
        {"roster:C:\\名单.xlsx:1:2", true},
        {"roster:book.xlsx:B", false},
        {"roster:book.xlsx:Sheet1:B9", false},
        {"sequence", false},
    };
    for (const Case& c : cases) {
        QString error;
        const bool ok = parseNamingRule(QString::fromUtf8(c.text), &error).has_value();
        EXPECT_EQ(ok, c.ok) << c.text;
        EXPECT_EQ(error.isEmpty(), c.ok) << c.text;
    }
    const CropNamingRule windowsPath = ruleOf("roster:C:\\名单.xlsx:1:2");
    EXPECT_EQ(windowsPath.book, "C:\\名单.xlsx");
    EXPECT_EQ(windowsPath.sheet, "1");
    EXPECT_EQ(windowsPath.column, "2");
    EXPECT_EQ(columnIndex("A"), 0);
    EXPECT_EQ(columnIndex("ab"), 27);
    EXPECT_EQ(columnIndex("3"), 2);
    EXPECT_EQ(columnIndex("0"), -1);
}

TEST(CropNaming, NamesDependOnlyOnTheListAndRepeatsGetTheCollisionMark) {
    const QStringList pictures{"/a/IMG.2023.jpg", "/b/IMG.png", "/c/img.jpg", "/d/other.jpg"};
    const CropNames same = assignCropNames(pictures, ruleOf("same"), ".jpg", nullptr);
    EXPECT_EQ(same.fileNames, QStringList({"IMG.jpg", "IMG—1.jpg", "img—2.jpg", "other.jpg"}));
    const CropNames seq = assignCropNames(pictures, ruleOf("seq"), ".png", nullptr);
    EXPECT_EQ(seq.fileNames, QStringList({"0001.png", "0002.png", "0003.png", "0004.png"}));
    const CropNames prefixed = assignCropNames(pictures, ruleOf("prefix:班"), ".jpg", nullptr);
    EXPECT_EQ(prefixed.fileNames.last(), "班0004.jpg");
}

TEST(CropNaming, RosterInOrderAndMatchedByBaseName) {
    const Workbook book = roster();
    const QStringList pictures{"/in/2024003.jpg", "/in/2024001.jpg", "/in/9999.jpg"};
    const CropNames inOrder =
        assignCropNames(pictures, ruleOf("roster:x.xlsx:名单:B"), ".jpg", &book);
    EXPECT_EQ(inOrder.fileNames, QStringList({"张三.jpg", "李四.jpg", "王𠮷.jpg"}));

    CropNamingRule matched = ruleOf("roster:x.xlsx:1:B");
    matched.matchColumn = "A";
    const CropNames byId = assignCropNames(pictures, matched, ".jpg", &book);
    EXPECT_EQ(byId.fileNames, QStringList({"王𠮷.jpg", "张三.jpg", ""}));
    EXPECT_TRUE(byId.problems[2].contains("9999"));

    const CropNames noSheet =
        assignCropNames(pictures, ruleOf("roster:x.xlsx:成绩:B"), ".jpg", &book);
    EXPECT_FALSE(noSheet.error.isEmpty());
}
