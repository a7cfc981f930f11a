// Start-up time: the program's process start with an immediate exit (--version) as the
// baseline, against a full start to the first shown main window (--quit-after-show), both on
// Qt's offscreen platform so no display is needed. Also the in-process time from building the
// main window to its first show.

#include "BenchSupport.h"

#include "gui/app/PortiqaApp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

double runProgramMs(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    process.start(QStringLiteral(PORTIQA_BINARY), arguments);
    process.waitForFinished(30000);
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const int runs = 7;

    const double versionMs =
        portiqa::bench::bestMs(runs, [] { runProgramMs({QStringLiteral("--version")}); });
    const double shownMs = portiqa::bench::bestMs(runs, [&] {
        runProgramMs({QStringLiteral("--quit-after-show"), QStringLiteral("--settings-dir"),
                      dir.filePath(QStringLiteral("s"))});
    });
    std::printf("process with early exit (--version)      %8.2f ms\n", versionMs);
    std::printf("process start to shown window and exit  %8.2f ms  (%.2fx the early exit)\n",
                shownMs, versionMs > 0 ? shownMs / versionMs : 0.0);

    const double inProcessMs = portiqa::bench::bestMs(runs, [&] {
        portiqa::LaunchOptions options;
        options.settingsDir = dir.filePath(QStringLiteral("s"));
        portiqa::PortiqaApp portiqa(options);
        portiqa.start();
        QApplication::processEvents();
    });
    std::printf("in-process: build main window to shown  %8.2f ms  (goal < 300 ms)\n", inProcessMs);
    return 0;
}
