// The 排版打印 window's stored choices: section 排版打印 of set.dll, older files and damaged
// values read as the defaults, and a round trip keeps every choice.

#include "core/print/PrintSheetSettings.h"
#include "core/ini/IniFile.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

using namespace portiqa;

TEST(PrintSheetSettings, OlderFilesAndDamagedValuesReadAsTheDefaults) {
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    const PrintSheetSettings settings(dir.path(), dialogs);
    const PrintSheetOptions defaults;
    EXPECT_EQ(settings.load(), defaults); // no file at all
    EXPECT_EQ(defaults.paper, QStringLiteral("5寸"));
    EXPECT_EQ(defaults.photoSize, QStringLiteral("1寸"));
    EXPECT_TRUE(defaults.landscape);
    EXPECT_EQ(defaults.copies, 0);
    EXPECT_TRUE(defaults.cutLines);

    IniFile file(QDir(dir.path()).filePath(QStringLiteral("set.dll")));
    ASSERT_TRUE(file.write(QStringLiteral("批量截图"), QStringLiteral("保存格式"), ".PNG"));
    EXPECT_EQ(settings.load(), defaults); // a file of an older version: no section
    const QList<IniEntry> damaged{
        {"排版打印", "纸张", "7寸"},  {"排版打印", "方向", "斜向"}, {"排版打印", "照片尺寸", "3寸"},
        {"排版打印", "张数", "很多"}, {"排版打印", "间距", "-5"},   {"排版打印", "裁切线", "1"},
        {"排版打印", "边距", "abc"},
    };
    ASSERT_TRUE(file.writeGroup(damaged));
    PrintSheetOptions read = settings.load();
    EXPECT_EQ(read.paper, defaults.paper);
    EXPECT_EQ(read.landscape, defaults.landscape);
    EXPECT_EQ(read.photoSize, defaults.photoSize);
    EXPECT_EQ(read.copies, defaults.copies);
    EXPECT_EQ(read.gapMm, 0); // a number, brought within 0..20
    EXPECT_EQ(read.cutLines, defaults.cutLines);
    EXPECT_EQ(read.marginMm, defaults.marginMm);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST(PrintSheetSettings, EveryChoiceIsStoredAndReadBackBesideTheOtherSections) {
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    IniFile file(QDir(dir.path()).filePath(QStringLiteral("set.dll")));
    ASSERT_TRUE(file.write(QStringLiteral("批量截图"), QStringLiteral("保存格式"), ".PNG"));
    PrintSheetSettings settings(dir.path(), dialogs);
    PrintSheetOptions chosen;
    chosen.paper = QStringLiteral("A4");
    chosen.landscape = false;
    chosen.photoSize = QStringLiteral("输出尺寸");
    chosen.copies = 12;
    chosen.gapMm = 1.5;
    chosen.cutLines = false;
    chosen.marginMm = 6;
    ASSERT_TRUE(settings.store(chosen));
    EXPECT_EQ(PrintSheetSettings(dir.path(), dialogs).load(), chosen);
    EXPECT_EQ(file.read(QStringLiteral("排版打印"), QStringLiteral("方向")),
              QStringLiteral("纵向"));
    EXPECT_EQ(file.read(QStringLiteral("排版打印"), QStringLiteral("间距")), QStringLiteral("1.5"));
    EXPECT_EQ(file.read(QStringLiteral("批量截图"), QStringLiteral("保存格式")), ".PNG");
}

TEST(PrintSheetSettings, AFailedWriteIsReportedOnce) {
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    // The settings folder is a file: nothing can be written below it.
    const QString folder = QDir(dir.path()).filePath(QStringLiteral("blocked"));
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    PrintSheetSettings settings(folder, dialogs);
    PrintSheetOptions chosen;
    chosen.copies = 2;
    EXPECT_FALSE(settings.store(chosen));
    chosen.copies = 3;
    EXPECT_FALSE(settings.store(chosen));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages.at(0).caption, QStringLiteral("提示："));
    EXPECT_EQ(settings.load().copies, 3); // the run goes on with the choices
}
