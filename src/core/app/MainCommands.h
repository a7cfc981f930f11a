#pragma once

// The commands the main window's toolbar and menu start. The main window routes to them; the
// subsystems that own each command implement them (until a subsystem lands, its command does
// nothing).

namespace portiqa {

class MainCommands {
public:
    virtual ~MainCommands() = default;

    virtual void openPicture() = 0;
    virtual void savePicture() = 0;
    virtual void zoomIn() = 0;  // display scale x 1.02
    virtual void zoomOut() = 0; // display scale x 0.98
    virtual void turnClockwise() = 0;
    virtual void turnAnticlockwise() = 0;
    virtual void toggleEditor() = 0;
    // Toolbar variant leaves batch crop mode first; the menu variant does not.
    virtual void leaveBatchCropMode() = 0;
    virtual void openCamera() = 0;
    virtual void showHelpFile() = 0;
    virtual void openHomepage() = 0;
    virtual void showAbout() = 0;
};

} // namespace portiqa
