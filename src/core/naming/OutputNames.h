#pragma once

// The name builders of the batch modes. Each takes the output folder (no trailing separator)
// and the extension in lower case with its dot (".jpg"), and returns the full path to write.
// The builders keep no state: every call probes the file system afresh, so a number freed by
// deleting a file is used again. "Exists" means a file, a folder or a link of that exact name.
//
// Names taken from outside the program (a roster cell, a typed name, a custom prefix) must
// name a file inside the output folder: a name that outputNameProblem() refuses gives an
// empty path, and the caller shows the problem and saves nothing.

#include "core/workspace/PictureSource.h"
#include "core/settings/NamingModes.h"

#include <QDateTime>
#include <QString>

#include <functional>

namespace portiqa {

// The clock the time names are taken from; tests pass a fixed one.
using Clock = std::function<QDateTime()>;
QDateTime systemClock();

// Local date and time as "2022-1-10 11-45-23": no leading zeros, hours 0 to 23.
QString timestampText(const QDateTime& now);

// folder/<timestamp><ext>. No existence test: a second picture within the same second
// overwrites the first.
QString captureTimeFileName(const QString& folder, const QString& extension, const QDateTime& now);

// The first free folder/NNNN<ext> for n = 1, 2, ...; n padded to four digits (1 -> 0001), from
// 10000 on as it stands. Files of other formats do not block a number.
QString sequenceFileName(const QString& folder, const QString& extension);

// The same with the prefix before the number: folder/<prefix>NNNN<ext>. Empty for a prefix
// that outputNameProblem() refuses.
QString prefixedSequenceFileName(const QString& folder, const QString& prefix,
                                 const QString& extension);

// folder/<text><ext>, or when that exists the first free folder/<text>—k<ext> for
// k = 1, 2, ... ("—" is U+2014). Empty for an empty text or one that outputNameProblem()
// refuses.
QString rosterFileName(const QString& folder, const QString& text, const QString& extension);

// The name of the current source picture: the file-name part of the opened file's path for
// SourceKind::File, otherwise the task's picture name.
QString sourceFileName(const PictureSource& source, const QString& taskPictureName);

// folder/<base><ext>, where the base is the source name up to its first "." (leading dots
// skipped; a name without a dot is its own base). No existence test: an existing file is
// overwritten. Empty when there is no base (no source name).
QString sourceNameFileName(const QString& folder, const QString& sourceName,
                           const QString& extension);

// Everything a save needs to name its file by the batch's naming mode.
struct NamingRequest {
    NamingBehaviour behaviour = NamingBehaviour::CaptureTime;
    QString folder;        // the batch's output folder
    QString extension;     // the batch's format in lower case: ".jpg"
    QString customPrefix;  // CustomPrefix
    QString rosterText;    // RosterCell: the selected cell's text
    QString sourceName;    // SourceName: sourceFileName() of the current picture
    QString temporaryFile; // AskEveryTime: temporaryPictureFile()
    QDateTime now;         // CaptureTime
};

// The path the picture is written to: the builder of the mode, or the temporary file for the
// ask-every-time mode. Empty when no usable name can be made (see the builders); the caller
// then saves nothing and, for a roster text or a prefix, shows outputNameProblem().
QString namedOutputPath(const NamingRequest& request);

// Why a name cannot be used for an output file, as a message that names the offending
// character (a path separator, "..", a control character, a character file systems forbid,
// or an overlong name); empty when the name is fine. The empty name is the caller's own case.
QString outputNameProblem(const QString& name);

} // namespace portiqa
