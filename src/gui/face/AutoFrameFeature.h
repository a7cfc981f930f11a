#pragma once

// The face framing in the main window: the items "自动框选人脸" (Ctrl+F) and the checkable
// "显示图片时自动框选人脸" at the end of menu 文件, the stored switch, and the detector and
// framer they drive. The application object owns one for the life of the window.

#include "core/face/AutoFramer.h"
#include "core/face/AutoFrameSetting.h"
#include "core/face/FaceDetector.h"

#include <memory>

class QAction;

namespace portiqa {

class CameraFeature;
class Dialogs;
struct FeatureLinks;
class QuickShootFaceFollow;
class MainWindow;
class WorkspaceController;

class AutoFrameFeature {
public:
    static QString commandText() { return QStringLiteral("自动框选人脸"); }
    static QString automaticText() { return QStringLiteral("显示图片时自动框选人脸"); }

    // Fills the face framing entries of `links`.
    AutoFrameFeature(MainWindow& window, WorkspaceController& workspace, Dialogs& dialogs,
                     FeatureLinks& links);
    ~AutoFrameFeature();

    AutoFramer& framer() { return *framer_; }
    // Lets the quick-shoot frame follow the face on the camera preview.
    void followQuickShootFrame(CameraFeature& camera, const FeatureLinks& links);
    QuickShootFaceFollow* quickShootFollow() const { return follow_.get(); }
    QAction* commandAction() const { return command_; }
    QAction* automaticAction() const { return automatic_; }

private:
    FaceDetector detector_;
    AutoFrameSetting setting_;
    std::unique_ptr<AutoFramer> framer_;
    std::unique_ptr<QuickShootFaceFollow> follow_;
    QAction* command_ = nullptr;   // owned by the menu
    QAction* automatic_ = nullptr; // owned by the menu
};

} // namespace portiqa
