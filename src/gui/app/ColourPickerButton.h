#pragma once

// A swatch button showing a colour; clicking it asks for a new colour through Dialogs and
// reports a choice with colourChosen().

#include <QColor>
#include <QPushButton>

namespace portiqa {

class Dialogs;

class ColourPickerButton : public QPushButton {
    Q_OBJECT
public:
    ColourPickerButton(Dialogs& dialogs, QColor initial, QWidget* parent = nullptr);

    QColor colour() const { return colour_; }
    void setColour(const QColor& colour);

signals:
    void colourChosen(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void choose();

    Dialogs& dialogs_;
    QColor colour_;
};

} // namespace portiqa
