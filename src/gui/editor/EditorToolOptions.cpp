#include "gui/editor/EditorToolOptions.h"

#include "core/editor/BrushRaster.h"
#include "gui/app/ColourPickerButton.h"
#include "gui/app/UpDownEdit.h"
#include "gui/editor/ColourChartBox.h"
#include "gui/editor/EditorWindow.h"
#include "gui/editor/TextTool.h"

#include <QLineEdit>

#include <algorithm>

namespace portiqa {

EditorToolOptions::EditorToolOptions(EditorWindow& tools, TextTool& text,
                                     std::function<void()> brushLookChanged, QObject* parent)
    : QObject(parent), tools_(tools), text_(text), brushLookChanged_(std::move(brushLookChanged)) {
    connect(tools_.widthEdit, &QLineEdit::textChanged, this, &EditorToolOptions::widthChanged);
    connect(tools_.widthEdit, &UpDownEdit::stepped, this, [this](int step) {
        const int next =
            std::clamp(brushWidth() + step, BrushRaster::MinWidth, BrushRaster::MaxWidth);
        tools_.widthEdit->setText(QString::number(next));
    });
    connect(tools_.picker, &ColourPickerButton::colourChosen, this,
            &EditorToolOptions::colourChosen);
    connect(tools_.chart, &ColourChartBox::colourPicked, this, [this](const QColor& colour) {
        tools_.picker->setColour(colour);
        colourChosen(colour);
    });
    applyColour(colour_);
}

int EditorToolOptions::brushWidth() const {
    bool ok = false;
    const int width = tools_.widthEdit->text().toInt(&ok);
    if (!ok || width < BrushRaster::MinWidth || width > BrushRaster::MaxWidth) {
        return lastWidth_; // a half-typed number keeps the last usable width
    }
    return width;
}

void EditorToolOptions::applyColour(const QColor& colour) {
    colour_ = QColor(colour.rgb());
    text_.setColour(colour_);
    tools_.showWidthBar(brushWidth(), colour_);
}

void EditorToolOptions::pickColour(const QColor& colour) {
    tools_.picker->setColour(colour);
    applyColour(colour);
}

void EditorToolOptions::colourChosen(const QColor& colour) {
    applyColour(colour);
    if (text_.boxVisible()) {
        text_.entry().setFocus(Qt::OtherFocusReason);
    }
    brushLookChanged_();
}

void EditorToolOptions::widthChanged() {
    lastWidth_ = brushWidth();
    tools_.showWidthBar(lastWidth_, colour_);
    brushLookChanged_();
}

} // namespace portiqa
