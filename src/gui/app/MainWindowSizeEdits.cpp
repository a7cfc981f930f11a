#include "gui/app/MainWindowSizeEdits.h"

#include "gui/app/MainControls.h"
#include "gui/app/UpDownEdit.h"

namespace portiqa {

QString MainWindowSizeEdits::widthText() const {
    return controls_.widthEdit->text();
}

QString MainWindowSizeEdits::heightText() const {
    return controls_.heightEdit->text();
}

QString MainWindowSizeEdits::sizeLimitText() const {
    return controls_.sizeLimitEdit->text();
}

void MainWindowSizeEdits::setWidthText(const QString& text) {
    controls_.widthEdit->setText(text);
}

void MainWindowSizeEdits::setHeightText(const QString& text) {
    controls_.heightEdit->setText(text);
}

void MainWindowSizeEdits::setSizeLimitText(const QString& text) {
    controls_.sizeLimitEdit->setText(text);
}

} // namespace portiqa
