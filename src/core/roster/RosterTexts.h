#pragma once

// The roster's texts that depend on the mode in force: batch crop when it is on, else
// quick-shoot when it is on, else none (the window then keeps its quick-shoot design texts
// and the status is left as it is where a mode text would be shown).

#include <QString>

namespace portiqa {

enum class RosterMode { None, BatchCrop, QuickShoot };

// The mode in force for the two program-wide mode flags.
RosterMode rosterModeFor(bool batchCropMode, bool quickShootMode);

namespace rostertexts {

QString windowTitle(RosterMode mode);
QString autoAdvanceCaption(RosterMode mode);
// Empty for RosterMode::None: the status is then left as it is.
QString importHint(RosterMode mode);
QString clickStatus(RosterMode mode, const QString& cellText);
QString advanceStatus(RosterMode mode, const QString& cellText);

QString importFirst(); // "请先导入EXCEL文件，再点击有文字的单元格。"
QString emptyCell();   // "选中单元格内容为空，请点击有文字的单元格。"
QString reading();     // "数据正读入……"

} // namespace rostertexts
} // namespace portiqa
