#pragma once

// The whole program on the offscreen platform with the test-pattern camera and scripted
// dialogs, its settings in a temporary folder.

#include "core/ini/IniFile.h"
#include "core/settings/NamingModes.h"
#include "gui/app/MainWindow.h"
#include "gui/app/PortiqaApp.h"
#include "gui/camera/CameraFeature.h"
#include "gui/camera/CameraWindow.h"
#include "platform/camera/PatternCamera.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

namespace portiqa::test {

struct CameraApp {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    PatternCamera* camera = nullptr; // owned by the app
    std::unique_ptr<PortiqaApp> app;

    // `keptQuickSettings`: INI lines written to "批量速拍" before the start.
    explicit CameraApp(QSize pattern = {640, 480},
                       const QList<std::pair<QString, QString>>& keptQuickSettings = {}) {
        if (!keptQuickSettings.isEmpty()) {
            QDir().mkpath(settingsFolder());
            IniFile ini(settingsFolder() + QStringLiteral("/set.dll"));
            for (const auto& [key, value] : keptQuickSettings) {
                ini.write(QStringLiteral("批量速拍"), key, value);
            }
        }
        auto backend = std::make_unique<PatternCamera>(pattern);
        camera = backend.get();
        LaunchOptions options;
        options.settingsDir = settingsFolder();
        app = std::make_unique<PortiqaApp>(options, &dialogs, std::move(backend));
        app->start();
    }

    QString settingsFolder() const { return dir.filePath(QStringLiteral("settings")); }

    // Quick-shoot writes PNG files named by sequence (0001.png, ...) into a new folder `name`
    // of the temporary folder; returns its path.
    QString quickShootIntoFolder(const QString& name) {
        const QString folder = dir.filePath(name);
        QDir().mkpath(folder);
        QuickShootSettings& settings = app->quickShootSettings();
        settings.saveFolder = folder;
        settings.format = QStringLiteral(".PNG");
        settings.namingIndex = 1;
        settings.namingMode = namingModeText(BatchKind::QuickShoot, 1);
        return folder;
    }

    CameraWindow* openCamera() {
        app->links().openCameraWindow();
        return app->camera().window();
    }
};

// Runs `act` on the dialog of type T once it is shown; call before the action that opens it
// modally.
template <typename T> void whenModal(std::function<void(T*)> act) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<T*>(widget);
            if (dialog != nullptr && dialog->isVisible()) {
                poll->stop();
                poll->deleteLater();
                act(dialog);
                return;
            }
        }
    });
    poll->start();
}

} // namespace portiqa::test
