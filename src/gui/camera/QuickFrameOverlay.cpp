#include "gui/camera/QuickFrameOverlay.h"

#include "core/camera/QuickFrame.h"
#include "gui/camera/QuickFrameInput.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>

namespace portiqa {

QuickFrameOverlay::QuickFrameOverlay(QWidget* groupBox, QWidget* window,
                                     std::function<QSize()> outputSize, QObject* parent)
    : QObject(parent), outputSize_(std::move(outputSize)) {
    panel_ = new QWidget(groupBox);
    panel_->setObjectName(QStringLiteral("拍图采集画板"));
    panel_->hide();
    const char16_t* barNames[] = {u"拍图采集框上标签", u"拍图采集框下标签", u"拍图采集框左标签",
                                  u"拍图采集框右标签"};
    for (int i = 0; i < 4; ++i) {
        bars_[i] = new QLabel(groupBox);
        bars_[i]->setObjectName(QString::fromUtf16(barNames[i]));
        bars_[i]->setAutoFillBackground(true);
        bars_[i]->setCursor(Qt::SizeAllCursor);
        bars_[i]->hide();
    }
    const char16_t* moveNames[] = {u"拍图上移按钮", u"拍图下移按钮", u"拍图左移按钮",
                                   u"拍图右移按钮"};
    const char16_t* arrows[] = {u"↑", u"↓", u"←", u"→"};
    for (int i = 0; i < 4; ++i) {
        moveButtons_[i] = new QPushButton(QString::fromUtf16(arrows[i]), window);
        moveButtons_[i]->setObjectName(QString::fromUtf16(moveNames[i]));
        moveButtons_[i]->setAutoDefault(false);
        moveButtons_[i]->hide();
    }

    QuickFrameAccess access;
    access.position = [this] { return topLeft_; };
    access.moveTo = [this](QPoint topLeft) { moveTo(topLeft); };
    access.groupBoxSize = [groupBox] { return groupBox->size(); };
    access.outputSize = outputSize_;
    input_ = new QuickFrameInput(std::move(access), this);
    for (QLabel* bar : bars_) {
        input_->watchBar(bar);
    }
    for (int i = 0; i < 4; ++i) {
        input_->watchMoveButton(moveButtons_[i], static_cast<FrameDirection>(i));
    }
}

QTimer* QuickFrameOverlay::moveTimer() const {
    return input_->timer();
}

const QuickFrameMover& QuickFrameOverlay::mover() const {
    return input_->mover();
}

void QuickFrameOverlay::moveTo(QPoint topLeft) {
    topLeft_ = topLeft;
    place();
}

void QuickFrameOverlay::centreOn(QRect preview) {
    moveTo(quickframe::centred(preview, outputSize_()));
}

void QuickFrameOverlay::place() {
    const QuickFrameGeometry g = quickframe::geometry(topLeft_, outputSize_());
    panel_->setGeometry(g.panel);
    bars_[0]->setGeometry(g.topBar);
    bars_[1]->setGeometry(g.bottomBar);
    bars_[2]->setGeometry(g.leftBar);
    bars_[3]->setGeometry(g.rightBar);
}

void QuickFrameOverlay::setVisible(bool visible) {
    for (QLabel* bar : bars_) {
        bar->setVisible(visible);
        bar->raise(); // above the preview
    }
    for (QPushButton* button : moveButtons_) {
        button->setVisible(visible);
    }
}

void QuickFrameOverlay::setColour(const QColor& colour) {
    for (QLabel* bar : bars_) {
        QPalette palette = bar->palette();
        palette.setColor(QPalette::Window, colour);
        bar->setPalette(palette);
    }
}

void QuickFrameOverlay::stop() {
    input_->stop();
}

QImage QuickFrameOverlay::shot(const QImage& preview, QRect previewRect,
                               const QColor& background) const {
    return quickframe::shot(preview, previewRect, QRect(topLeft_, outputSize_()), background);
}

} // namespace portiqa
