#include "core/print/PrintSheetSettings.h"

#include "core/settings/SettingsFile.h"
#include "core/text/Numbers.h"

#include <QDir>

namespace portiqa {

namespace {

const QString kPaper = QStringLiteral("纸张");
const QString kOrientation = QStringLiteral("方向");
const QString kPhotoSize = QStringLiteral("照片尺寸");
const QString kCopies = QStringLiteral("张数");
const QString kGap = QStringLiteral("间距");
const QString kCutLines = QStringLiteral("裁切线");
const QString kMargin = QStringLiteral("边距");
const QString kLandscape = QStringLiteral("横向");
const QString kPortrait = QStringLiteral("纵向");
const QString kTrue = QStringLiteral("真");
const QString kFalse = QStringLiteral("假");

// A stored number, or `fallback` when the value is missing or not a number.
double storedNumber(const QString& text, double fallback) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok ? value : fallback;
}

} // namespace

PrintSheetSettings::PrintSheetSettings(const QString& settingsFolder, Dialogs& dialogs)
    : file_(QDir(settingsFolder).filePath(SettingsFile::fileName())),
      notice_(dialogs, QStringLiteral("本次运行继续使用当前的设置，但这些设置不会留到下次运行。")) {
}

PrintSheetOptions PrintSheetSettings::load() const {
    const PrintSheetOptions defaults;
    auto value = [this](const QString& key) { return file_.read(section(), key); };
    PrintSheetOptions options;
    options.paper = value(kPaper);
    const QString orientation = value(kOrientation);
    options.landscape = orientation == kPortrait    ? false
                        : orientation == kLandscape ? true
                                                    : defaults.landscape;
    options.photoSize = value(kPhotoSize);
    bool copiesOk = false;
    const int copies = value(kCopies).trimmed().toInt(&copiesOk);
    options.copies = copiesOk ? copies : defaults.copies;
    options.gapMm = storedNumber(value(kGap), defaults.gapMm);
    const QString cutLines = value(kCutLines);
    options.cutLines = cutLines == kTrue ? true : cutLines == kFalse ? false : defaults.cutLines;
    options.marginMm = storedNumber(value(kMargin), defaults.marginMm);
    return options.normalised();
}

bool PrintSheetSettings::store(const PrintSheetOptions& options) {
    const PrintSheetOptions checked = options.normalised();
    const QString s = section();
    const bool ok = file_.writeGroup({
        {s, kPaper, checked.paper},
        {s, kOrientation, checked.landscape ? kLandscape : kPortrait},
        {s, kPhotoSize, checked.photoSize},
        {s, kCopies, QString::number(checked.copies)},
        {s, kGap, numbers::numberText(checked.gapMm)},
        {s, kCutLines, checked.cutLines ? kTrue : kFalse},
        {s, kMargin, numbers::numberText(checked.marginMm)},
    });
    notice_.report(ok, file_);
    return ok;
}

} // namespace portiqa
