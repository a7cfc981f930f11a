#include "cli/Subcommands.h"

#include "cli/CropCommand.h"
#include "cli/SheetCommand.h"
#include "platform/HugePages.h"
#include "platform/Terminal.h"

#include <QGuiApplication>
#include <QStringList>

#include <cstring>

namespace portiqa::cli {

namespace {

int runCrop(const QStringList& arguments) {
    CropStreams streams;
    streams.errIsTerminal = platform::standardErrorIsTerminal();
    return cropCommandMain(arguments.mid(1), streams);
}

const Subcommand kCommands[] = {
    {"crop",
     "不开窗口批量裁剪证件照，可中断续做、并行处理\n"
     "                      （portiqa crop --help）",
     runCrop, true},
    {"sheet",
     "把照片按实际尺寸排在相纸上，存为 PDF 或 JPEG\n"
     "                      （portiqa sheet --help）",
     runSheetCommand},
};

} // namespace

std::optional<int> runSubcommand(int argc, char** argv) {
    if (argc < 2) {
        return std::nullopt;
    }
    for (const Subcommand& command : kCommands) {
        if (std::strcmp(argv[1], command.name) != 0) {
            continue;
        }
        if (command.largePictures) {
            platform::restartWithHugePages(argv);
        }
        // Pictures and PDF pages need Qt's painting, never a screen.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        QStringList arguments = QCoreApplication::arguments();
        arguments.removeFirst(); // the program; the command's name comes first now
        return command.run(arguments);
    }
    return std::nullopt;
}

QString subcommandsHelp() {
    QString text;
    for (const Subcommand& command : kCommands) {
        text += QStringLiteral("  %1  %2\n")
                    .arg(QString::fromUtf8(command.name).leftJustified(18),
                         QString::fromUtf8(command.summary));
    }
    return text;
}

} // namespace portiqa::cli
