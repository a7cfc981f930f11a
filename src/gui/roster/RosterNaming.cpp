#include "gui/roster/RosterNaming.h"

#include "core/roster/RosterSheet.h"
#include "gui/app/FeatureLinks.h"

namespace portiqa {

QString rosterNamedPath(RosterSheet& roster, FeatureLinks& links, RosterMode mode,
                        const QString& folder, const QString& extension,
                        const std::function<void()>& openModeSettings) {
    switch (roster.checkRosterNaming(mode)) {
    case RosterNamingCheck::Proceed:
        return roster.outputPath(folder, extension);
    case RosterNamingCheck::OpenRosterWindow:
        links.openRosterWindow();
        break;
    case RosterNamingCheck::OpenModeSettings:
        if (openModeSettings)
            openModeSettings();
        break;
    case RosterNamingCheck::Refused:
        break;
    }
    return QString();
}

void advanceRosterAfterSave(RosterSheet& roster, RosterMode mode) {
    roster.advanceRosterRow(true, mode);
}

} // namespace portiqa
