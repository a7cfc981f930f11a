#include "cli/Subcommands.h"

#include "cli/CropCommand.h"
#include "platform/HugePages.h"
#include "platform/Terminal.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstring>

namespace portiqa {

int runSubcommand(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "crop") != 0) {
        return -1;
    }
    platform::restartWithHugePages(argv);
    // A core application: no platform plugin is loaded, so no display is ever looked for.
    QCoreApplication app(argc, argv);
    QStringList words;
    for (int i = 2; i < argc; ++i) {
        words << QString::fromLocal8Bit(argv[i]);
    }
    CropStreams streams;
    streams.errIsTerminal = platform::standardErrorIsTerminal();
    return cropCommandMain(words, streams);
}

} // namespace portiqa
