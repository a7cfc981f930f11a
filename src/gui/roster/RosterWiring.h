#pragma once

// Puts the roster window into the program: fills the roster entries of FeatureLinks and the
// main window's shutdown step that lets the roster go.

#include <memory>

namespace portiqa {

class PortiqaApp;
class RosterWindow;

std::unique_ptr<RosterWindow> wireRosterWindow(PortiqaApp& app);

} // namespace portiqa
