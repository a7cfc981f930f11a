#pragma once

// The settings file "set.dll" in the settings folder: an INI file with the sections
// "批量截图" (batch crop) and "批量速拍" (batch quick-shoot) that carries the batch modes'
// settings and their output size from one run to the next. Nothing else of the main window is
// stored; the main window always starts in its design state.
//
// Value forms: flags are "真" or empty (only "真" reads as true); the naming mode is stored as
// its list index; the size limit as the text of the limit edit; folders without a trailing
// separator. An empty value means nothing is stored.
//
// Every read goes to the file; nothing is created until a settings window is confirmed.
// A write that fails is reported once (see WriteFailureNotice) and the run goes on with the
// values in memory.

#include "core/settings/BatchSettings.h"
#include "core/workspace/OutputSizeEdits.h"
#include "core/ini/IniFile.h"
#include "core/ini/WriteFailureNotice.h"

#include <QFlags>

namespace portiqa {

class Dialogs;

class SettingsFile {
public:
    enum class SizeKey { Width = 1, Height = 2, SizeLimit = 4 };
    Q_DECLARE_FLAGS(SizeKeys, SizeKey)

    static QString fileName() { return QStringLiteral("set.dll"); }
    static QString sectionName(BatchKind kind);

    SettingsFile(const QString& settingsFolder, Dialogs& dialogs);

    QString path() const { return file_.path(); }

    // Reads both sections into the batch settings. Missing keys give the defaults; a naming
    // index outside its list selects the first entry; an unknown format reads as ".JPG".
    void loadSettings(BatchCropSettings& crop, QuickShootSettings& quick) const;

    // Called when a settings window is confirmed with its fields validated. With `keep` the
    // section receives the settings and the current output size in one write; without it
    // every key of the section is written empty. `settingsSaved` follows `keep` either way.
    // False when the file could not be written (already reported).
    bool saveBatchCropSettings(BatchCropSettings& settings, bool keep,
                               const OutputSizeEdits& edits);
    bool saveQuickShootSettings(QuickShootSettings& settings, bool keep,
                                const OutputSizeEdits& edits);

    // When a batch mode resumes with its kept settings: the stored width and height go into
    // the edits (an empty stored text leaves the edit as it is); in ".JPG" format a stored
    // limit above zero goes into the limit edit, one of zero (or empty, or not a number) is
    // replaced in the file by the edit's current text, and a negative one changes nothing.
    void reuseOutputSize(BatchKind kind, const QString& format, OutputSizeEdits& edits);

    // Writes the chosen keys of a section from the edits' current texts, in one write.
    bool storeOutputSize(BatchKind kind, SizeKeys keys, const OutputSizeEdits& edits);

    // The moments the file follows the main window while a batch mode is on. Each checks its
    // own condition and writes nothing when it does not hold.
    //
    // The limit edit changed and was normalised.
    void sizeLimitChanged(const OutputSizeEdits& edits, bool batchCropMode,
                          const BatchCropSettings& crop, bool quickShootMode,
                          const QuickShootSettings& quick);
    // The width or the height edit changed (`which` is Width or Height).
    void outputDimensionChanged(SizeKey which, const OutputSizeEdits& edits, bool cameraWindowOpen,
                                bool quickShootMode, const QuickShootSettings& quick);
    // The camera window opened, or quick-shoot was switched on again in the same run.
    void quickShootSizeNeeded(const OutputSizeEdits& edits, bool quickShootMode,
                              const QuickShootSettings& quick);

private:
    QString readText(BatchKind kind, const QString& key) const;
    bool writeGroup(const QList<IniEntry>& entries);

    IniFile file_;
    WriteFailureNotice notice_;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(SettingsFile::SizeKeys)

} // namespace portiqa
