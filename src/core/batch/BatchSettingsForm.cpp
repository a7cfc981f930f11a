#include "core/batch/BatchSettingsForm.h"

#include <QFileInfo>

namespace portiqa {

namespace {

bool isDirectory(const QString& text) {
    return !text.isEmpty() && QFileInfo(text).isDir();
}

} // namespace

QString formatForItem(int index) {
    switch (index) {
    case 1:
        return formats::kBmp;
    case 2:
        return formats::kGif;
    case 3:
        return formats::kPng;
    default:
        return formats::kJpg;
    }
}

int itemForFormat(const QString& format) {
    for (int i = 0; i < 4; ++i) {
        if (formatForItem(i) == format) {
            return i;
        }
    }
    return 0;
}

BatchSettingsForm formForSettings(BatchCropSettings& settings) {
    BatchSettingsForm form;
    form.sourceText = folders::shown(settings.sourceFolder);
    form.saveText = folders::shown(settings.saveFolder);
    form.formatIndex = itemForFormat(settings.format);
    settings.format = formatForItem(form.formatIndex);
    const int matching = namingModeIndex(BatchKind::Crop, settings.namingMode);
    if (matching >= 0) {
        settings.namingIndex = matching;
    }
    form.namingIndex = settings.namingIndex;
    // With the custom item chosen the box opens editable on the stored prefix, so confirming
    // again keeps the prefix instead of taking the item's own text as one.
    form.namingEditable = form.namingIndex == kCustomPrefixItem;
    form.namingText = form.namingEditable ? settings.customPrefix
                                          : namingModeText(BatchKind::Crop, form.namingIndex);
    form.cropSound = settings.cropSound;
    form.keep = settings.settingsSaved;
    return form;
}

QString confirmRefusalCaption() {
    return QStringLiteral("提醒：");
}

ConfirmCheck confirmForm(const BatchSettingsForm& form, BatchCropSettings& settings) {
    if (!isDirectory(form.sourceText)) {
        return {QStringLiteral("待截图目录不存在，无法对其图片进行批量截图。"), ConfirmFocus::None};
    }
    if (!isDirectory(form.saveText)) {
        return {QStringLiteral("请设置正确的图片保存目录。"), ConfirmFocus::None};
    }
    const bool custom = settings.namingMode == namingModeText(BatchKind::Crop, kCustomPrefixItem);
    if (custom && QString(form.namingText).remove(QLatin1Char(' ')).isEmpty()) {
        return {QStringLiteral("自定义命名不能为空。"), ConfirmFocus::NamingBox};
    }
    const QString source = folders::stored(form.sourceText);
    const QString save = folders::stored(form.saveText);
    // Byte for byte: two spellings of one folder in different letter case are two folders
    // on a case-sensitive file system. Two other spellings of one folder ("//", a link) are
    // caught by the resolved paths: crops written into the folder being cropped would join
    // the run, and a crop named after its source would replace the original photo.
    if (save == source ||
        QFileInfo(save).canonicalFilePath() == QFileInfo(source).canonicalFilePath()) {
        return {QStringLiteral("待截图文件夹不可再用于保存截图，请换一个文件夹保存截图。"),
                ConfirmFocus::SaveBoxEmptied};
    }
    settings.sourceFolder = source;
    settings.saveFolder = save;
    // Only ASCII spaces are trimmed, as the prefix check counts them.
    QString prefix = form.namingText;
    while (prefix.startsWith(QLatin1Char(' '))) {
        prefix.remove(0, 1);
    }
    while (prefix.endsWith(QLatin1Char(' '))) {
        prefix.chop(1);
    }
    settings.customPrefix = custom ? prefix : QString();
    return {};
}

} // namespace portiqa
