#include "core/settings/SettingsFile.h"

#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace portiqa;
using portiqa::test::readAll;
using portiqa::test::ScriptedDialogs;
using portiqa::test::writeAll;

namespace {

struct FakeEdits final : OutputSizeEdits {
    QString width = QStringLiteral("358");
    QString height = QStringLiteral("441");
    QString limit = QStringLiteral("500");
    int sets = 0;
    QString widthText() const override { return width; }
    QString heightText() const override { return height; }
    QString sizeLimitText() const override { return limit; }
    void setWidthText(const QString& t) override { width = t, ++sets; }
    void setHeightText(const QString& t) override { height = t, ++sets; }
    void setSizeLimitText(const QString& t) override { limit = t, ++sets; }
};

class SettingsFileTest : public ::testing::Test {
protected:
    QString filePath() const { return dir.filePath(SettingsFile::fileName()); }
    QString fileText() const { return IniDocument::decode(readAll(filePath())); }
    void writeFile(const QString& text) {
        ASSERT_TRUE(writeAll(filePath(), IniDocument::encode(text)));
    }
    QString stored(const QString& section, const QString& key) const {
        return IniFile(filePath()).read(section, key);
    }

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    SettingsFile settings{dir.path(), dialogs};
    FakeEdits edits;
};

BatchCropSettings sampleCrop() {
    BatchCropSettings s;
    s.namingIndex = 3;
    s.namingMode = namingModeText(BatchKind::Crop, 3);
    s.customPrefix = QStringLiteral("高一3班");
    s.format = formats::kJpg;
    s.saveFolder = QStringLiteral("/照片/输出");
    s.sourceFolder = QStringLiteral("/照片/原图");
    s.cropSound = true;
    return s;
}

} // namespace

