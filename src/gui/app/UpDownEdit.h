#pragma once

// An edit with small up-down buttons at its right edge. The buttons only report a press
// (+1 or -1) through stepped(); what a step means is decided by whoever listens.

#include <QLineEdit>

class QToolButton;

namespace portiqa {

class UpDownEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit UpDownEdit(QWidget* parent = nullptr);

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

    // Moves the buttons out of the edit to just right of it, as its siblings: for an edit
    // whose text area other controls cover, so the buttons stay visible and clickable.
    // Call once the edit has its parent.
    void placeButtonsBeside();

signals:
    void stepped(int step);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void layoutButtons();

    QToolButton* up_;
    QToolButton* down_;
    bool beside_ = false;
};

} // namespace portiqa
