#include "gui/app/AppCommands.h"

#include "core/app/AppTexts.h"
#include "core/app/HelpFile.h"
#include "core/dialogs/Dialogs.h"
#include "core/output/SaveCommand.h"
#include "gui/app/FeatureLinks.h"
#include "gui/app/MainWindow.h"
#include "gui/workspace/WorkspaceController.h"

#include <QFile>

namespace portiqa {

void AppCommands::openPicture() {
    if (workspace_ != nullptr) {
        workspace_->openPicture();
    }
}

void AppCommands::savePicture() {
    if (save_ != nullptr) {
        save_->savePicture();
    }
}

void AppCommands::zoomIn() {
    if (workspace_ != nullptr) {
        workspace_->zoomIn();
    }
}

void AppCommands::zoomOut() {
    if (workspace_ != nullptr) {
        workspace_->zoomOut();
    }
}

void AppCommands::turnClockwise() {
    if (workspace_ != nullptr) {
        workspace_->turn(true);
    }
}

void AppCommands::turnAnticlockwise() {
    if (workspace_ != nullptr) {
        workspace_->turn(false);
    }
}

void AppCommands::leaveBatchCropMode() {
    if (links_ != nullptr) {
        links_->leaveBatchCropMode();
    }
}

void AppCommands::openCamera() {
    if (links_ != nullptr) {
        links_->openCameraWindow();
    }
}

void AppCommands::showHelpFile() {
    QFile carried(QStringLiteral(":/help/help.html"));
    if (!carried.open(QIODevice::ReadOnly)) {
        return;
    }
    const QString path =
        window_.services().location.helpFolder + QLatin1Char('/') + texts::helpFileName();
    // A page that cannot be written is not reported: opening then shows the desktop's own
    // error, as with any missing document.
    installHelpFile(path, carried.readAll());
    if (window_.services().openUrl) {
        window_.services().openUrl(QUrl::fromLocalFile(path));
    }
}

void AppCommands::openHomepage() {
    if (window_.services().openUrl) {
        window_.services().openUrl(QUrl(texts::homepage()));
    }
}

void AppCommands::showAbout() {
    window_.dialogs().message(texts::aboutCaption(), texts::aboutText(), MessageIcon::None,
                              MessageButtons::Ok);
}

} // namespace portiqa
