#pragma once

// `portiqa crop`: crops many pictures into an output folder without a window. It gathers the
// inputs, names every picture, takes the shard, continues a stopped run when asked, runs the
// workers and keeps the progress record, the report and the display up to date as pictures
// finish.
//
// Exit status: 0 when every picture of the run has its file, 1 when some failed or were left
// out (each is listed on standard error and in the report), 2 when the command line or the
// folders cannot be used (nothing is cropped then).

#include "cli/CropArguments.h"

#include <cstdio>

namespace portiqa {

struct CropStreams {
    std::FILE* out = stdout;
    std::FILE* err = stderr;
    bool errIsTerminal = false;
    // Standard input for "--list -".
    std::FILE* in = stdin;
};

int runCropCommand(const CropArguments& arguments, const CropStreams& streams);

// The whole subcommand from its words (after "crop"): help, refusal or run.
int cropCommandMain(const QStringList& words, const CropStreams& streams);

} // namespace portiqa
