#include "cli/Subcommands.h"
#include "core/app/LaunchOptions.h"
#include "gui/app/ChineseTranslations.h"
#include "gui/app/PortiqaApp.h"
#include "gui/app/ProgramIdentity.h"
#include "platform/DisplayCheck.h"
#include "platform/HugePages.h"

#include <QApplication>

#include <cstdio>

namespace {

// The command line is read before Qt starts: bad usage, --help and --version answer the same
// with or without a display. Qt then reads its own options (-platform, -style) from argv.
QStringList commandLine(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

} // namespace

int main(int argc, char** argv) {
    // `portiqa sheet ...` and the other headless commands: no window, no display needed.
    if (const std::optional<int> status = portiqa::cli::runSubcommand(argc, argv)) {
        return *status;
    }
    QString error;
    portiqa::LaunchOptions options;
    {
        // Qt's own parser messages ("未知选项") come from its Chinese catalogue, which needs
        // an application object; the window's comes after the display check.
        QCoreApplication parsing(argc, argv);
        portiqa::installChineseTranslations(parsing);
        options = portiqa::parseLaunchOptions(commandLine(argc, argv), &error);
    }
    if (!error.isEmpty()) {
        std::fprintf(stderr, "portiqa: %s\n用法见 portiqa --help。\n", qPrintable(error));
        return 2;
    }
    switch (options.action) {
    case portiqa::LaunchOptions::Action::ShowHelp:
        std::fputs(portiqa::usageText(portiqa::cli::subcommandsHelp()).toLocal8Bit().constData(),
                   stdout);
        return 0;
    case portiqa::LaunchOptions::Action::ShowVersion:
        std::printf("%s\n", qPrintable(portiqa::versionText()));
        return 0;
    case portiqa::LaunchOptions::Action::Run:
        break;
    }
    // Pictures of tens of megapixels, and the editor's enlarged ones, are touched page by page
    // as they are made; huge pages make that cost a fraction.
    portiqa::platform::restartWithHugePages(argv);
    portiqa::platform::DisplayCheck display(options.platform);
    if (!display.problem().isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(display.problem()));
        return 2;
    }
    QApplication app(argc, argv);
    display.close(); // Qt holds its own connection now
    portiqa::applyProgramIdentity(app);
    portiqa::installChineseTranslations(app);
    portiqa::PortiqaApp portiqaApp(options);
    portiqaApp.start();
    return app.exec();
}
