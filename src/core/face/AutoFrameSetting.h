#pragma once

// The "auto-frame each picture when it is shown" switch, kept in the settings file "set.dll"
// in a section of its own: section "自动框选", key "启用", "真" for on and empty for off. A
// file without the section (older files) reads as off, and so does any other value.
//
// Every read goes to the file. A failed write is reported once (WriteFailureNotice) and the
// switch keeps its new state for this run.

#include "core/ini/IniFile.h"
#include "core/ini/WriteFailureNotice.h"

namespace portiqa {

class Dialogs;

class AutoFrameSetting {
public:
    static QString section() { return QStringLiteral("自动框选"); }
    static QString key() { return QStringLiteral("启用"); }

    AutoFrameSetting(const QString& settingsFolder, Dialogs& dialogs);

    bool enabled() const;
    // Stores the switch; false when the file could not be written (already reported).
    bool setEnabled(bool on);

private:
    IniFile file_;
    WriteFailureNotice notice_;
};

} // namespace portiqa
