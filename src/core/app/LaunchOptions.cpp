#include "core/app/LaunchOptions.h"

#include "core/app/BuildInfo.h"

#include <QCommandLineParser>

namespace portiqa {

namespace {

QCommandLineOption hidden(QCommandLineOption option) {
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}

} // namespace

LaunchOptions parseLaunchOptions(const QStringList& arguments, QString* error) {
    QCommandLineParser parser;
    // Long-option words after one dash as Qt's own options are written (-platform offscreen);
    // -h and -v are one-letter words, so they still work.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, {});
    const QCommandLineOption settingsDir(QStringLiteral("settings-dir"), {}, QStringLiteral("DIR"));
    // Start-up timing for the benchmarks; not part of the documented command line.
    const QCommandLineOption quitAfterShow = hidden(QCommandLineOption(
        QStringLiteral("quit-after-show"), QStringLiteral("Quit once the window is shown.")));
    // Qt reads these itself from the same command line; they are accepted, not interpreted,
    // except that an explicit platform decides whether a display is needed.
    const QCommandLineOption platform =
        hidden(QCommandLineOption(QStringLiteral("platform"), {}, QStringLiteral("NAME")));
    const QCommandLineOption style =
        hidden(QCommandLineOption(QStringLiteral("style"), {}, QStringLiteral("NAME")));
    const QCommandLineOption display =
        hidden(QCommandLineOption(QStringLiteral("display"), {}, QStringLiteral("NAME")));
    parser.addOptions({help, version, settingsDir, quitAfterShow, platform, style, display});
    parser.addPositionalArgument(QStringLiteral("picture"), {});

    LaunchOptions options;
    auto fail = [&](const QString& text) {
        if (error != nullptr) {
            *error = text;
        }
        return options;
    };
    if (!parser.parse(arguments)) {
        return fail(parser.errorText());
    }
    const QStringList pictures = parser.positionalArguments();
    if (pictures.size() > 1) {
        return fail(QStringLiteral("Only one picture can be opened at a time ('%1' and '%2' "
                                   "were given).")
                        .arg(pictures.at(0), pictures.at(1)));
    }
    if (error != nullptr) {
        error->clear();
    }
    if (parser.isSet(help)) {
        options.action = LaunchOptions::Action::ShowHelp;
    } else if (parser.isSet(version)) {
        options.action = LaunchOptions::Action::ShowVersion;
    }
    options.settingsDir = parser.value(settingsDir);
    options.platform = parser.value(platform);
    options.quitAfterShow = parser.isSet(quitAfterShow);
    if (!pictures.isEmpty()) {
        options.picture = pictures.constFirst();
    }
    return options;
}

QString usageText(const QString& commands) {
    const QString commandSection =
        commands.isEmpty()
            ? QString()
            : QStringLiteral("\nCommands (portiqa COMMAND ..., no display needed):\n") + commands;
    return QStringLiteral(
               "Usage: portiqa [OPTIONS] [PICTURE]\n"
               "Make standard ID headshots: zoom a photo under a capture frame of an exact pixel\n"
               "size and save the framed pixels as a JPEG under a size limit (or BMP, GIF, PNG).\n"
               "\n"
               "Arguments:\n"
               "  PICTURE             a JPEG, PNG, GIF or BMP picture to open at start\n"
               "\n"
               "Options:\n"
               "  --settings-dir DIR  keep the settings, the batch task file and temporary\n"
               "                      pictures in DIR; by default they are kept in 头像采集设置\n"
               "                      beside a portable copy of the program, or in the per-user\n"
               "                      data folder (~/.local/share/Portiqa/) when it is installed\n"
               "  -h, --help          show this help and exit\n"
               "  -v, --version       show the version and exit\n"
               "%1"
               "\n"
               "Environment:\n"
               "  PORTIQA_CAMERA      which camera the 拍摄 window uses: 'pattern' for a built-in\n"
               "                      test pattern, 'pattern:WxH' for one of W x H pixels,\n"
               "                      either with ',delay=MS' for a first frame that comes\n"
               "                      MS milliseconds late (e.g. pattern:1280x720,delay=500),\n"
               "                      'none' for no camera; unset for the system's webcams\n"
               "  DISPLAY             the X server the windows open on; without a screen run\n"
               "                      the program as: xvfb-run -a portiqa\n"
               "\n"
               "Exit status: 0 when the program ends normally, 2 for bad usage or when no\n"
               "display can be opened.\n"
               "Home page: ")
               .arg(commandSection) +
           QString::fromUtf8(build::homepage) + QLatin1Char('\n');
}

QString versionText() {
    return QStringLiteral("Portiqa ") + QString::fromUtf8(build::version);
}

} // namespace portiqa
