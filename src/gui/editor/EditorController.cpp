#include "gui/editor/EditorController.h"

#include "core/dialogs/Dialogs.h"
#include "core/editor/TextToolFont.h"
#include "core/workspace/PhotoWorkspace.h"
#include "gui/app/FeatureLinks.h"
#include "gui/app/MainWindow.h"
#include "gui/editor/BrushTool.h"
#include "gui/editor/EditCommits.h"
#include "gui/editor/EditorEventWatch.h"
#include "gui/editor/EditorToolOptions.h"
#include "gui/editor/EditorWindow.h"
#include "gui/editor/TextTool.h"
#include "gui/workspace/PictureAreaWidget.h"
#include "gui/workspace/WorkspaceController.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>

#include <optional>

namespace portiqa {

namespace {

const QString kCaption = QStringLiteral("提示");

QString noPictureMessage() {
    return QStringLiteral("请打开一张图片或拍照一幅图象再进行操作。");
}

QCursor loadCursor(const QString& path, int hotX, int hotY, Qt::CursorShape fallback) {
    const QPixmap pixmap(path);
    return pixmap.isNull() ? QCursor(fallback) : QCursor(pixmap, hotX, hotY);
}

} // namespace

EditorController::EditorController(MainWindow& window, WorkspaceController& workspace,
                                   FeatureLinks& links, Dialogs& dialogs)
    : QObject(&window), window_(window), workspace_(workspace), photo_(workspace.workspace()),
      links_(links), dialogs_(dialogs),
      brushCursor_(loadCursor(QStringLiteral(":/editor/brush_cursor.png"), 8, 23, Qt::CrossCursor)),
      eyedropperCursor_(
          loadCursor(QStringLiteral(":/editor/eyedropper_cursor.png"), 9, 24, Qt::CrossCursor)) {
    toolWindow_ = new EditorWindow(dialogs, &window);
    toolWindow_->hide();
    toolWindow_->followMainWindow(window.pos());
    commits_ = new EditCommits(photo_, dialogs_, this);
    text_ = new TextTool(
        *window.controls().textEntry, photo_, [this] { workspace_.waitForPicture(); },
        [this] { commits_->commit(); }, this);
    brush_ = std::make_unique<BrushTool>(
        photo_, [this] { workspace_.waitForPicture(); }, [this] { commits_->commit(); });
    commits_->setStrokeHeld([this] { return brush_->held(); });
    options_ = new EditorToolOptions(
        *toolWindow_, *text_,
        [this] {
            if (brushActive()) {
                recomposeIfLoaded();
            }
        },
        this);
    new EditorEventWatch(
        window_, *toolWindow_, text_->entry(),
        {[this] { finishPendingStroke(); }, [this] { endTools(); }, [this] { chooseFont(); }},
        this);
    connectWindows();
}

void EditorController::connectWindows() {
    EditorWindow& w = *toolWindow_;
    connect(w.brushBox, &QCheckBox::clicked, this,
            [this](bool ticked) { toolBoxClicked(EditorTool::Brush, ticked); });
    connect(w.textBox, &QCheckBox::clicked, this,
            [this](bool ticked) { toolBoxClicked(EditorTool::Text, ticked); });
    connect(w.eyedropperBox, &QCheckBox::clicked, this,
            [this](bool ticked) { toolBoxClicked(EditorTool::Eyedropper, ticked); });
    connect(text_, &TextTool::placed, this, [this] { window_.setStatusHint(QString()); });

    if (PictureAreaWidget* area = workspace_.pictureArea()) {
        area->setPointerHook([this](QMouseEvent* event) { return pointerEvent(event); });
        connect(area, &PictureAreaWidget::rightButtonPressed, this, &EditorController::endTools);
    }
    connect(&window_, &MainWindow::windowMoved, toolWindow_, &EditorWindow::followMainWindow);
    connect(&window_, &MainWindow::clientResized, this, [this] {
        if (photo_.pictureLoaded()) {
            reapplyCursor(false);
        }
    });
    connect(&window_, &MainWindow::clientLeftButtonReleased, this,
            &EditorController::finishPendingStroke);
    connect(&photo_, &PhotoWorkspace::newPictureShown, this, [this] { reapplyCursor(true); });
    // A picture from a file drops the typed line once it is on show (a failed load keeps it).
    connect(&workspace_.loader(), &WorkspaceLoader::loadEnded, this, [this](bool shown) {
        if (shown) {
            discardPendingText();
        }
    });
    commits_->addKeysTo(&window_);
}

EditorController::~EditorController() {
    if (PictureAreaWidget* area = workspace_.pictureArea()) {
        area->setPointerHook({});
    }
}

EditHistory& EditorController::history() {
    return commits_->history();
}

bool EditorController::strokeHeld() const {
    return brush_->held();
}

QColor EditorController::colour() const {
    return options_->colour();
}

int EditorController::brushWidth() const {
    return options_->brushWidth();
}

void EditorController::applyColour(const QColor& colour) {
    options_->applyColour(colour);
}

// --- the window ---------------------------------------------------------------------------

void EditorController::toggleEditor() {
    if (!photo_.pictureLoaded()) {
        dialogs_.inform(kCaption, noPictureMessage(), MessageIcon::None);
        return;
    }
    if (!open_) {
        toolWindow_->followMainWindow(window_.pos());
        toolWindow_->show();
        open_ = true;
        window_.controls().focusBox->setFocus(Qt::OtherFocusReason);
    } else {
        if (textActive()) {
            commitPendingText();
            restoreHotkeysInBatchMode();
        }
        finishPendingStroke();
        toolWindow_->hide();
        open_ = false;
        setActive(EditorTool::None);
        text_->entry().hide();
        setAreaCursor(Qt::ArrowCursor);
        recomposeIfLoaded(); // no brush outline left behind
    }
    focusPictureArea();
}

// --- tools --------------------------------------------------------------------------------

void EditorController::setActive(EditorTool tool) {
    tool_ = tool;
    toolWindow_->brushBox->setChecked(tool == EditorTool::Brush);
    toolWindow_->textBox->setChecked(tool == EditorTool::Text);
    toolWindow_->eyedropperBox->setChecked(tool == EditorTool::Eyedropper);
}

void EditorController::restoreHotkeysInBatchMode() {
    if (links_.batchCropMode()) {
        links_.restoreBatchHotkeys();
    }
}

void EditorController::endTextTool() {
    text_->commitPending();
    restoreHotkeysInBatchMode();
}

void EditorController::toolBoxClicked(EditorTool box, bool ticked) {
    if (!ticked) {
        finishPendingStroke();
        const bool wasText = box == EditorTool::Text && textActive();
        if (tool_ == box) {
            setActive(EditorTool::None);
        }
        setAreaCursor(Qt::ArrowCursor);
        if (box == EditorTool::Brush) {
            recomposeIfLoaded(); // the outline goes
        }
        if (wasText) {
            restoreHotkeysInBatchMode();
            text_->commitPending();
        }
        if (box != EditorTool::Text) {
            focusPictureArea();
        }
        return;
    }
    finishPendingStroke();
    if (box == EditorTool::Text) {
        links_.releaseBatchHotkeys();
        if (brushActive()) {
            recomposeIfLoaded();
        }
        setActive(EditorTool::Text);
        setAreaCursor(Qt::IBeamCursor);
        return;
    }
    if (brushActive() && box == EditorTool::Eyedropper) {
        recomposeIfLoaded();
    }
    if (textActive()) {
        endTextTool();
    }
    setActive(box);
    setAreaCursor(box == EditorTool::Brush ? brushCursor_ : eyedropperCursor_);
    focusPictureArea();
}

void EditorController::endTools() {
    finishPendingStroke();
    if (textActive()) {
        text_->commitPending();
        restoreHotkeysInBatchMode();
    }
    setAreaCursor(Qt::ArrowCursor);
    setActive(EditorTool::None);
    text_->entry().hide();
    recomposeIfLoaded();
}

void EditorController::commitPendingText() {
    if (textActive()) {
        text_->commitPending();
    }
}

void EditorController::discardPendingText() {
    text_->discard();
}

void EditorController::finishTextForSave() {
    if (!textActive()) {
        return;
    }
    setActive(EditorTool::None);
    setAreaCursor(Qt::ArrowCursor);
    endTextTool();
}

void EditorController::reapplyCursor(bool withText) {
    if (!open_) {
        return;
    }
    if (brushActive()) {
        setAreaCursor(brushCursor_);
    } else if (eyedropperActive()) {
        setAreaCursor(eyedropperCursor_);
    } else if (textActive() && withText) {
        setAreaCursor(Qt::IBeamCursor);
    }
}

// --- the pointer on the picture area -----------------------------------------------------

bool EditorController::pointerEvent(QMouseEvent* event) {
    if (tool_ == EditorTool::None || !photo_.pictureLoaded()) {
        return false;
    }
    const QPoint point = event->position().toPoint();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (eyedropperActive()) {
            setAreaCursor(eyedropperCursor_);
            pickFromView(point);
        } else if (textActive()) {
            setAreaCursor(Qt::IBeamCursor);
        } else {
            brush_->press(point, brushWidth(), colour());
        }
        return true;
    case QEvent::MouseMove:
        if (brushActive()) {
            if (brush_->held()) {
                brush_->moveHeld(point, brushWidth(), colour());
            } else {
                brush_->hover(point, brushWidth(), colour());
            }
        }
        return true;
    case QEvent::MouseButtonRelease:
        if (brushActive() && brush_->held()) {
            // The area keeps the pointer while the button is down, so this is also the
            // release of a stroke that ended outside it.
            brush_->finish();
        } else if (textActive()) {
            text_->placeAt(point);
        }
        return true;
    default:
        return false;
    }
}

