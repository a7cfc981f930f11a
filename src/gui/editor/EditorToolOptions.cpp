// The editor's tool options: the colour, the brush width and the text tool's font.

#include "gui/editor/EditorController.h"

#include "core/dialogs/Dialogs.h"
#include "core/editor/TextToolFont.h"
#include "gui/app/FeatureLinks.h"
#include "gui/editor/EditorWindow.h"
#include "gui/editor/TextTool.h"

#include <QLineEdit>

#include <optional>

namespace portiqa {

void EditorController::applyColour(const QColor& colour) {
    colour_ = QColor(colour.rgb());
    text_->setColour(colour_);
    toolWindow_->showWidthBar(brushWidth(), colour_);
}

void EditorController::colourChosen(const QColor& colour) {
    applyColour(colour);
    if (text_->boxVisible()) {
        text_->entry().setFocus(Qt::OtherFocusReason);
    }
    if (brushActive()) {
        recomposeIfLoaded();
    }
}

void EditorController::widthChanged() {
    lastWidth_ = brushWidth();
    toolWindow_->showWidthBar(lastWidth_, colour_);
    if (brushActive()) {
        recomposeIfLoaded();
    }
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
    applyColour(colour_);
    links_.releaseBatchHotkeys();
    setActive(EditorTool::Text);
    setAreaCursor(Qt::IBeamCursor);
    focusPictureArea();
}

} // namespace portiqa
