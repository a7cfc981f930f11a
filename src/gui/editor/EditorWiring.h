#pragma once

// Joins the editor to the program: the 编辑 command, the pending-text commit that the
// workspace commands, the size fields and the save run first, the links other features call,
// the text box's effect on the picture-area hint, and the tool window's start-up place.

namespace portiqa {

class AppCommands;
class Dialogs;
class EditorController;
class MainWindow;
class WorkspaceController;
struct FeatureLinks;

// The controller is owned by the window.
EditorController* connectEditor(MainWindow& window, WorkspaceController& workspace,
                                AppCommands& commands, FeatureLinks& links, Dialogs& dialogs);

} // namespace portiqa