void EditorController::pickFromView(QPoint point) {
    const QImage& view = photo_.view();
    if (view.valid(point)) {
        options_->pickColour(QColor(view.pixel(point)));
    }
}

void EditorController::finishPendingStroke() {
    if (brushActive()) {
        brush_->finish();
    }
    brush_->release();
}

void EditorController::undo() {
    commits_->undo();
}

void EditorController::redo() {
    commits_->redo();
}

void EditorController::chooseFont() {
    if (brushActive()) {
        recomposeIfLoaded();
    }
    if (textActive()) {
        text_->commitPending();
    }
    const std::optional<QFont> chosen = dialogs_.chooseFont(TextToolFont::dialogPreset());
    if (!chosen) {
        return;
    }
    text_->setFont(*chosen);
    // The font dialog here carries no colour: the current colour stays in force.
    options_->applyColour(options_->colour());
    links_.releaseBatchHotkeys();
    setActive(EditorTool::Text);
    setAreaCursor(Qt::IBeamCursor);
    focusPictureArea();
}

// --- helpers ------------------------------------------------------------------------------

void EditorController::setAreaCursor(const QCursor& cursor) {
    if (PictureAreaWidget* area = workspace_.pictureArea()) {
        area->setCursor(cursor);
    }
}

void EditorController::focusPictureArea() {
    if (PictureAreaWidget* area = workspace_.pictureArea()) {
        area->setFocus(Qt::OtherFocusReason);
    }
}

void EditorController::recomposeIfLoaded() {
    if (photo_.pictureLoaded()) {
        photo_.recomposeView();
    }
}

} // namespace portiqa
