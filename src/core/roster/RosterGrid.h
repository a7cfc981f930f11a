#pragma once

// The cells the roster grid shows for one sheet, found by the used-area scan:
//
// Phase 1 walks column by column, each from row 0 down, and stops a column once more than five
// empty cells in a row have been read and the row is past the last row with text; it stops
// the whole scan after six columns in a row without text. The empty-cell count carries over
// from one column to the next, so after the first column a column is read only down to the
// row below the last row with text unless it yields text itself. A cell counts as holding
// text when it is not empty after every space is removed. Hence a sheet whose text starts
// at row index 6 (rows 0-5 of column A empty) or column index 6 reads as empty, and in the
// first column six empty rows end the list.
//
// Phase 2 keeps every cell of the used area as stored (spaces and TABs included) and sizes
// each column to its widest text measured in the given font, never narrower than 32 pixels.

#include "core/roster/Workbook.h"

#include <QFont>
#include <QString>
#include <QStringList>
#include <QVector>

#include <vector>

namespace portiqa {

class RosterGrid {
public:
    static constexpr int kMinColumnWidth = 32;

    // An empty grid: no rows, no columns.
    RosterGrid() = default;

    // Scans `sheet` of `workbook` and fills the grid. Reads each cell of the used area once
    // after the scan; `font` measures the column widths. Safe on a worker thread.
    static RosterGrid fromSheet(const Workbook& workbook, int sheet, const QFont& font);

    // Phase 1 alone: the highest row and column with text that the scan finds, -1 when none.
    static void findUsedArea(const Workbook& workbook, int sheet, int* lastRow, int* lastColumn);

    // True when the text counts as filled for the scan.
    static bool holdsText(const QString& text);

    int lastRow() const { return lastRow_; }
    int lastColumn() const { return lastColumn_; }
    int rowCount() const { return lastRow_ + 1; }
    int columnCount() const { return lastColumn_ + 1; }
    bool isEmpty() const { return lastRow_ < 0 || lastColumn_ < 0; }
    // The cell's text as stored; empty outside the grid.
    QString text(int row, int column) const;
    // Width in pixels of a column; 0 outside the grid.
    int columnWidth(int column) const;
    const QVector<int>& columnWidths() const { return widths_; }

private:
    int lastRow_ = -1;
    int lastColumn_ = -1;
    std::vector<QStringList> columns_; // columns_[column][row]
    QVector<int> widths_;
};

} // namespace portiqa
