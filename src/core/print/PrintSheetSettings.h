#pragma once

// The 排版打印 window's choices, kept in the settings file "set.dll" in a section of their own,
// "排版打印":
//   纸张     the paper's short name ("5寸", "6寸", "A4", "A6")
//   方向     "横向" or "纵向"
//   照片尺寸 the photo size's short name ("1寸", ..., or "输出尺寸")
//   张数     the number of copies, 0 for as many as fit
//   间距     the gap between copies in millimetres
//   裁切线   "真" or "假"
//   边距     the margin in millimetres
// A file without the section (older files), a missing key or a value that does not read
// gives that key's default.
//
// Every read goes to the file. A failed write is reported once (WriteFailureNotice) and the
// window keeps its choices for this run.

#include "core/ini/IniFile.h"
#include "core/ini/WriteFailureNotice.h"
#include "core/print/PrintSheetOptions.h"

namespace portiqa {

class Dialogs;

class PrintSheetSettings {
public:
    static QString section() { return QStringLiteral("排版打印"); }

    PrintSheetSettings(const QString& settingsFolder, Dialogs& dialogs);

    PrintSheetOptions load() const;
    // Stores every choice with one write; false when the file could not be written (already
    // reported).
    bool store(const PrintSheetOptions& options);

private:
    IniFile file_;
    WriteFailureNotice notice_;
};

} // namespace portiqa
