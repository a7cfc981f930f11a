#pragma once

// What the naming prompt does when the operator confirms a name: the picture was written to
// the temporary file first; it gets its final name in the batch's output folder, by copying
// and then deleting the temporary file. The window (gui/output/NamePrompt) only forwards the
// typed text here.
//
// A name is refused, with a message and nothing saved, when it is empty or cannot name a file
// inside the output folder; a copy that fails is reported. In every refused case the picture
// stays in the temporary file and the prompt stays open, so the operator can try again.

#include "core/settings/BatchSettings.h"

#include <QString>

namespace portiqa {

class Dialogs;

struct NamePromptTarget {
    QString folder;        // output folder, no trailing separator
    QString extension;     // ".jpg"
    QString temporaryFile; // where the picture waits for its name
};

// The temporary picture of the ask-every-time mode: settings folder/临时C<ext>.
QString temporaryPictureFile(const QString& settingsFolder, const QString& extension);

// Folder and extension of the batch crop settings while batch crop is on, else of quick-shoot.
NamePromptTarget namePromptTarget(bool batchCropMode, const BatchCropSettings& crop,
                                  const QuickShootSettings& quick, const QString& settingsFolder);

// The window title: for a crop while batch crop is on, for a photo while quick-shoot is on,
// otherwise empty.
QString namePromptTitle(bool batchCropMode, bool quickShootMode);

class PromptedNameSaver {
public:
    PromptedNameSaver(NamePromptTarget target, Dialogs& dialogs);

    // The typed text as a name: blanks around it and every ".bmp", ".jpg", ".gif", ".png" in
    // any letter case removed (the extension is always the batch's own).
    static QString nameFromTyped(const QString& typed);

    // True when the picture now has its final name and the prompt may close.
    bool confirm(const QString& typed);

    // The final path after a successful confirm.
    const QString& savedPath() const { return savedPath_; }
    const NamePromptTarget& target() const { return target_; }

private:
    void refuse(const QString& text, bool warning);

    NamePromptTarget target_;
    Dialogs& dialogs_;
    QString savedPath_;
};

} // namespace portiqa
