#pragma once

// What the batch task file shows goes into the photo workspace and the main window's title.

#include "core/batch/BatchTaskFile.h"

namespace portiqa {

class MainWindow;
class WorkspaceController;

class WorkspaceTaskView final : public TaskPictureView {
public:
    WorkspaceTaskView(MainWindow& window, WorkspaceController& workspace)
        : window_(window), workspace_(workspace) {}

    void loadPictureFile(const QString& path) override;
    void clearPicturePanels() override;
    void setWindowTitle(const QString& title) override;

private:
    MainWindow& window_;
    WorkspaceController& workspace_;
};

} // namespace portiqa
