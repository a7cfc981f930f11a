#include "gui/face/AutoFrameFeature.h"

#include "core/face/FaceFinder.h"

#include "gui/app/FeatureLinks.h"
#include "gui/app/MainWindow.h"
#include "gui/face/QuickShootFaceFollow.h"
#include "gui/workspace/WorkspaceController.h"

#include <QAction>
#include <QMenu>

namespace portiqa {

AutoFrameFeature::AutoFrameFeature(MainWindow& window, WorkspaceController& workspace,
                                   Dialogs& dialogs, FeatureLinks& links)
    : setting_(window.services().location.settingsFolder, dialogs) {
    framer_ = std::make_unique<AutoFramer>(
        workspace.workspace(), detector_, dialogs,
        [&window](const QString& text) { window.setStatusHint(text); });
    framer_->setAutomatic(setting_.enabled());

    AutoFramer* framerForLinks = framer_.get();
    links.autoFrameOn = [framerForLinks] { return framerForLinks->automatic(); };
    links.findFaces = FaceFinder::searchWith(detector_);
    links.prefetchedFaces = [framerForLinks](PicturePyramidPtr picture, DetectedFaces faces) {
        framerForLinks->acceptPrefetchedFaces(std::move(picture), std::move(faces));
    };

    QMenu* menu = window.fileMenu();
    if (menu == nullptr) {
        return;
    }
    command_ = menu->addAction(commandText());
    command_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    command_->setShortcutContext(Qt::WindowShortcut);
    automatic_ = menu->addAction(automaticText());
    automatic_->setCheckable(true);
    automatic_->setChecked(framer_->automatic());

    AutoFramer* framer = framer_.get();
    QWidget* area = window.controls().pictureArea;
    QObject::connect(command_, &QAction::hovered, framer, [&window] {
        window.setStatusHint(
            QStringLiteral("按证件照标准缩放图片并放置采集框（Ctrl+F），之后可照常微调"));
    });
    QObject::connect(automatic_, &QAction::hovered, framer, [&window] {
        window.setStatusHint(QStringLiteral("打开、粘贴、拍照或批量切换图片时自动框选人脸"));
    });
    QObject::connect(command_, &QAction::triggered, framer, [framer, area] {
        framer->frameNow();
        area->setFocus();
    });
    QObject::connect(automatic_, &QAction::toggled, framer, [this](bool on) {
        framer_->setAutomatic(on);
        setting_.setEnabled(on);
    });
}

AutoFrameFeature::~AutoFrameFeature() = default;

void AutoFrameFeature::followQuickShootFrame(CameraFeature& camera, const FeatureLinks& links) {
    follow_ = std::make_unique<QuickShootFaceFollow>(camera, links, detector_);
}

} // namespace portiqa
