#pragma once

// The output options kept in the settings file "set.dll", section "输出选项": "分辨率" (dots
// per inch, empty for the size's own resolution), "最小体积" (KB, empty or 0 for none) and
// "最佳画质" ("真" or empty), and "背景颜色" (empty for none, else "#RRGGBB"). A file without the
// section (older files) reads as: the size's resolution, no minimum, best picture on, the
// background as it is; a colour that is not "#RRGGBB" reads as none, and `backgroundNotice` says
// so.
//
// Every read goes to the file. A failed write is reported once (WriteFailureNotice) and the
// values are kept for this run.

#include "core/background/BackgroundColour.h"
#include "core/ini/IniFile.h"
#include "core/ini/WriteFailureNotice.h"
#include "core/output/OutputOptions.h"

#include <QSize>

namespace portiqa {

class Dialogs;

struct StoredOutputOptions {
    int dotsPerInch = 0; // 0: the size's own (standardResolution)
    double minKb = 0;
    bool bestPicture = true;
    BackgroundColour background;
    QString unreadBackground; // the stored "背景颜色" when it is not a colour, else empty
};

class OutputOptionsSetting {
public:
    static QString section() { return QStringLiteral("输出选项"); }
    static constexpr int kMinDpi = 72;
    static constexpr int kMaxDpi = 1200;

    OutputOptionsSetting(const QString& settingsFolder, Dialogs& dialogs);

    StoredOutputOptions stored() const;
    // What a save of `outputSize` writes with.
    OutputOptions optionsFor(QSize outputSize) const;
    // Stores all four keys; false when the file could not be written (already reported).
    bool store(const StoredOutputOptions& options);
    // The background colour alone (menu 文件's quick switch).
    bool storeBackground(const BackgroundColour& colour);

    // What the window and the crop command tell when the stored colour could not be read;
    // empty when it could.
    static QString backgroundNotice(const StoredOutputOptions& options);

    // Why the window's texts cannot be kept, or empty when they can; `field` tells which
    // field to return to (0 the resolution, 1 the minimum). `maxKb` is the size limit.
    static QString refusal(const QString& dpiText, const QString& minKbText, double maxKb,
                           int* field);

private:
    IniFile file_;
    WriteFailureNotice notice_;
};

} // namespace portiqa
