#pragma once

// The live preview (视频设备1): each camera frame is scaled to the widget's size by
// scaleFrameToPreview() and kept, and painting draws exactly that image. A photo or a
// quick-shoot shot takes shownImage(), so it holds the pixels that were on show. Before the
// first frame it is black, with a short text while the camera is still connecting.

#include <QImage>
#include <QWidget>

namespace portiqa {

class PreviewWidget final : public QWidget {
    Q_OBJECT
public:
    explicit PreviewWidget(QWidget* parent = nullptr);

    // A new camera frame at the camera's resolution.
    void setFrame(const QImage& frame);
    void clear();
    // The text shown on black while there is no frame (empty: none).
    void setPlaceholderText(const QString& text);
    const QString& placeholderText() const { return placeholder_; }
    // The picture on show, exactly the widget's size; null before the first frame.
    const QImage& shownImage() const { return shown_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage frame_;
    QImage shown_;
    QString placeholder_;
};

} // namespace portiqa
