#pragma once

// The commands the executable runs without a window (`portiqa crop ...`). They are told apart
// from the window's command line by their first word, and need no display at all.

namespace portiqa {

// Runs the subcommand named by argv[1] and returns its exit status; -1 when argv[1] names
// none, and the window program starts as usual.
int runSubcommand(int argc, char** argv);

} // namespace portiqa
