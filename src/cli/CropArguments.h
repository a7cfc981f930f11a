#pragma once

// The command line of `portiqa crop`, read into what the run needs. Every mistake is found
// here, before a picture is touched, and said in one sentence; the command then ends with
// exit status 2.

#include "core/background/BackgroundColour.h"
#include "core/crop/CropNaming.h"
#include "core/crop/CropSettings.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

namespace portiqa {

struct CropArguments {
    QStringList inputs; // files and folders as given
    QString listFile;   // --list: a file of paths, "-" for standard input
    QString outFolder;
    CropSettings settings;
    double minKb = -1;    // --min-kb; -1 = as the output options keep it, 0 = none
    int dpi = 0;          // --dpi; 0 = as kept, else the size's own resolution
    int bestPicture = -1; // --best-picture on|off; -1 = as kept (on when nothing is kept)
    std::optional<BackgroundColour> background; // --background; none given = as kept
    CropNamingRule naming;
    int jobs = 1;
    std::optional<std::pair<int, int>> shard; // K of N
    bool resume = false;
    QString reportFile;
    QString settingsDir;
};

struct ParsedCropArguments {
    enum class Action { Run, ShowHelp, Refused };
    Action action = Action::Refused;
    CropArguments arguments;
    QString error; // for Refused
};

// `arguments` are the words after "crop" (argv[0] is not among them). `cores` is the default
// for --jobs.
ParsedCropArguments parseCropArguments(const QStringList& arguments, int cores);

// `portiqa crop --help`.
QString cropHelpText();

// A size given as "358x441" (also "358X441", "358×441") or as a size-type name of the window.
std::optional<QSize> parseOutputSize(const QString& text);

} // namespace portiqa
