#pragma once

// Keeps the two scroll bars (横向滚动条, 纵向滚动条) in step with the workspace: the workspace
// decides enabled state, maximum and position; the operator's moves come back as
// applyScroll(). The bars keep minimum 1, line step 1 and page step 10, and track live.

#include <QObject>

class QScrollBar;
class QWidget;

namespace portiqa {

class PhotoWorkspace;

class WorkspaceScrollBars : public QObject {
    Q_OBJECT
public:
    WorkspaceScrollBars(PhotoWorkspace& workspace, QScrollBar* horizontal, QScrollBar* vertical,
                        QWidget* focusTarget, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void mirror();
    void operatorMoved();

    PhotoWorkspace& workspace_;
    QScrollBar* horizontal_;
    QScrollBar* vertical_;
    QWidget* focusTarget_;
};

} // namespace portiqa
