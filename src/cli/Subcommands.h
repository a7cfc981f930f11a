#pragma once

// The headless commands, `portiqa NAME ...`: each drives the same core objects as the windows,
// never a widget, and works with no display at all (Qt's offscreen platform is forced, so an
// unset DISPLAY is fine). main() asks here first; anything that is not a command's name goes
// on to the normal start of the program.

#include <QString>

#include <optional>

namespace portiqa::cli {

struct Subcommand {
    const char* name;    // the first argument that selects it, e.g. "sheet"
    const char* summary; // one line for `portiqa --help`
    // Runs with the application object made; `arguments` are the command's own, its name
    // first. Returns the exit status.
    int (*run)(const QStringList& arguments);
    // The command decodes many large pictures: it starts with huge pages for them.
    bool largePictures = false;
};

// When argv[1] names a command: runs it and returns its exit status. Nothing otherwise.
std::optional<int> runSubcommand(int argc, char** argv);

// The lines `portiqa --help` shows for the commands.
QString subcommandsHelp();

} // namespace portiqa::cli
