#include "core/roster/RosterTexts.h"

namespace portiqa {

RosterMode rosterModeFor(bool batchCropMode, bool quickShootMode) {
    if (batchCropMode)
        return RosterMode::BatchCrop;
    return quickShootMode ? RosterMode::QuickShoot : RosterMode::None;
}

namespace rostertexts {

QString windowTitle(RosterMode mode) {
    return mode == RosterMode::BatchCrop
               ? QStringLiteral("导入EXCEL，按所选单元格文字命名即将截取的图片")
               : QStringLiteral("导入EXCEL，按所选单元格文字命名即将拍照的图片");
}

QString autoAdvanceCaption(RosterMode mode) {
    return mode == RosterMode::BatchCrop ? QStringLiteral("截图后自动跳到下一行")
                                         : QStringLiteral("拍照后自动跳到下一行");
}

QString importHint(RosterMode mode) {
    switch (mode) {
    case RosterMode::BatchCrop:
        return QStringLiteral("请点击有文字的单元格，以其文字命名即将截取的图片。");
    case RosterMode::QuickShoot:
        return QStringLiteral("请点击有文字的单元格，以其文字命名即将拍照的图片。");
    case RosterMode::None:
        break;
    }
    return {};
}

QString clickStatus(RosterMode mode, const QString& cellText) {
    switch (mode) {
    case RosterMode::BatchCrop:
        return QStringLiteral("以“") + cellText +
               QStringLiteral("”命名即将截取的图片，如截图多幅加序号区分。");
    case RosterMode::QuickShoot:
        return QStringLiteral("以“") + cellText +
               QStringLiteral("”命名即将拍照的图片，如拍照多幅加序号区分。");
    case RosterMode::None:
        break;
    }
    return {};
}

QString advanceStatus(RosterMode mode, const QString& cellText) {
    switch (mode) {
    case RosterMode::BatchCrop:
        return QStringLiteral("以“") + cellText +
               QStringLiteral("”命名即将截取的图片，如截多幅加序号区分。");
    case RosterMode::QuickShoot:
        return QStringLiteral("以“") + cellText +
               QStringLiteral("”命名即将拍照的图片，如拍多幅加序号区分。");
    case RosterMode::None:
        break;
    }
    return {};
}

QString importFirst() {
    return QStringLiteral("请先导入EXCEL文件，再点击有文字的单元格。");
}
QString emptyCell() {
    return QStringLiteral("选中单元格内容为空，请点击有文字的单元格。");
}
QString reading() {
    return QStringLiteral("数据正读入……");
}

} // namespace rostertexts
} // namespace portiqa
