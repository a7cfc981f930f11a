#include "gui/app/ColourPickerButton.h"

#include "core/dialogs/Dialogs.h"

#include <QPainter>

namespace portiqa {

ColourPickerButton::ColourPickerButton(Dialogs& dialogs, QColor initial, QWidget* parent)
    : QPushButton(parent), dialogs_(dialogs), colour_(initial) {
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QPushButton::clicked, this, &ColourPickerButton::choose);
}

void ColourPickerButton::setColour(const QColor& colour) {
    colour_ = colour;
    update();
}

void ColourPickerButton::choose() {
    if (const auto chosen = dialogs_.chooseColour(colour_)) {
        setColour(*chosen);
        emit colourChosen(*chosen);
    }
}

void ColourPickerButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    QPainter painter(this);
    const QRect swatch = rect().adjusted(4, 4, -5, -5);
    painter.fillRect(swatch, colour_);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(swatch);
}

} // namespace portiqa
