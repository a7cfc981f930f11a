#pragma once

// The in-memory settings of the two batch modes. They are loaded from the settings file at
// start, changed by the settings windows, and are what the save paths use: the file only
// mirrors them (and holds nothing at all when the operator chose not to keep them).

#include "core/settings/NamingModes.h"

#include <QString>

namespace portiqa {

// The four output formats as the settings hold them: upper case, with the dot.
namespace formats {
inline const QString kJpg = QStringLiteral(".JPG");
inline const QString kBmp = QStringLiteral(".BMP");
inline const QString kGif = QStringLiteral(".GIF");
inline const QString kPng = QStringLiteral(".PNG");

// A stored format in the settings' form; anything that is not one of the four becomes ".JPG",
// so a hand-edited file cannot select an output type the program does not write.
QString normalised(const QString& stored);
// The file extension of a format: ".JPG" gives ".jpg".
inline QString extension(const QString& format) {
    return format.toLower();
}
} // namespace formats

// Folder texts are stored without a trailing separator and shown with one.
namespace folders {
// Removes one trailing "/" or "\\", as confirming a settings window does.
QString stored(const QString& shown);
// Appends one separator to a non-empty folder text, as the settings windows show it.
QString shown(const QString& stored);
} // namespace folders

struct BatchCropSettings {
    QString namingMode = namingModeText(BatchKind::Crop, 0); // the list entry's text
    int namingIndex = 0;                                     // the index last chosen
    QString customPrefix;
    QString format = formats::kJpg;
    QString saveFolder;   // no trailing separator
    QString sourceFolder; // the folder whose pictures are cropped
    bool cropSound = false;
    bool settingsSaved = false; // the keep box: the file holds these settings
};

struct QuickShootSettings {
    QString namingMode = namingModeText(BatchKind::QuickShoot, 0);
    int namingIndex = 0;
    QString customPrefix;
    QString format = formats::kJpg;
    QString saveFolder;
    bool shutterSound = false;
    bool settingsSaved = false;
};

} // namespace portiqa
