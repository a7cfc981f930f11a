#pragma once

// The program's command table: what each toolbar button and menu item does. Commands whose
// subsystem is not part of the program yet do nothing.

#include "core/app/MainCommands.h"

#include <functional>

namespace portiqa {

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

    void openPicture() override;
    void savePicture() override;
    void zoomIn() override;
    void zoomOut() override;
    void turnClockwise() override;
    void turnAnticlockwise() override;
    void toggleEditor() override {}
    void leaveBatchCropMode() override;
    void openCamera() override;
    void showHelpFile() override;
    void openHomepage() override;
    void showAbout() override;

private:
    MainWindow& window_;
    WorkspaceController* workspace_ = nullptr;
    SaveCommand* save_ = nullptr;
    FeatureLinks* links_ = nullptr;
};

} // namespace portiqa
