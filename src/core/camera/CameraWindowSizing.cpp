#include "core/camera/CameraWindowSizing.h"

#include <algorithm>

#include "core/text/Numbers.h"

#include <algorithm>
#include <cstdlib>

namespace portiqa::camerasizing {

namespace {

int truncated(double value) {
    return numbers::truncateToInt32(value);
}

QSize atLeastOnePixel(QSize size) {
    return size.expandedTo(QSize(1, 1));
}

// A usable ratio: a broken measurement never divides by zero.
double usableAspect(double aspect) {
    return aspect > 0 ? aspect : kDefaultAspect;
}

constexpr int kMoveButtonSide = 28;

} // namespace

QSize initialPreview(QSize output, double aspect) {
    aspect = usableAspect(aspect);
    const double c = double(output.height()) + kOutputMargin;
    const double d = double(output.width()) + kOutputMargin;
    if (d > 0 && numbers::greaterOrEqual(aspect, c / d)) {
        const double pw = numbers::greater(d, kMinPreviewWidth) ? d : kMinPreviewWidth;
        return atLeastOnePixel(QSize(truncated(pw), truncated(pw * aspect)));
    }
    const double ph = numbers::greater(c, kMinPreviewHeight) ? c : kMinPreviewHeight;
    return atLeastOnePixel(QSize(truncated(ph / aspect), truncated(ph)));
}

QSize windowSizeFor(QSize preview) {
    return preview + QSize(kExtraWidth, kExtraHeight);
}

QSize relayoutPreview(QSize window, QSize last, double aspect) {
    aspect = usableAspect(aspect);
    const int widthChange = std::abs(window.width() - last.width());
    const int heightChange = std::abs(window.height() - last.height());
    if (widthChange < heightChange) {
        const int ph = window.height() - kExtraHeight;
        return atLeastOnePixel(QSize(truncated(ph / aspect), ph));
    }
    const int pw = window.width() - kExtraWidth;
    return atLeastOnePixel(QSize(pw, truncated(aspect * pw)));
}

QSize previewAfterOutputEdit(bool widthEdit, QSize output, QSize window, double aspect) {
    aspect = usableAspect(aspect);
    QSize target;
    if (widthEdit && numbers::greater(double(output.width()) + kOutputMargin,
                                      double(window.width()) - kExtraWidth)) {
        const int pw = output.width() + kOutputMargin;
        target = QSize(pw, truncated(pw * aspect));
    } else if (!widthEdit && numbers::greater(double(output.height()) + kOutputMargin,
                                              double(window.height()) - kExtraHeight)) {
        const int ph = output.height() + kOutputMargin;
        target = QSize(truncated(ph / aspect), ph);
    } else {
        target = initialPreview(output, aspect);
    }
    target = atLeastOnePixel(target);
    // The width is set first, then the height; a change raises a relayout, no change none.
    QSize last = window;
    QSize preview = window - QSize(kExtraWidth, kExtraHeight);
    const QSize afterWidth(target.width() + kExtraWidth, last.height());
    if (afterWidth != last) {
        preview = relayoutPreview(afterWidth, last, aspect);
        last = windowSizeFor(preview);
    }
    const QSize afterHeight(last.width(), target.height() + kExtraHeight);
    if (afterHeight != last) {
        preview = relayoutPreview(afterHeight, last, aspect);
    }
    return preview;
}

QPoint placedInside(QRect window, QRect available) {
    const auto axis = [](int start, int length, int areaStart, int areaLength) {
        return std::max(areaStart, std::min(start, areaStart + areaLength - length));
    };
    return QPoint(axis(window.left(), window.width(), available.left(), available.width()),
                  axis(window.top(), window.height(), available.top(), available.height()));
}

CameraLayout cameraLayout(QSize preview) {
    CameraLayout layout;
    const QSize window = windowSizeFor(preview);
    layout.client = window - QSize(kDesignFrameWidth, kDesignFrameHeight);
    layout.groupBox = QRect(4, 4, preview.width() + 22, preview.height() + 27);
    layout.preview = QRect(QPoint(kPreviewLeft, kPreviewTop), preview);
    const int column = layout.groupBox.width() + 11;
    layout.deviceButton = QRect(column, 11, 116, 24);
    layout.formatButton = QRect(column, 39, 116, 24);
    layout.quickSettingsButton = QRect(column, 67, 116, 24);
    layout.shootButton = QRect(column, layout.groupBox.height() + 22 - 78, 116, 78);
    layout.quickCheckBox = QRect(7, layout.groupBox.height() + 7, 137, 20);
    const int f = layout.shootButton.left() + 58;
    const int g = (layout.shootButton.top() + 91) / 2;
    const QSize side(kMoveButtonSide, kMoveButtonSide);
    layout.moveLeft = QRect(QPoint(f - 46, g - 14), side);
    layout.moveRight = QRect(QPoint(f + 14, g - 14), side);
    layout.moveUp = QRect(QPoint(f - 14, g - 46), side);
    layout.moveDown = QRect(QPoint(f - 14, g + 14), side);
    return layout;
}

} // namespace portiqa::camerasizing
