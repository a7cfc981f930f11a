#pragma once

// Opens files and addresses with the desktop's own handler (the help page in a browser, the
// home page). Unlike a bare "start the launcher and forget it", a failure the launcher reports
// after it started (xdg-open finding no browser on a kiosk, exit codes 3 and 4) comes back to
// the caller, so the program can offer its own way instead of leaving a line on a terminal.

#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>

namespace portiqa::platform {

class DesktopOpener : public QObject {
    Q_OBJECT
public:
    // `launcher` is the program that opens a file or address given as its one argument; empty
    // for xdg-open from PATH. Where there is none, Qt's own desktop services are asked.
    explicit DesktopOpener(QString launcher = {}, QObject* parent = nullptr);
    ~DesktopOpener() override;

    // False when nothing could be started. When the launcher started but ends with a failure,
    // `failedLater` runs afterwards on this object's thread (the GUI thread).
    bool open(const QUrl& url, const std::function<void()>& failedLater);

private:
    QString launcher_;
};

} // namespace portiqa::platform
