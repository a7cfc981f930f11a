#pragma once

// Naming by the selected roster cell, as the batch crop save and the quick-shoot shot use it:
// the checks before anything is written, the windows they open, the file name, and the row
// advance after the write.
//
// GUI thread only.

#include "core/roster/RosterTexts.h"

#include <QString>

#include <functional>

namespace portiqa {

class RosterSheet;
struct FeatureLinks;

// The path the picture is to be written to, or empty when nothing may be saved. Empty after
// the question of a closed roster window (Yes opens the roster window, No runs
// `openModeSettings`: the batch crop settings without modality, the quick-shoot settings
// modally), after "请先导入EXCEL文件。" (the roster window takes the focus), after the
// no-cell message of `mode`, or after a cell text that cannot name a file was refused.
QString rosterNamedPath(RosterSheet& roster, FeatureLinks& links, RosterMode mode,
                        const QString& folder, const QString& extension,
                        const std::function<void()>& openModeSettings);

// After the picture was written with naming by cell: the next row when the auto-next box is
// ticked, or "EXCEL光标已处于最后一行" on the last row.
void advanceRosterAfterSave(RosterSheet& roster, RosterMode mode);

} // namespace portiqa
