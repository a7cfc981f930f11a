#include "gui/roster/RosterWiring.h"

#include "core/roster/RosterSheet.h"
#include "gui/app/MainWindow.h"
#include "gui/app/PortiqaApp.h"
#include "gui/roster/RosterWindow.h"

namespace portiqa {

std::unique_ptr<RosterWindow> wireRosterWindow(PortiqaApp& app) {
    FeatureLinks& links = app.links();
    auto window = std::make_unique<RosterWindow>(
        app.roster(),
        [&links] { return rosterModeFor(links.batchCropMode(), links.quickShootMode()); },
        &app.window());
    RosterWindow* roster = window.get();
    links.rosterWindowOpen = [roster] { return roster->isOpen(); };
    links.openRosterWindow = [roster] { roster->open(); };
    links.closeRosterWindow = [roster] { roster->closeWindow(); };
    links.retargetRosterToCropping = [roster] {
        if (roster->isOpen())
            roster->retargetToCropping();
    };
    links.retargetRosterToShooting = [roster] {
        if (roster->isOpen())
            roster->retargetToShooting();
    };
    // The main window's closing releases the workbook and takes the roster window with it.
    app.window().lifecycleSteps().releaseRosterIfLoaded = [roster] { roster->closeWindow(); };
    return window;
}

} // namespace portiqa
