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

signals:
    void stepped(int step);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* up_;
    QToolButton* down_;
};

} // namespace portiqa
