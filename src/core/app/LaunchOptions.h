#pragma once

// The program's command line: what `portiqa [OPTIONS] [PICTURE]` asks for, and the texts that
// --help and --version print. Parsed before any window or display is touched, so bad usage is
// reported the same way with or without a screen.

#include <QString>
#include <QStringList>

namespace portiqa {

struct LaunchOptions {
    enum class Action {
        Run,         // start the program
        ShowHelp,    // -h, --help: print usageText() and end with 0
        ShowVersion, // -v, --version: print versionText() and end with 0
    };
    Action action = Action::Run;
    QString settingsDir;        // --settings-dir, empty for the default
    QString picture;            // a picture to open after start
    QString platform;           // Qt's own -platform NAME, passed on to Qt; empty when not given
    bool quitAfterShow = false; // --quit-after-show: end once the window is up (start-up timing)
};

// Parses the arguments (the program name first). On bad usage (an unknown option, a missing
// value, more than one picture) `error` gets one sentence and the options are not to be used.
LaunchOptions parseLaunchOptions(const QStringList& arguments, QString* error);

// What --help prints: usage, options, the headless commands (`commands`, their help lines)
// and the environment variables the program reads.
QString usageText(const QString& commands = {});
// What --version prints, e.g. "Portiqa 2.7".
QString versionText();

} // namespace portiqa
