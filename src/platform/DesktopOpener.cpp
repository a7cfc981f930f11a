#include "platform/DesktopOpener.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

namespace portiqa::platform {

DesktopOpener::DesktopOpener(QString launcher, QObject* parent)
    : QObject(parent), launcher_(std::move(launcher)) {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    if (launcher_.isEmpty()) {
        launcher_ = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    }
#endif
}

DesktopOpener::~DesktopOpener() {
    // A launcher still running (one that waits for the browser it started) is let go, not
    // killed: the browser window stays open after the program ends.
    for (QProcess* process : findChildren<QProcess*>()) {
        process->disconnect(this);
        process->setParent(nullptr);
    }
}

bool DesktopOpener::open(const QUrl& url, const std::function<void()>& failedLater) {
    if (launcher_.isEmpty()) {
        return QDesktopServices::openUrl(url);
    }
    auto* process = new QProcess(this);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    connect(process, &QProcess::finished, this,
            [process, failedLater](int exitCode, QProcess::ExitStatus status) {
                process->deleteLater();
                if ((status != QProcess::NormalExit || exitCode != 0) && failedLater) {
                    failedLater();
                }
            });
    process->start(launcher_,
                   {url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded)});
    if (!process->waitForStarted(5000)) {
        process->disconnect(this);
        process->deleteLater();
        return false;
    }
    return true;
}

} // namespace portiqa::platform
