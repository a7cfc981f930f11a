#include "gui/app/WorkspaceTaskView.h"

#include "core/workspace/PhotoWorkspace.h"
#include "gui/app/MainWindow.h"
#include "gui/workspace/WorkspaceController.h"

namespace portiqa {

void WorkspaceTaskView::loadPictureFile(const QString& path) {
    workspace_.openFile(path); // reports a picture that cannot be read itself
}

void WorkspaceTaskView::clearPicturePanels() {
    workspace_.loader().showNothing();
}

void WorkspaceTaskView::setWindowTitle(const QString& title) {
    window_.setWindowTitle(title);
}

} // namespace portiqa
