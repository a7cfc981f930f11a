#include "core/roster/RosterGrid.h"

#include "core/roster/TextWidthMeter.h"

#include <algorithm>

namespace portiqa {

bool RosterGrid::holdsText(const QString& text) {
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c != u' '; });
}

void RosterGrid::findUsedArea(const Workbook& workbook, int sheet, int* lastRow, int* lastColumn) {
    int rowMax = -1;
    int columnMax = -1;
    workbook.forEachCell(sheet, [&](int row, int column, const QString& text) {
        if (holdsText(text)) {
            rowMax = std::max(rowMax, row);
            columnMax = std::max(columnMax, column);
        }
    });
    *lastRow = rowMax;
    *lastColumn = columnMax;
}

RosterGrid RosterGrid::fromSheet(const Workbook& workbook, int sheet, const QFont& font) {
    RosterGrid grid;
    findUsedArea(workbook, sheet, &grid.lastRow_, &grid.lastColumn_);
    if (grid.isEmpty())
        return RosterGrid();
    TextWidthMeter meter(font);
    grid.widths_.fill(kMinColumnWidth, grid.columnCount());
    workbook.forEachCell(sheet, [&](int row, int column, const QString& text) {
        // Cells of spaces beyond the last text stay out of the area.
        if (row > grid.lastRow_ || column > grid.lastColumn_)
            return;
        grid.cells_.insert(key(row, column), text);
        int& width = grid.widths_[column];
        width = std::max(width, meter.width(text));
    });
    return grid;
}

QString RosterGrid::text(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    return cells_.value(key(row, column));
}

int RosterGrid::columnWidth(int column) const {
    return column >= 0 && column < widths_.size() ? widths_[column] : 0;
}

} // namespace portiqa
