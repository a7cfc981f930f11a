#include "core/print/SheetLayout.h"

#include "core/text/Numbers.h"

#include <algorithm>
#include <cmath>

namespace portiqa {

namespace {

double nonNegative(double value) {
    return std::isfinite(value) && value > 0 ? value : 0.0;
}

// How many pieces of `piece` with `gap` between them fit in `room`.
int piecesThatFit(double room, double piece, double gap) {
    if (!(piece > numbers::kTolerance) || !numbers::greaterOrEqual(room, piece)) {
        return 0;
    }
    int count = int(std::floor((room + gap) / (piece + gap) + numbers::kTolerance));
    // The floor's tolerance must not admit a piece that overhangs by more than the tolerance.
    while (count > 0 && numbers::greater(count * piece + (count - 1) * gap, room)) {
        --count;
    }
    return count;
}

// The cut positions along one axis: around the block of `count` pieces starting at `start`,
// and through the middle of each gap, kept within [low, high].
QList<double> cutPositions(double start, int count, double piece, double gap, double low,
                           double high) {
    QList<double> positions;
    positions.append(std::max(low, start - gap / 2));
    for (int i = 1; i < count; ++i) {
        positions.append(start + i * (piece + gap) - gap / 2);
    }
    positions.append(std::min(high, start + count * piece + (count - 1) * gap + gap / 2));
    return positions;
}

} // namespace

SheetLayout layoutSheet(const SheetRequest& request) {
    SheetLayout layout;
    layout.paperMm = request.paperMm;
    const double margin = nonNegative(request.marginMm);
    const double gap = nonNegative(request.gapMm);
    const double width = nonNegative(request.paperMm.width());
    const double height = nonNegative(request.paperMm.height());
    layout.printableMm = QRectF(margin, margin, std::max(0.0, width - 2 * margin),
                                std::max(0.0, height - 2 * margin));
    const QRectF& area = layout.printableMm;
    const double photoWidth = nonNegative(request.photoMm.width());
    const double photoHeight = nonNegative(request.photoMm.height());
    layout.fitColumns = piecesThatFit(area.width(), photoWidth, gap);
    layout.fitRows = piecesThatFit(area.height(), photoHeight, gap);
    if (layout.fits() == 0) {
        layout.fitColumns = layout.fitRows = 0;
        return layout;
    }
    const int wanted = request.copies > 0 ? std::min(request.copies, layout.fits()) : layout.fits();
    layout.columns = std::min(layout.fitColumns, wanted);
    layout.rows = (wanted + layout.columns - 1) / layout.columns;

    const double blockWidth = layout.columns * photoWidth + (layout.columns - 1) * gap;
    const double blockHeight = layout.rows * photoHeight + (layout.rows - 1) * gap;
    const double left = area.left() + (area.width() - blockWidth) / 2;
    const double top = area.top() + (area.height() - blockHeight) / 2;
    for (int i = 0; i < wanted; ++i) {
        const int row = i / layout.columns;
        const int column = i % layout.columns;
        layout.copies.append(QRectF(left + column * (photoWidth + gap),
                                    top + row * (photoHeight + gap), photoWidth, photoHeight));
    }
    if (request.cutLines) {
        for (double x :
             cutPositions(left, layout.columns, photoWidth, gap, area.left(), area.right())) {
            layout.cutLines.append(QLineF(x, area.top(), x, area.bottom()));
        }
        for (double y :
             cutPositions(top, layout.rows, photoHeight, gap, area.top(), area.bottom())) {
            layout.cutLines.append(QLineF(area.left(), y, area.right(), y));
        }
    }
    return layout;
}

} // namespace portiqa
