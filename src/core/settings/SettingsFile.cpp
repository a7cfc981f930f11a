#include "core/settings/SettingsFile.h"

#include "core/text/Numbers.h"

#include <QDir>

namespace portiqa {

namespace {

const QString kTrue = QStringLiteral("真");

namespace key {
const QString naming = QStringLiteral("命名方式");
const QString prefix = QStringLiteral("自定义命名");
const QString format = QStringLiteral("保存格式");
const QString saveFolder = QStringLiteral("保存目录");
const QString sourceFolder = QStringLiteral("待截图目录");
const QString cropSound = QStringLiteral("发裁切声");
const QString shutterSound = QStringLiteral("发快门声");
const QString kept = QStringLiteral("是否保存设置");
const QString width = QStringLiteral("像素宽");
const QString height = QStringLiteral("像素高");
const QString sizeLimit = QStringLiteral("JPG体积");
} // namespace key

QString flagText(bool value) {
    return value ? kTrue : QString();
}

// The index form of the naming mode: the leading number, truncated; outside the list reads as
// the first entry.
int storedIndex(BatchKind kind, const QString& text) {
    const int index = numbers::truncateToInt32(numbers::leadingNumber(text));
    return index >= 0 && index < namingModeTexts(kind).size() ? index : 0;
}

// The keys of a section in their writing order, each with its value when the settings are kept.
QList<IniEntry> cropEntries(const BatchCropSettings& s, const OutputSizeEdits& edits) {
    const QString section = SettingsFile::sectionName(BatchKind::Crop);
    return {
        {section, key::naming, QString::number(s.namingIndex)},
        {section, key::prefix, s.customPrefix},
        {section, key::format, s.format},
        {section, key::saveFolder, s.saveFolder},
        {section, key::sourceFolder, s.sourceFolder},
        {section, key::cropSound, flagText(s.cropSound)},
        {section, key::kept, kTrue},
        {section, key::width, edits.widthText()},
        {section, key::height, edits.heightText()},
        {section, key::sizeLimit, s.format == formats::kJpg ? edits.sizeLimitText() : QString()},
    };
}

QList<IniEntry> quickEntries(const QuickShootSettings& s, const OutputSizeEdits& edits) {
    const QString section = SettingsFile::sectionName(BatchKind::QuickShoot);
    return {
        {section, key::naming, QString::number(s.namingIndex)},
        {section, key::prefix, s.customPrefix},
        {section, key::format, s.format},
        {section, key::saveFolder, s.saveFolder},
        {section, key::shutterSound, flagText(s.shutterSound)},
        {section, key::kept, kTrue},
        {section, key::width, edits.widthText()},
        {section, key::height, edits.heightText()},
        {section, key::sizeLimit, s.format == formats::kJpg ? edits.sizeLimitText() : QString()},
    };
}

QList<IniEntry> emptied(QList<IniEntry> entries) {
    for (IniEntry& entry : entries) {
        entry.value.clear();
    }
    return entries;
}

} // namespace

QString SettingsFile::sectionName(BatchKind kind) {
    return kind == BatchKind::Crop ? QStringLiteral("批量截图") : QStringLiteral("批量速拍");
}

SettingsFile::SettingsFile(const QString& settingsFolder, Dialogs& dialogs)
    : file_(QDir(settingsFolder).filePath(fileName())),
      notice_(dialogs, QStringLiteral("本次运行继续使用当前的设置，但这些设置不会留到下次运行。")) {
}

QString SettingsFile::readText(BatchKind kind, const QString& key) const {
    return file_.read(sectionName(kind), key);
}

void SettingsFile::loadSettings(BatchCropSettings& crop, QuickShootSettings& quick) const {
    const BatchKind c = BatchKind::Crop;
    crop.namingIndex = storedIndex(c, readText(c, key::naming));
    crop.namingMode = namingModeText(c, crop.namingIndex);
    crop.customPrefix = readText(c, key::prefix);
    crop.format = formats::normalised(readText(c, key::format));
    crop.saveFolder = readText(c, key::saveFolder);
    crop.sourceFolder = readText(c, key::sourceFolder);
    crop.cropSound = readText(c, key::cropSound) == kTrue;
    crop.settingsSaved = readText(c, key::kept) == kTrue;

    const BatchKind q = BatchKind::QuickShoot;
    quick.namingIndex = storedIndex(q, readText(q, key::naming));
    quick.namingMode = namingModeText(q, quick.namingIndex);
    quick.customPrefix = readText(q, key::prefix);
    quick.format = formats::normalised(readText(q, key::format));
    quick.saveFolder = readText(q, key::saveFolder);
    quick.shutterSound = readText(q, key::shutterSound) == kTrue;
    quick.settingsSaved = readText(q, key::kept) == kTrue;
}

bool SettingsFile::writeGroup(const QList<IniEntry>& entries) {
    const bool ok = file_.writeGroup(entries);
    notice_.report(ok, file_);
    return ok;
}

bool SettingsFile::saveBatchCropSettings(BatchCropSettings& settings, bool keep,
                                         const OutputSizeEdits& edits) {
    settings.settingsSaved = keep;
    const QList<IniEntry> entries = cropEntries(settings, edits);
    return writeGroup(keep ? entries : emptied(entries));
}

bool SettingsFile::saveQuickShootSettings(QuickShootSettings& settings, bool keep,
                                          const OutputSizeEdits& edits) {
    settings.settingsSaved = keep;
    const QList<IniEntry> entries = quickEntries(settings, edits);
    return writeGroup(keep ? entries : emptied(entries));
}

void SettingsFile::reuseOutputSize(BatchKind kind, const QString& format, OutputSizeEdits& edits) {
    // An empty stored size is "nothing stored": the edit keeps its size instead of going blank.
    const QString width = readText(kind, key::width);
    if (!width.isEmpty()) {
        edits.setWidthText(width);
    }
    const QString height = readText(kind, key::height);
    if (!height.isEmpty()) {
        edits.setHeightText(height);
    }
    if (format != formats::kJpg) {
        return;
    }
    const QString limit = readText(kind, key::sizeLimit);
    const double value = numbers::leadingNumber(limit);
    if (numbers::greater(value, 0)) {
        edits.setSizeLimitText(limit);
    } else if (numbers::nearlyEqual(value, 0)) {
        writeGroup({{sectionName(kind), key::sizeLimit, edits.sizeLimitText()}});
    }
}

bool SettingsFile::storeOutputSize(BatchKind kind, SizeKeys keys, const OutputSizeEdits& edits) {
    const QString section = sectionName(kind);
    QList<IniEntry> entries;
    if (keys.testFlag(SizeKey::Width)) {
        entries.append({section, key::width, edits.widthText()});
    }
    if (keys.testFlag(SizeKey::Height)) {
        entries.append({section, key::height, edits.heightText()});
    }
    if (keys.testFlag(SizeKey::SizeLimit)) {
        entries.append({section, key::sizeLimit, edits.sizeLimitText()});
    }
    return entries.isEmpty() || writeGroup(entries);
}

void SettingsFile::sizeLimitChanged(const OutputSizeEdits& edits, bool batchCropMode,
                                    const BatchCropSettings& crop, bool quickShootMode,
                                    const QuickShootSettings& quick) {
    if (batchCropMode && crop.settingsSaved && crop.format == formats::kJpg) {
        storeOutputSize(BatchKind::Crop, SizeKey::SizeLimit, edits);
    }
    if (quickShootMode && quick.settingsSaved && quick.format == formats::kJpg) {
        storeOutputSize(BatchKind::QuickShoot, SizeKey::SizeLimit, edits);
    }
}

void SettingsFile::outputDimensionChanged(SizeKey which, const OutputSizeEdits& edits,
                                          bool cameraWindowOpen, bool quickShootMode,
                                          const QuickShootSettings& quick) {
    if (cameraWindowOpen && quickShootMode && quick.settingsSaved &&
        (which == SizeKey::Width || which == SizeKey::Height)) {
        storeOutputSize(BatchKind::QuickShoot, which, edits);
    }
}

void SettingsFile::quickShootSizeNeeded(const OutputSizeEdits& edits, bool quickShootMode,
                                        const QuickShootSettings& quick) {
    if (!quickShootMode || !quick.settingsSaved) {
        return;
    }
    SizeKeys keys = SizeKey::Width | SizeKey::Height;
    if (quick.format == formats::kJpg) {
        keys |= SizeKey::SizeLimit;
    }
    storeOutputSize(BatchKind::QuickShoot, keys, edits);
}

} // namespace portiqa
