#include "gui/app/AppCommands.h"

#include "core/app/AppTexts.h"
#include "core/app/HelpFile.h"
#include "core/dialogs/Dialogs.h"
#include "core/output/SaveCommand.h"
#include "gui/app/FeatureLinks.h"
#include "gui/app/HelpWindow.h"
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
    const QString carriedPage = QStringLiteral(":/help/help.html");
    QFile carried(carriedPage);
    if (!carried.open(QIODevice::ReadOnly)) {
        return;
    }
    const QString path =
        window_.services().location.helpFolder + QLatin1Char('/') + texts::helpFileName();
    const bool written = installHelpFile(path, carried.readAll()) != HelpFileResult::Failed;
    // No launcher, a launcher that finds no browser, or a folder the page cannot be written
    // to: the program shows the page itself.
    const QUrl page =
        written ? QUrl::fromLocalFile(path) : QUrl(QStringLiteral("qrc") + carriedPage);
    auto showBuiltIn = [this, page] { showHelpWindow(page); };
    if (!written || !openWithDesktop(page, showBuiltIn)) {
        showBuiltIn();
    }
}

void AppCommands::showHelpWindow(const QUrl& page) {
    if (helpWindow_ == nullptr) {
        helpWindow_ = new HelpWindow(&window_);
    }
    helpWindow_->showPage(page);
}

HelpWindow* AppCommands::helpWindow() const {
    return helpWindow_;
}

void AppCommands::openHomepage() {
    const QString address = texts::homepage();
    auto tellAddress = [this, address] {
        window_.dialogs().inform(QStringLiteral("提示"),
                                 QStringLiteral("无法打开浏览器，请手动访问软件主页：\r\n") +
                                     address);
    };
    if (!openWithDesktop(QUrl(address), tellAddress)) {
        tellAddress();
    }
}

bool AppCommands::openWithDesktop(const QUrl& url, const std::function<void()>& failedLater) {
    return window_.services().openUrl && window_.services().openUrl(url, failedLater);
}

void AppCommands::showAbout() {
    window_.dialogs().message(texts::aboutCaption(), texts::aboutText(), MessageIcon::None,
                              MessageButtons::Ok);
}

} // namespace portiqa
