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

void UpDownEdit::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    const int half = height() / 2;
    up_->setGeometry(width() - kButtonWidth, 0, kButtonWidth, half);
    down_->setGeometry(width() - kButtonWidth, half, kButtonWidth, height() - half);
}

} // namespace portiqa
