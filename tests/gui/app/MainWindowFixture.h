#pragma once

// A main window started the way the program starts it, with scripted dialogs, a temporary
// settings folder and a recorder instead of the desktop's URL handler.

#include "gui/app/MainWindow.h"
#include "support/ScriptedDialogs.h"

#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace portiqa::test {

struct StartedMainWindow {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    QList<QUrl> openedUrls;
    // How the desktop's opener behaves: it opens, has no launcher at all, or starts a launcher
    // that then fails (xdg-open without a browser).
    enum class Opener { Opens, FailsAtOnce, FailsLater };
    Opener opener = Opener::Opens;
    std::unique_ptr<MainWindow> window;

    StartedMainWindow() {
        AppServices services;
        services.dialogs = &dialogs;
        services.location.programDir = dir.path();
        services.location.settingsFolder = dir.path() + QStringLiteral("/settings");
        services.location.helpFolder = dir.path();
        services.openUrl = [this](const QUrl& url, const std::function<void()>& failedLater) {
            openedUrls.append(url);
            if (opener == Opener::FailsLater) {
                QTimer::singleShot(0, window.get(), failedLater);
            }
            return opener != Opener::FailsAtOnce;
        };
        window = std::make_unique<MainWindow>(std::move(services));
        window->startUp();
    }
};

} // namespace portiqa::test
