#include "gui/app/UpDownEdit.h"

#include <QToolButton>

namespace portiqa {

namespace {
constexpr int kButtonWidth = 13;
}

UpDownEdit::UpDownEdit(QWidget* parent)
    : QLineEdit(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    for (QToolButton* button : {up_, down_}) {
        button->setArrowType(button == up_ ? Qt::UpArrow : Qt::DownArrow);
        button->setAutoRaise(false);
        button->setFocusPolicy(Qt::NoFocus);
        button->setCursor(Qt::ArrowCursor);
        button->setIconSize(QSize(5, 5));
    }
    connect(up_, &QToolButton::clicked, this, [this] { emit stepped(+1); });
    connect(down_, &QToolButton::clicked, this, [this] { emit stepped(-1); });
    setTextMargins(0, 0, kButtonWidth, 0);
}

void UpDownEdit::placeButtonsBeside() {
    beside_ = true;
    for (QToolButton* button : {up_, down_}) {
        button->setParent(parentWidget());
        button->show();
        button->raise();
    }
    setTextMargins(0, 0, 0, 0);
    layoutButtons();
}

void UpDownEdit::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    layoutButtons();
}

void UpDownEdit::moveEvent(QMoveEvent* event) {
    QLineEdit::moveEvent(event);
    layoutButtons();
}

void UpDownEdit::layoutButtons() {
    const int half = height() / 2;
    const QPoint origin =
        beside_ ? geometry().topRight() + QPoint(1, 0) : QPoint(width() - kButtonWidth, 0);
    up_->setGeometry(origin.x(), origin.y(), kButtonWidth, half);
    down_->setGeometry(origin.x(), origin.y() + half, kButtonWidth, height() - half);
}

} // namespace portiqa
