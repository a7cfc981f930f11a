#include "core/batch/BatchSettingsForm.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace portiqa;

TEST(BatchSettingsForm, ConfirmRefusesInItsOrder) {
    QTemporaryDir root;
    QDir(root.path()).mkpath("in");
    QDir(root.path()).mkpath("out");
    QDir(root.path()).mkpath("IN");
    const QString in = root.filePath("in");
    const QString out = root.filePath("out");
    const QString custom = namingModeText(BatchKind::Crop, kCustomPrefixItem);
    const QString plain = namingModeText(BatchKind::Crop, 0);
    const struct {
        QString source, save, mode, naming;
        const char* refusal;
        ConfirmFocus focus;
    } cases[] = {
        {"", "", custom, "", "待截图目录不存在，无法对其图片进行批量截图。", ConfirmFocus::None},
        {root.filePath("nope"), out, plain, plain, "待截图目录不存在，无法对其图片进行批量截图。",
         ConfirmFocus::None},
        {in, root.filePath("nope"), custom, "", "请设置正确的图片保存目录。", ConfirmFocus::None},
        {in, out, custom, "   ", "自定义命名不能为空。", ConfirmFocus::NamingBox},
        {in, in + "/", plain, plain, "待截图文件夹不可再用于保存截图，请换一个文件夹保存截图。",
         ConfirmFocus::SaveBoxEmptied},
        {in + "/", in, plain, plain, "待截图文件夹不可再用于保存截图，请换一个文件夹保存截图。",
         ConfirmFocus::SaveBoxEmptied},
        // The same folder spelt another way would put crops into the folder being cropped.
        {in, root.path() + "//in", plain, plain,
         "待截图文件夹不可再用于保存截图，请换一个文件夹保存截图。", ConfirmFocus::SaveBoxEmptied},
        {in, root.filePath("IN"), plain, plain, "", ConfirmFocus::None}, // letter case counts
        {in + "/", out + "/", custom, "  高一3班 ", "", ConfirmFocus::None},
    };
    for (const auto& c : cases) {
        BatchCropSettings settings;
        settings.namingMode = c.mode;
        settings.sourceFolder = "kept";
        BatchSettingsForm form;
        form.sourceText = c.source;
        form.saveText = c.save;
        form.namingText = c.naming;
        const ConfirmCheck check = confirmForm(form, settings);
        const std::string label = (c.source + " | " + c.save).toStdString();
        EXPECT_EQ(check.refusal, QString::fromUtf8(c.refusal)) << label;
        EXPECT_EQ(check.focus, c.focus) << label;
        if (check.accepted()) {
            EXPECT_FALSE(settings.sourceFolder.endsWith('/')) << label;
            EXPECT_FALSE(settings.saveFolder.endsWith('/')) << label;
            EXPECT_EQ(settings.customPrefix, c.mode == custom ? "高一3班" : "") << label;
        } else {
            EXPECT_EQ(settings.sourceFolder, "kept") << label; // nothing taken
        }
    }
}

TEST(BatchSettingsForm, TheWindowOpensOnTheSettings) {
    BatchCropSettings settings;
    settings.sourceFolder = "/photos/in";
    settings.format = ".TIF";
    settings.namingMode = namingModeText(BatchKind::Crop, 4);
    settings.cropSound = true;
    BatchSettingsForm form = formForSettings(settings);
    EXPECT_EQ(form.sourceText, "/photos/in" + QString(QDir::separator()));
    EXPECT_TRUE(form.saveText.isEmpty());
    EXPECT_EQ(form.formatIndex, 0);
    EXPECT_EQ(settings.format, ".JPG");
    EXPECT_EQ(form.namingIndex, 4);
    EXPECT_FALSE(form.namingEditable);
    EXPECT_TRUE(form.cropSound);
    EXPECT_FALSE(form.keep);

    // The custom item opens editable on the stored prefix, so confirming keeps it.
    settings.namingMode = namingModeText(BatchKind::Crop, kCustomPrefixItem);
    settings.customPrefix = "高一3班";
    settings.format = ".PNG";
    form = formForSettings(settings);
    EXPECT_TRUE(form.namingEditable);
    EXPECT_EQ(form.namingText, "高一3班");
    EXPECT_EQ(form.formatIndex, 3);
    EXPECT_EQ(formatForItem(7), ".JPG");
}
