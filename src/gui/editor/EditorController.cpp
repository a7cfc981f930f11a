#include "gui/editor/EditorController.h"

#include "core/dialogs/Dialogs.h"
#include "core/editor/BrushRaster.h"
#include "core/text/Numbers.h"
#include "core/workspace/PhotoWorkspace.h"
#include "gui/app/ColourPickerButton.h"
#include "gui/app/FeatureLinks.h"
#include "gui/app/MainWindow.h"
#include "gui/app/UpDownEdit.h"
#include "gui/editor/BrushTool.h"
#include "gui/editor/ColourChartBox.h"
#include "gui/editor/EditorWindow.h"
#include "gui/editor/TextTool.h"
#include "gui/workspace/PictureAreaWidget.h"
#include "gui/workspace/WorkspaceController.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QShortcut>
#include <QToolBar>

#include <algorithm>

namespace portiqa {

namespace {

const QString kCaption = QStringLiteral("提示");

QString noPictureMessage() {
    return QStringLiteral("请打开一张图片或拍照一幅图象再进行操作。");
}

QString commitRefusedMessage() {
    return QStringLiteral("图片放大后太大，编辑无法写入图片。请缩小图片后再编辑。");
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
    text_ = new TextTool(
        *window.controls().textEntry, photo_, [this] { workspace_.waitForPicture(); },
        [this] { commitEdits(); }, this);
    text_->entry().installEventFilter(this);
    brush_ = std::make_unique<BrushTool>(
        photo_, [this] { workspace_.waitForPicture(); }, [this] { commitEdits(); });

    EditorWindow& w = *toolWindow_;
    connect(w.brushBox, &QCheckBox::clicked, this,
            [this](bool ticked) { toolBoxClicked(EditorTool::Brush, ticked); });
    connect(w.textBox, &QCheckBox::clicked, this,
            [this](bool ticked) { toolBoxClicked(EditorTool::Text, ticked); });
    connect(w.eyedropperBox, &QCheckBox::clicked, this,
            [this](bool ticked) { toolBoxClicked(EditorTool::Eyedropper, ticked); });
    w.textBox->installEventFilter(this); // right press: the font dialog
    connect(w.widthEdit, &QLineEdit::textChanged, this, &EditorController::widthChanged);
    connect(w.widthEdit, &UpDownEdit::stepped, this, [this](int step) {
        const int next =
            std::clamp(brushWidth() + step, BrushRaster::MinWidth, BrushRaster::MaxWidth);
        toolWindow_->widthEdit->setText(QString::number(next));
    });
    connect(w.picker, &ColourPickerButton::colourChosen, this, &EditorController::colourChosen);
    connect(w.chart, &ColourChartBox::colourPicked, this, [this](const QColor& colour) {
        toolWindow_->picker->setColour(colour);
        colourChosen(colour);
    });
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
    connect(&photo_, &PhotoWorkspace::newPictureShown, this, [this] {
        history_.clear();
        reapplyCursor(true);
    });
    connect(&photo_, &PhotoWorkspace::pictureTurned, this, [this] { history_.clear(); });
    // A picture from a file drops the typed line once it is on show (a failed load keeps it).
    connect(&workspace_.loader(), &WorkspaceLoader::loadEnded, this, [this](bool shown) {
        if (shown) {
            discardPendingText();
        }
    });

    for (QWidget* host : {static_cast<QWidget*>(&window_), static_cast<QWidget*>(toolWindow_)}) {
        auto* undoKey = new QShortcut(QKeySequence::Undo, host);
        connect(undoKey, &QShortcut::activated, this, &EditorController::undo);
        for (const QKeySequence& keys :
             {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}) {
            auto* redoKey = new QShortcut(keys, host);
            connect(redoKey, &QShortcut::activated, this, &EditorController::redo);
        }
    }
    installHints();
    watchMainWindowMoves();
    applyColour(colour_);
}

EditorController::~EditorController() {
    if (PictureAreaWidget* area = workspace_.pictureArea()) {
        area->setPointerHook({});
    }
}

bool EditorController::strokeHeld() const {
    return brush_->held();
}

int EditorController::brushWidth() const {
    bool ok = false;
    const int width = toolWindow_->widthEdit->text().toInt(&ok);
    if (!ok || width < BrushRaster::MinWidth || width > BrushRaster::MaxWidth) {
        return lastWidth_; // a half-typed number keeps the last usable width
    }
    return width;
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
            brush_->press(point, brushWidth(), colour_);
        }
        return true;
    case QEvent::MouseMove:
        if (brushActive()) {
            if (brush_->held()) {
                brush_->moveHeld(point, brushWidth(), colour_);
            } else {
                brush_->hover(point, brushWidth(), colour_);
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
    if (!view.valid(point)) {
        return;
    }
    const QColor picked(view.pixel(point));
    toolWindow_->picker->setColour(picked);
    applyColour(picked);
}

void EditorController::finishPendingStroke() {
    if (brushActive()) {
        brush_->finish();
    }
    brush_->release();
}

void EditorController::commitEdits() {
    PhotoWorkspace::PictureState before = photo_.pictureState();
    if (photo_.commitEdits()) {
        history_.recordEdit(std::move(before));
        return;
    }
    if (photo_.pictureLoaded()) {
        // Show what the picture really holds rather than an edit that was not kept.
        photo_.redrawWorkspace();
        dialogs_.inform(kCaption, commitRefusedMessage(), MessageIcon::Warning);
    }
}

void EditorController::undo() {
    if (brush_->held() || !photo_.pictureLoaded()) {
        return;
    }
    if (auto state = history_.undo(photo_.pictureState())) {
        photo_.restorePictureState(*state);
    }
}

void EditorController::redo() {
    if (brush_->held() || !photo_.pictureLoaded()) {
        return;
    }
    if (auto state = history_.redo(photo_.pictureState())) {
        photo_.restorePictureState(*state);
    }
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
