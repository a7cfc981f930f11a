#pragma once

// Owner of the quick-shoot mode flag and of the once-per-run reuse question. The camera
// window's check box switches through here; the settings window's confirmation and batch crop
// mode set the flag directly.
//
// Switching on with kept settings asks "是否沿用之前的速拍设置？" the first time in a run: Yes
// puts the stored output size back into the main window (and opens the roster window for naming
// by cell), No opens the settings window. Later switch-ons store the current size instead.
// Switching off closes the roster window.
//
// GUI thread only.

#include "core/settings/BatchSettings.h"
#include "core/settings/SettingsFile.h"

#include <functional>

namespace portiqa {

class Dialogs;

struct QuickShootSwitchSeams {
    std::function<void()> openSettingsWindow = [] {}; // modally
    std::function<bool()> rosterWindowOpen = [] { return false; };
    std::function<void()> openRosterWindow = [] {};
    std::function<void()> closeRosterWindow = [] {};
};

class QuickShootSwitch {
public:
    QuickShootSwitch(QuickShootSettings& settings, SettingsFile& file, OutputSizeEdits& edits,
                     Dialogs& dialogs, QuickShootSwitchSeams seams);

    bool isOn() const { return on_; }
    bool reuseAsked() const { return reuseAsked_; }

    // The check box was clicked to `ticked`.
    void boxClicked(bool ticked);
    // Set without the box's side effects (confirming the settings, batch crop switching on).
    void setOn(bool on) { on_ = on; }

    // The camera window opened while the mode is on: kept settings receive the current size.
    void cameraWindowOpened();

    static QString reuseQuestion() { return QStringLiteral("是否沿用之前的速拍设置？"); }

private:
    QuickShootSettings& settings_;
    SettingsFile& file_;
    OutputSizeEdits& edits_;
    Dialogs& dialogs_;
    QuickShootSwitchSeams seams_;
    bool on_ = false;
    bool reuseAsked_ = false;
};

} // namespace portiqa