TEST_F(SettingsFileTest, FirstRunGivesDefaultsAndCreatesNoFile) {
    BatchCropSettings crop = sampleCrop();
    QuickShootSettings quick;
    quick.shutterSound = true;
    settings.loadSettings(crop, quick);
    EXPECT_EQ(crop.namingMode, u"与原图片文件名同名"_qs);
    EXPECT_EQ(quick.namingMode, u"根据拍照时间命名  如：2022-1-10 11-45-23"_qs);
    EXPECT_EQ(crop.format, u".JPG"_qs);
    EXPECT_EQ(quick.format, u".JPG"_qs);
    EXPECT_TRUE(crop.customPrefix.isEmpty() && crop.saveFolder.isEmpty() &&
                crop.sourceFolder.isEmpty() && quick.saveFolder.isEmpty());
    EXPECT_FALSE(crop.cropSound || crop.settingsSaved || quick.shutterSound || quick.settingsSaved);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(SettingsFileTest, KeptSettingsAreWrittenInOrderAndReadBack) {
    BatchCropSettings crop = sampleCrop();
    QuickShootSettings quick;
    quick.namingIndex = 4;
    quick.format = formats::kPng;
    quick.saveFolder = QStringLiteral("/拍照");
    ASSERT_TRUE(settings.saveBatchCropSettings(crop, true, edits));
    ASSERT_TRUE(settings.saveQuickShootSettings(quick, true, edits));
    EXPECT_TRUE(crop.settingsSaved && quick.settingsSaved);
    EXPECT_EQ(fileText(), u"[批量截图]\r\n命名方式=3\r\n自定义命名=高一3班\r\n保存格式=.JPG\r\n"
                          u"保存目录=/照片/输出\r\n待截图目录=/照片/原图\r\n发裁切声=真\r\n"
                          u"是否保存设置=真\r\n像素宽=358\r\n像素高=441\r\nJPG体积=500\r\n"
                          u"[批量速拍]\r\n命名方式=4\r\n自定义命名=\r\n保存格式=.PNG\r\n"
                          u"保存目录=/拍照\r\n发快门声=\r\n是否保存设置=真\r\n像素宽=358\r\n"
                          u"像素高=441\r\nJPG体积=\r\n"_qs);

    BatchCropSettings crop2;
    QuickShootSettings quick2;
    SettingsFile(dir.path(), dialogs).loadSettings(crop2, quick2);
    EXPECT_EQ(crop2.namingMode, crop.namingMode);
    EXPECT_EQ(crop2.customPrefix, crop.customPrefix);
    EXPECT_EQ(crop2.saveFolder, crop.saveFolder);
    EXPECT_EQ(crop2.sourceFolder, crop.sourceFolder);
    EXPECT_TRUE(crop2.cropSound && crop2.settingsSaved && quick2.settingsSaved);
    EXPECT_EQ(quick2.namingMode, u"导入EXCEL，按选中单元格内文字命名"_qs);
    EXPECT_EQ(quick2.format, formats::kPng);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(SettingsFileTest, ClearedKeepBoxLeavesEveryKeyPresentAndEmpty) {
    BatchCropSettings crop = sampleCrop();
    ASSERT_TRUE(settings.saveBatchCropSettings(crop, true, edits));
    ASSERT_TRUE(settings.saveBatchCropSettings(crop, false, edits));
    EXPECT_FALSE(crop.settingsSaved);
    EXPECT_EQ(crop.customPrefix, u"高一3班"_qs); // the run goes on with what was entered
    EXPECT_EQ(fileText(), u"[批量截图]\r\n命名方式=\r\n自定义命名=\r\n保存格式=\r\n保存目录=\r\n"
                          u"待截图目录=\r\n发裁切声=\r\n是否保存设置=\r\n像素宽=\r\n像素高=\r\n"
                          u"JPG体积=\r\n"_qs);
    BatchCropSettings next = sampleCrop();
    QuickShootSettings quick;
    settings.loadSettings(next, quick);
    EXPECT_EQ(next.namingIndex, 0);
    EXPECT_EQ(next.format, formats::kJpg);
    EXPECT_FALSE(next.settingsSaved || next.cropSound);
}

TEST_F(SettingsFileTest, StoredTextsReadByTheirRules) {
    const struct {
        const char16_t* naming; // 命名方式 of both sections
        const char16_t* flag;   // 发裁切声 and 是否保存设置
        const char16_t* format;
        int cropIndex;
        int quickIndex;
        bool flagValue;
        const char16_t* formatValue;
    } cases[] = {
        {u"3", u"真", u".BMP", 3, 3, true, u".BMP"},
        {u"5", u"TRUE", u".png", 5, 0, false, u".PNG"}, // 5 is outside the quick-shoot list
        {u"2.9", u"1", u".TIF", 2, 2, false, u".JPG"},
        {u"-1", u"真真", u"", 0, 0, false, u".JPG"},
        {u"abc", u" 真 ", u"JPG", 0, 0, true, u".JPG"}, // blanks around values are trimmed
        {u"４", u"true", u".GIF", 4, 4, false, u".GIF"},
    };
    for (const auto& c : cases) {
        QString text;
        for (const char16_t* section : {u"批量截图", u"批量速拍"}) {
            text += u"["_qs + QString::fromUtf16(section) + u"]\n命名方式="_qs +
                    QString::fromUtf16(c.naming) + u"\n发裁切声="_qs + QString::fromUtf16(c.flag) +
                    u"\n是否保存设置="_qs + QString::fromUtf16(c.flag) + u"\n保存格式="_qs +
                    QString::fromUtf16(c.format) + u"\n"_qs;
        }
        writeFile(text);
        BatchCropSettings crop;
        QuickShootSettings quick;
        settings.loadSettings(crop, quick);
        const std::string label = QString::fromUtf16(c.naming).toStdString();
        EXPECT_EQ(crop.namingIndex, c.cropIndex) << label;
        EXPECT_EQ(crop.namingMode, namingModeText(BatchKind::Crop, c.cropIndex)) << label;
        EXPECT_EQ(quick.namingMode, namingModeText(BatchKind::QuickShoot, c.quickIndex)) << label;
        EXPECT_EQ(crop.cropSound, c.flagValue) << label;
        EXPECT_EQ(crop.settingsSaved, c.flagValue) << label;
        EXPECT_EQ(quick.settingsSaved, c.flagValue) << label;
        EXPECT_EQ(crop.format, QString::fromUtf16(c.formatValue)) << label;
    }
}

TEST_F(SettingsFileTest, ReuseAppliesTheStoredSizeAndFillsAZeroLimit) {
    const struct {
        const char16_t* stored; // JPG体积 in the file
        QString format;
        const char16_t* limitAfter; // the limit edit afterwards
        const char16_t* fileAfter;  // JPG体积 in the file afterwards
    } cases[] = {
        {u"30.5", formats::kJpg, u"30.5", u"30.5"},
        {u"0", formats::kJpg, u"500", u"500"},
        {u"", formats::kJpg, u"500", u"500"},
        {u"abc", formats::kJpg, u"500", u"500"},
        {u"0.00000001", formats::kJpg, u"500", u"500"},
        {u"-5", formats::kJpg, u"500", u"-5"},
        {u"0", formats::kPng, u"500", u"0"},
        {u"", formats::kBmp, u"500", u""},
        {u"30", formats::kGif, u"500", u"30"},
    };
    for (const auto& c : cases) {
        writeFile(u"[批量速拍]\n像素宽=295\n像素高=413\nJPG体积="_qs +
                  QString::fromUtf16(c.stored) + u"\n"_qs);
        FakeEdits e;
        settings.reuseOutputSize(BatchKind::QuickShoot, c.format, e);
        const std::string label = (QString::fromUtf16(c.stored) + c.format).toStdString();
        EXPECT_EQ(e.width, u"295"_qs) << label;
        EXPECT_EQ(e.height, u"413"_qs) << label;
        EXPECT_EQ(e.limit, QString::fromUtf16(c.limitAfter)) << label;
        EXPECT_EQ(stored(u"批量速拍"_qs, u"JPG体积"_qs), QString::fromUtf16(c.fileAfter)) << label;
    }

    // Nothing stored for the size: the edits keep theirs rather than going blank.
    writeFile(u"[批量截图]\n像素宽=\nJPG体积=20\n"_qs);
    FakeEdits e;
    settings.reuseOutputSize(BatchKind::Crop, formats::kJpg, e);
    EXPECT_EQ(e.width, u"358"_qs);
    EXPECT_EQ(e.height, u"441"_qs);
    EXPECT_EQ(e.limit, u"20"_qs);
}

TEST_F(SettingsFileTest, OutputSizeFollowsTheMainWindowOnlyWhenItsConditionsHold) {
    BatchCropSettings crop;
    crop.settingsSaved = true;
    QuickShootSettings quick;
    quick.settingsSaved = true;
    edits.limit = QStringLiteral("80");
    const QString cropSection = SettingsFile::sectionName(BatchKind::Crop);
    const QString quickSection = SettingsFile::sectionName(BatchKind::QuickShoot);

    settings.sizeLimitChanged(edits, false, crop, false, quick); // no mode on
    quick.format = formats::kPng;
    settings.sizeLimitChanged(edits, false, crop, true, quick); // not JPEG
    settings.outputDimensionChanged(SettingsFile::SizeKey::Width, edits, false, true, quick);
    settings.quickShootSizeNeeded(edits, false, quick);
    EXPECT_FALSE(QFileInfo::exists(filePath()));

    settings.sizeLimitChanged(edits, true, crop, true, quick);
    EXPECT_EQ(stored(cropSection, u"JPG体积"_qs), u"80"_qs);
    EXPECT_EQ(stored(quickSection, u"JPG体积"_qs), QString());

    settings.outputDimensionChanged(SettingsFile::SizeKey::Height, edits, true, true, quick);
    EXPECT_EQ(stored(quickSection, u"像素高"_qs), u"441"_qs);
    EXPECT_EQ(stored(quickSection, u"像素宽"_qs), QString());

    settings.quickShootSizeNeeded(edits, true, quick); // PNG: no limit
    EXPECT_EQ(stored(quickSection, u"像素宽"_qs), u"358"_qs);
    EXPECT_EQ(stored(quickSection, u"JPG体积"_qs), QString());
    quick.format = formats::kJpg;
    settings.quickShootSizeNeeded(edits, true, quick);
    EXPECT_EQ(stored(quickSection, u"JPG体积"_qs), u"80"_qs);

    quick.settingsSaved = false;
    edits.limit = QStringLiteral("99");
    settings.sizeLimitChanged(edits, false, crop, true, quick);
    EXPECT_EQ(stored(quickSection, u"JPG体积"_qs), u"80"_qs);
}

TEST(SettingsFileFailure, AFailedWriteIsReportedOnceAndTheRunGoesOn) {
    QTemporaryDir dir;
    ASSERT_TRUE(writeAll(dir.filePath(QStringLiteral("folder")), "not a folder"));
    ScriptedDialogs dialogs;
    SettingsFile settings(dir.filePath(QStringLiteral("folder")), dialogs);
    FakeEdits edits;
    BatchCropSettings crop = sampleCrop();
    EXPECT_FALSE(settings.saveBatchCropSettings(crop, true, edits));
    EXPECT_TRUE(crop.settingsSaved);
    EXPECT_FALSE(settings.saveBatchCropSettings(crop, true, edits));
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_EQ(dialogs.messages[0].caption, u"提示："_qs);
    EXPECT_TRUE(dialogs.messages[0].text.contains(u"set.dll"_qs));
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Warning);

    BatchCropSettings loaded;
    QuickShootSettings quick;
    settings.loadSettings(loaded, quick); // served from what the run holds
    EXPECT_EQ(loaded.customPrefix, crop.customPrefix);
    EXPECT_EQ(readAll(dir.filePath(QStringLiteral("folder"))), QByteArray("not a folder"));
}
