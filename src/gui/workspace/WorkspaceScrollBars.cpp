#include "gui/workspace/WorkspaceScrollBars.h"

#include "core/workspace/PhotoWorkspace.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>

namespace portiqa {

namespace {

void prepare(QScrollBar* bar, const QString& name) {
    bar->setObjectName(name);
    bar->setRange(WorkspaceGeometry::ScrollMinimum, WorkspaceGeometry::ScrollMinimum);
    bar->setSingleStep(WorkspaceGeometry::ScrollLineStep);
    bar->setPageStep(WorkspaceGeometry::ScrollPageStep);
    bar->setTracking(true);
    bar->setEnabled(false);
}

void show(QScrollBar* bar, const AxisLayout& axis) {
    const QSignalBlocker blocker(bar);
    bar->setEnabled(axis.scrolls);
    if (axis.scrolls) {
        bar->setRange(WorkspaceGeometry::ScrollMinimum, axis.maximum);
        bar->setValue(axis.position);
    }
}

} // namespace

WorkspaceScrollBars::WorkspaceScrollBars(PhotoWorkspace& workspace, QScrollBar* horizontal,
                                         QScrollBar* vertical, QWidget* focusTarget,
                                         QObject* parent)
    : QObject(parent), workspace_(workspace), horizontal_(horizontal), vertical_(vertical),
      focusTarget_(focusTarget) {
    prepare(horizontal_, QStringLiteral("横向滚动条"));
    prepare(vertical_, QStringLiteral("纵向滚动条"));
    connect(&workspace_, &PhotoWorkspace::scrollBarsChanged, this, &WorkspaceScrollBars::mirror);
    connect(horizontal_, &QScrollBar::valueChanged, this, &WorkspaceScrollBars::operatorMoved);
    connect(vertical_, &QScrollBar::valueChanged, this, &WorkspaceScrollBars::operatorMoved);
    horizontal_->installEventFilter(this);
    vertical_->installEventFilter(this);
    mirror();
}

void WorkspaceScrollBars::mirror() {
    show(horizontal_, workspace_.horizontal());
    show(vertical_, workspace_.vertical());
}

void WorkspaceScrollBars::operatorMoved() {
    workspace_.applyScroll(horizontal_->value(), vertical_->value());
}

bool WorkspaceScrollBars::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            if (event->type() == QEvent::MouseButtonPress) {
                workspace_.releasePointer();
            } else if (focusTarget_) {
                focusTarget_->setFocus(Qt::OtherFocusReason);
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace portiqa
