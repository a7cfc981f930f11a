#include "gui/editor/EditorEventWatch.h"

#include "gui/app/ColourPickerButton.h"
#include "gui/app/MainWindow.h"
#include "gui/app/StatusBarWidget.h"
#include "gui/app/UpDownEdit.h"
#include "gui/editor/ColourChartBox.h"
#include "gui/editor/EditorWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QToolBar>
#include <QToolButton>

namespace portiqa {

EditorEventWatch::EditorEventWatch(MainWindow& window, EditorWindow& tools, QLineEdit& entry,
                                   Reactions reactions, QObject* parent)
    : QObject(parent), window_(window), tools_(tools), entry_(entry),
      reactions_(std::move(reactions)) {
    entry_.installEventFilter(this);
    tools_.textBox->installEventFilter(this); // right press: the font dialog
    installHints();
    watchMainWindowMoves();
}

void EditorEventWatch::installHints() {
    EditorWindow& w = tools_;
    hints_[&w] = QString(); // the window's own area empties the hint on every move
    hints_[w.brushBox] = QStringLiteral("画笔工具");
    hints_[w.textBox] = QStringLiteral("文字工具，右击文字工具按钮可设置字体。");
    hints_[w.eyedropperBox] = QStringLiteral("吸取颜色");
    hints_[w.widthEdit] = QStringLiteral("设置画笔粗细");
    hints_[w.widthEdit->upButton()] = hints_[w.widthEdit];
    hints_[w.widthEdit->downButton()] = hints_[w.widthEdit];
    hints_[w.picker] = QStringLiteral("设置画笔及文字颜色");
    hints_[w.chart] = QStringLiteral("选取画笔文字颜色");
    for (QWidget* child : w.findChildren<QWidget*>()) {
        child->setMouseTracking(true);
        child->installEventFilter(this);
    }
    w.installEventFilter(this);
}

void EditorEventWatch::watchMainWindowMoves() {
    const MainControls& c = window_.controls();
    strokeEnders_ = {c.client, c.toolbar, c.statusBar};
    for (QAction* action : c.toolbarActions) {
        if (QWidget* button = c.toolbar->widgetForAction(action)) {
            strokeEnders_.append(button);
        }
    }
    for (QObject* o : strokeEnders_) {
        o->installEventFilter(this);
    }
}

bool EditorEventWatch::toolWindowHover(QObject* watched, QEvent* event) {
    const auto* move = static_cast<QMouseEvent*>(event);
    reactions_.finishPendingStroke();
    // A move the innermost control ignores travels on to its parents: only the innermost
    // speaks. Group boxes and the width bar leave the hint as it is.
    const quint64 key = move->timestamp() ^
                        (static_cast<quint64>(move->globalPosition().x()) << 32) ^
                        static_cast<quint64>(move->globalPosition().y());
    if (key == lastHintMove_) {
        return false;
    }
    lastHintMove_ = key;
    const auto it = hints_.constFind(watched);
    if (it != hints_.constEnd()) {
        window_.setStatusHint(it.value());
    }
    return false;
}

bool EditorEventWatch::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        if (watched == &entry_) {
            reactions_.endTools();
            return true;
        }
        if (watched == tools_.textBox) {
            reactions_.chooseFont();
            return true;
        }
    }
    if (type != QEvent::MouseMove) {
        return QObject::eventFilter(watched, event);
    }
    if (strokeEnders_.contains(watched)) {
        // Moves inside the picture area travel on to the client area: they are the stroke's.
        const QWidget* area = window_.controls().pictureArea;
        const QWidget* under = watched == window_.controls().client
                                   ? window_.controls().client->childAt(
                                         static_cast<QMouseEvent*>(event)->position().toPoint())
                                   : nullptr;
        if (under == nullptr || (under != area && !area->isAncestorOf(under))) {
            reactions_.finishPendingStroke();
        }
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget != nullptr && (widget == &tools_ || tools_.isAncestorOf(widget))) {
        return toolWindowHover(watched, event);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace portiqa
