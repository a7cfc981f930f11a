#include "core/camera/QuickShootSwitch.h"

#include "core/dialogs/Dialogs.h"

namespace portiqa {

QuickShootSwitch::QuickShootSwitch(QuickShootSettings& settings, SettingsFile& file,
                                   OutputSizeEdits& edits, Dialogs& dialogs,
                                   QuickShootSwitchSeams seams)
    : settings_(settings), file_(file), edits_(edits), dialogs_(dialogs), seams_(std::move(seams)) {
}

void QuickShootSwitch::boxClicked(bool ticked) {
    on_ = ticked;
    if (!on_) {
        if (seams_.rosterWindowOpen()) {
            seams_.closeRosterWindow();
        }
        return;
    }
    if (settings_.settingsSaved) {
        if (!reuseAsked_) {
            // Marked first: whatever the answer opens must not ask again.
            reuseAsked_ = true;
            if (dialogs_.ask(QStringLiteral("询问："), reuseQuestion())) {
                file_.reuseOutputSize(BatchKind::QuickShoot, settings_.format, edits_);
                if (namingBehaviour(BatchKind::QuickShoot, settings_.namingMode) ==
                        NamingBehaviour::RosterCell &&
                    !seams_.rosterWindowOpen()) {
                    seams_.openRosterWindow();
                }
            } else {
                seams_.openSettingsWindow();
            }
        } else {
            file_.quickShootSizeNeeded(edits_, true, settings_);
        }
    }
    reuseAsked_ = true;
}

void QuickShootSwitch::cameraWindowOpened() {
    file_.quickShootSizeNeeded(edits_, on_, settings_);
}

} // namespace portiqa
