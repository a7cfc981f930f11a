#pragma once

// A main window started the way the program starts it, with scripted dialogs, a temporary
// settings folder and a recorder instead of the desktop's URL handler.

#include "gui/app/MainWindow.h"
#include "support/ScriptedDialogs.h"

#include <QTemporaryDir>
#include <QUrl>

#include <memory>

namespace portiqa::test {

struct StartedMainWindow {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    QList<QUrl> openedUrls;
    bool urlOpenerWorks = true; // false: the desktop has no launcher
    std::unique_ptr<MainWindow> window;

    StartedMainWindow() {
        AppServices services;
        services.dialogs = &dialogs;
        services.location.programDir = dir.path();
        services.location.settingsFolder = dir.path() + QStringLiteral("/settings");
        services.location.helpFolder = dir.path();
        services.openUrl = [this](const QUrl& url) {
            openedUrls.append(url);
            return urlOpenerWorks;
        };
        window = std::make_unique<MainWindow>(std::move(services));
        window->startUp();
    }
};

} // namespace portiqa::test
