#pragma once

// Where the copies of a photo go on a sheet of paper: the one layout the window's preview, the
// printer, the PDF, the JPEG and `portiqa sheet` all draw from. Everything is in millimetres
// from the paper's top-left corner.
//
// Rules:
// - The printable area is the paper less the margin on every side.
// - Copies stand upright in a grid with `gap` between neighbours; as many columns and rows as
//   fit in the printable area (the program's tolerance of 1e-7 mm).
// - `copies` 0 asks for as many as fit; more than fit are cut down to what fits. The copies
//   fill the grid row by row, left to right, and the block they take is centred in the
//   printable area.
// - Cut lines run across the whole printable area through the middle of each gap, and around
//   the block half a gap out (at its edges when there is no gap, kept inside the printable
//   area). They never cross a copy.
// - A negative or non-numeric margin or gap counts as 0; a photo that does not fit once gives
//   an empty layout (fits() is 0).

#include <QLineF>
#include <QList>
#include <QRectF>
#include <QSizeF>

namespace portiqa {

struct SheetRequest {
    QSizeF paperMm; // as laid on the sheet (orientation applied)
    QSizeF photoMm; // each copy's printed size
    double marginMm = 3;
    double gapMm = 2;
    int copies = 0; // 0: as many as fit
    bool cutLines = true;
};

struct SheetLayout {
    QSizeF paperMm;
    QRectF printableMm;
    int fitColumns = 0; // the grid that fits in the printable area
    int fitRows = 0;
    int columns = 0; // the part of it the copies take
    int rows = 0;
    QList<QRectF> copies; // row by row, each exactly the photo size
    QList<QLineF> cutLines;

    int fits() const { return fitColumns * fitRows; }
};

SheetLayout layoutSheet(const SheetRequest& request);

} // namespace portiqa
