#pragma once

// The main window's two-panel status bar: panel 0 shows the status hint, panel 1 is the
// batch crop switch (a 13 x 13 check image and its text). The switch reacts to presses only
// inside its band, measured from the window's effective width.

#include <QImage>
#include <QWidget>

namespace portiqa {

class StatusBarWidget : public QWidget {
    Q_OBJECT
public:
    explicit StatusBarWidget(QWidget* parent = nullptr);

    void setHintText(const QString& text);
    QString hintText() const { return hint_; }
    // Counts panel-0 writes; the hover rule promises one write per real change.
    int hintWrites() const { return hintWrites_; }

    void setSwitchChecked(bool checked);
    bool switchChecked() const { return checked_; }

    void setEffectiveWidth(int effectiveWidth);
    int effectiveWidth() const { return effectiveWidth_; }

    static QImage checkImage(bool checked);

signals:
    void switchLeftPressed();
    void switchRightPressed();
    // Mouse moved over the bar at x (bar coordinates).
    void hovered(int x);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QString hint_;
    int hintWrites_ = 0;
    bool checked_ = false;
    int effectiveWidth_ = 594;
};

} // namespace portiqa
