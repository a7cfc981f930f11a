#pragma once

// The program's command table: what each toolbar button and menu item does. Commands whose
// subsystem is not part of the program yet do nothing.

#include "core/app/MainCommands.h"

#include <QPointer>
#include <QUrl>

#include <functional>

namespace portiqa {

class HelpWindow;
class MainWindow;
struct FeatureLinks;
class SaveCommand;
class WorkspaceController;

class AppCommands : public MainCommands {
public:
    explicit AppCommands(MainWindow& window) : window_(window) {}

    // The photo workspace behind open, zoom and turn; without one they do nothing.
    void setWorkspace(WorkspaceController* workspace) { workspace_ = workspace; }
    void setSaveCommand(SaveCommand* save) { save_ = save; }
    // How the commands reach the features (batch crop, camera).
    void setLinks(FeatureLinks* links) { links_ = links; }
    // The editor's tool window; without one 编辑 does nothing.
    void setEditorToggle(std::function<void()> toggle) { toggleEditor_ = std::move(toggle); }

    void openPicture() override;
    void savePicture() override;
    void zoomIn() override;
    void zoomOut() override;
    void turnClockwise() override;
    void turnAnticlockwise() override;
    void toggleEditor() override {
        if (toggleEditor_) {
            toggleEditor_();
        }
    }
    void leaveBatchCropMode() override;
    void openCamera() override;
    // Opens the help page with the desktop's handler; where the desktop cannot, the page is
    // shown in the program's own help window.
    void showHelpFile() override;
    // Opens the home page; where the desktop cannot, a message shows its address.
    void openHomepage() override;
    void showAbout() override;

    // The built-in help window once it has been needed, else null.
    HelpWindow* helpWindow() const;

private:
    void showHelpWindow(const QUrl& page);
    bool openWithDesktop(const QUrl& url, const std::function<void()>& failedLater);

    MainWindow& window_;
    QPointer<HelpWindow> helpWindow_; // owned by the main window
    WorkspaceController* workspace_ = nullptr;
    SaveCommand* save_ = nullptr;
    FeatureLinks* links_ = nullptr;
    std::function<void()> toggleEditor_;
};

} // namespace portiqa
