#pragma once

// The quick-shoot frame over the camera preview: the hidden capture panel (拍图采集画板) and the
// four bars around it in the group box, and the four move buttons in the window's right column
// with the operator's hold on them (QuickFrameInput). It keeps the frame's top-left in the
// group box's coordinates; the frame's size is always the output size.
//
// GUI thread only. The widgets belong to the group box and the window given at construction.

#include "core/camera/QuickFrameMover.h"

#include <QObject>
#include <QPoint>
#include <QRect>

#include <functional>

class QColor;
class QImage;
class QLabel;
class QPushButton;
class QTimer;
class QWidget;

namespace portiqa {

class QuickFrameInput;

class QuickFrameOverlay final : public QObject {
    Q_OBJECT
public:
    // `groupBox` holds the preview, the panel and the bars; `window` holds the move buttons.
    QuickFrameOverlay(QWidget* groupBox, QWidget* window, std::function<QSize()> outputSize,
                      QObject* parent = nullptr);

    QPoint topLeft() const { return topLeft_; }
    void moveTo(QPoint topLeft);
    // The frame centred on the preview (in the group box's coordinates).
    void centreOn(QRect preview);
    // Shows or hides the bars and the move buttons.
    void setVisible(bool visible);
    void setColour(const QColor& colour);
    // Ends a held move or a drag (the window is closing).
    void stop();

    // The frame's part of `preview`, the picture drawn at `previewRect`, exactly the output
    // size; `background` where the frame reaches past the preview.
    QImage shot(const QImage& preview, QRect previewRect, const QColor& background) const;

    QWidget* capturePanel() const { return panel_; }
    QLabel* bar(int index) const { return bars_[index]; } // top, bottom, left, right
    QPushButton* moveButton(FrameDirection direction) const {
        return moveButtons_[static_cast<int>(direction)];
    }
    QTimer* moveTimer() const;
    const QuickFrameMover& mover() const;

private:
    void place();

    std::function<QSize()> outputSize_;
    QPoint topLeft_;
    QWidget* panel_ = nullptr;
    QLabel* bars_[4] = {nullptr, nullptr, nullptr, nullptr};
    QPushButton* moveButtons_[4] = {nullptr, nullptr, nullptr, nullptr}; // up, down, left, right
    QuickFrameInput* input_ = nullptr;
};

} // namespace portiqa
