// The installed command line as a user meets it: each way of starting the program with each
// kind of display (a working X server, none at all, one named but not answering), its exit
// code and the first line it prints.

#include "core/app/BuildInfo.h"
#include "support/TestSupport.h"
#include "support/X11Session.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace portiqa::test;

namespace {

enum class DisplayKind { Working, None, Unreachable };

struct Outcome {
    int exitCode;
    QString firstLine; // a prefix of the first line printed (stdout, then stderr)
};

struct Finished {
    int exitCode = -1;
    QString output;
};

// A display number nobody serves on this machine.
QString unreachableDisplay() {
    for (int n = 917;; ++n) {
        if (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n))) {
            return QStringLiteral(":%1").arg(n);
        }
    }
}

Finished runProgram(const QStringList& arguments, DisplayKind display) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    if (display == DisplayKind::None) {
        env.remove(QStringLiteral("DISPLAY"));
    } else if (display == DisplayKind::Unreachable) {
        env.insert(QStringLiteral("DISPLAY"), unreachableDisplay());
    }
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(programPath(), arguments);
    Finished run;
    if (!program.waitForFinished(20000)) {
        program.kill();
        program.waitForFinished();
        return run;
    }
    run.exitCode = program.exitCode();
    run.output =
        QString::fromLocal8Bit(program.readAllStandardOutput() + program.readAllStandardError());
    return run;
}

} // namespace

TEST(CommandLine, ExitCodeAndFirstLineWithEachKindOfDisplay) {
    const QString usage = QStringLiteral("用法：portiqa [选项] [图片]");
    const QString version = QStringLiteral("Portiqa ") + QString::fromUtf8(portiqa::build::version);
    const QString noDisplay = QStringLiteral("portiqa: 找不到显示器");
    QTemporaryDir settings;
    struct Case {
        QStringList arguments;
        Outcome withDisplay;
        Outcome withoutDisplay; // none and unreachable alike
    };
    const Case cases[] = {
        {{"--help"}, {0, usage}, {0, usage}},
        {{"-h"}, {0, usage}, {0, usage}},
        {{"--version"}, {0, version}, {0, version}},
        {{"-v"}, {0, version}, {0, version}},
        {{"--no-such-option"},
         {2, "portiqa: 未知选项“no-such-option”。"},
         {2, "portiqa: 未知选项“no-such-option”。"}},
        {{"--settings-dir"},
         {2, "portiqa: “--settings-dir”之后缺少值"},
         {2, "portiqa: “--settings-dir”之后缺少值"}},
        {{"a.jpg", "b.jpg"},
         {2, "portiqa: 一次只能打开一张图片"},
         {2, "portiqa: 一次只能打开一张图片"}},
        // A normal start: the window comes up and (for the test) closes at once.
        {{"--quit-after-show", "--settings-dir", settings.path()}, {0, ""}, {2, noDisplay}},
    };
    const bool haveDisplay = X11Session().connected();
    for (const Case& c : cases) {
        for (const DisplayKind display :
             {DisplayKind::Working, DisplayKind::None, DisplayKind::Unreachable}) {
            if (display == DisplayKind::Working && !haveDisplay) {
                continue; // the suite runs under xvfb-run; without it only the other two
            }
            SCOPED_TRACE(c.arguments.join(' ').toStdString() + " / display " +
                         std::to_string(static_cast<int>(display)));
            const Outcome& expected =
                display == DisplayKind::Working ? c.withDisplay : c.withoutDisplay;
            const Finished run = runProgram(c.arguments, display);
            EXPECT_EQ(run.exitCode, expected.exitCode) << run.output.toStdString();
            // (An empty prefix matches anything, including no output at all.)
            EXPECT_TRUE(expected.firstLine.isEmpty() ||
                        run.output.section('\n', 0, 0).startsWith(expected.firstLine))
                << run.output.toStdString();
        }
    }
}

TEST(CommandLine, HelpNamesWhatAUserCanSetAndNothingInternal) {
    const Finished run = runProgram({"--help"}, DisplayKind::None);
    for (const char* named : {"图片", "--settings-dir 目录", "--version", "PORTIQA_CAMERA",
                              "pattern:宽x高", "delay=", "xvfb-run", "portiqa crop"}) {
        EXPECT_TRUE(run.output.contains(QString::fromUtf8(named))) << named;
    }
    EXPECT_FALSE(run.output.contains("quit-after-show"));
}
