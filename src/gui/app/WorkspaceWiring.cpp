#include "gui/app/WorkspaceWiring.h"

#include "core/workspace/PhotoWorkspace.h"
#include "gui/app/ColourPickerButton.h"
#include "gui/app/MainWindow.h"
#include "gui/workspace/WorkspaceController.h"

namespace portiqa {

void connectWorkspace(MainWindow& window, WorkspaceController& workspace) {
    const MainControls& c = window.controls();
    workspace.attachScrollBars(c.horizontalBar, c.verticalBar);
    workspace.attachMoveButtons(c.moveUpButton, c.moveDownButton, c.moveLeftButton,
                                c.moveRightButton, c.frameTimer);
    workspace.attachCapturePanel(c.capturePanel);
    workspace.acceptDropsOn(c.client);
    workspace.setFrameColour(c.colourPicker->colour());

    QObject::connect(c.colourPicker, &ColourPickerButton::colourChosen, &workspace,
                     &WorkspaceController::setFrameColour);
    QObject::connect(&window, &MainWindow::clientLeftButtonReleased, &workspace,
                     [&workspace] { workspace.workspace().releasePointer(); });
    // The window places its controls; the workspace re-centres the frame and redraws.
    QObject::connect(&window, &MainWindow::clientResized, &workspace,
                     &WorkspaceController::layoutMainWindow);
    workspace.layoutMainWindow(window.effectiveWidth(), window.effectiveHeight());

    window.hintSources().pictureLoaded = [&workspace] {
        return workspace.workspace().pictureLoaded();
    };
    // What the status bar said of a picture (its framing, its background, its save) goes
    // with it.
    QObject::connect(&workspace.workspace(), &PhotoWorkspace::pictureDropped, &window,
                     [&window] { window.setStatusHint(window.restingHint()); });
}

} // namespace portiqa
