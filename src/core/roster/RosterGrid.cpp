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
    int emptyCells = 0; // not reset when a column starts
    int emptyColumns = 0;
    for (int column = 0;; ++column) {
        for (int row = 0;; ++row) {
            if (holdsText(workbook.cellText(sheet, row, column))) {
                emptyCells = 0;
                emptyColumns = 0;
                columnMax = std::max(columnMax, column);
                rowMax = std::max(rowMax, row);
            } else {
                ++emptyCells;
            }
            if (!(emptyCells <= 5 || row <= rowMax))
                break;
        }
        ++emptyColumns;
        if (emptyColumns > 5)
            break;
    }
    *lastRow = rowMax;
    *lastColumn = columnMax;
}

RosterGrid RosterGrid::fromSheet(const Workbook& workbook, int sheet, const QFont& font) {
    RosterGrid grid;
    findUsedArea(workbook, sheet, &grid.lastRow_, &grid.lastColumn_);
    if (grid.isEmpty())
        return RosterGrid();
    TextWidthMeter meter(font);
    grid.columns_.resize(static_cast<size_t>(grid.columnCount()));
    grid.widths_.resize(grid.columnCount());
    for (int column = 0; column < grid.columnCount(); ++column) {
        QStringList& cells = grid.columns_[static_cast<size_t>(column)];
        cells.reserve(grid.rowCount());
        int width = kMinColumnWidth;
        for (int row = 0; row < grid.rowCount(); ++row) {
            QString text = workbook.cellText(sheet, row, column);
            if (!text.isEmpty())
                width = std::max(width, meter.width(text));
            cells.append(std::move(text));
        }
        grid.widths_[column] = width;
    }
    return grid;
}

QString RosterGrid::text(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    return columns_[static_cast<size_t>(column)][row];
}

int RosterGrid::columnWidth(int column) const {
    return column >= 0 && column < widths_.size() ? widths_[column] : 0;
}

} // namespace portiqa
