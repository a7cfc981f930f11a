#pragma once

// Joins the photo workspace to the main window's controls: the picture area, scroll bars,
// frame-move buttons and their timer, the capture panel, the frame colour, file drops, the
// hover hint's picture flag and the layout on every size change.

namespace portiqa {

class MainWindow;
class WorkspaceController;

void connectWorkspace(MainWindow& window, WorkspaceController& workspace);

} // namespace portiqa
