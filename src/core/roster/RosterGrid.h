#pragma once

// The cells the roster grid shows for one sheet.
//
// The used area runs from the first row and column to the last row and the last column that
// hold text anywhere in the sheet, so a class list below a title block, a table that starts
// far to the right and names below a long gap are all shown. A cell holds text when it is not
// empty after every space is removed; a cell of spaces inside the area is still shown as
// stored. The reader's cell limit bounds how many cells a sheet has; the grid keeps only the
// cells that hold something, so a sheet with one far-off cell costs no more than its cells.
//
// Every cell of the area is kept as stored (spaces and TABs included), and each column is
// sized to its widest text measured in the given font, never narrower than 32 pixels.

#include "core/roster/Workbook.h"

#include <QFont>
#include <QHash>
#include <QString>
#include <QVector>

namespace portiqa {

class RosterGrid {
public:
    static constexpr int kMinColumnWidth = 32;

    // An empty grid: no rows, no columns.
    RosterGrid() = default;

    // The grid of `sheet` of `workbook`; `font` measures the column widths. Reads each cell of
    // the sheet twice at most. Safe on a worker thread.
    static RosterGrid fromSheet(const Workbook& workbook, int sheet, const QFont& font);

    // The highest row and column that hold text, -1 when the sheet has none.
    static void findUsedArea(const Workbook& workbook, int sheet, int* lastRow, int* lastColumn);

    // True when the text counts as filled.
    static bool holdsText(const QString& text);

    int lastRow() const { return lastRow_; }
    int lastColumn() const { return lastColumn_; }
    int rowCount() const { return lastRow_ + 1; }
    int columnCount() const { return lastColumn_ + 1; }
    bool isEmpty() const { return lastRow_ < 0 || lastColumn_ < 0; }
    // The cell's text as stored; empty for an empty cell or outside the grid.
    QString text(int row, int column) const;
    // Width in pixels of a column; 0 outside the grid.
    int columnWidth(int column) const;
    const QVector<int>& columnWidths() const { return widths_; }

private:
    static quint64 key(int row, int column) {
        return (static_cast<quint64>(static_cast<quint32>(row)) << 32) |
               static_cast<quint32>(column);
    }

    int lastRow_ = -1;
    int lastColumn_ = -1;
    QHash<quint64, QString> cells_; // only the cells that hold something
    QVector<int> widths_;
};

} // namespace portiqa
