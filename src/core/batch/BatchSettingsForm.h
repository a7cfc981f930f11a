#pragma once

// What the batch crop settings window shows and what its confirm button checks, without the
// window: the window copies its controls into a BatchSettingsForm and hands it here.
//
// The in-memory settings change as the operator picks a format, a naming item or the crop
// sound (the window's events); the folders and the custom prefix are taken only on confirm,
// after every check passed. A refused confirm changes nothing and says which control the
// window should act on.

#include "core/settings/BatchSettings.h"

#include <QString>

namespace portiqa {

// The naming item whose box the operator types a custom prefix into.
inline constexpr int kCustomPrefixItem = 3;
// The naming item that names pictures by the selected roster cell.
inline constexpr int kRosterCellItem = 5;

// The contents of the window's controls.
struct BatchSettingsForm {
    QString sourceText;  // 批截目标目录编辑框
    QString saveText;    // 批截保存目录编辑框
    int formatIndex = 0; // 批截格式组合框: .JPG .BMP .GIF .PNG
    int namingIndex = 0; // 批截命名方式组合框
    QString namingText;  // the naming box's text (the typed prefix for item 3)
    bool namingEditable = false;
    bool cropSound = false; // 裁切声选择框
    bool keep = false;      // 保存批截设置选择框
};

// The window as it opens: folders with one separator appended, the format's item (an unknown
// format becomes ".JPG" in `settings`), the naming item whose text is the stored mode (the
// index stays as it was when none matches), a plain drop-down list (for the custom item an
// editable box showing the stored prefix), the two boxes.
BatchSettingsForm formForSettings(BatchCropSettings& settings);

// The format item chosen: ".JPG", ".BMP", ".GIF" or ".PNG" for 0-3, ".JPG" for anything else.
QString formatForItem(int index);
int itemForFormat(const QString& format);

enum class ConfirmFocus { None, NamingBox, SaveBoxEmptied };

struct ConfirmCheck {
    QString refusal;                         // empty when the form was taken
    ConfirmFocus focus = ConfirmFocus::None; // what the window does with a refusal
    bool accepted() const { return refusal.isEmpty(); }
};

// Caption of the confirm refusals.
QString confirmRefusalCaption();

// The confirm checks in their order; on success the folders (one trailing separator removed)
// and the custom prefix (trimmed, only for item 3) go into `settings`.
ConfirmCheck confirmForm(const BatchSettingsForm& form, BatchCropSettings& settings);

} // namespace portiqa
