#pragma once

// Cells of an Excel 97-2003 workbook stream that libfreexl leaves empty: rich-text strings
// (RSTRING records, as Gnumeric writes formatted text) and the cached results of formulas
// (FORMULA records, with the STRING record that follows a string result). They are read from
// the BIFF records directly and stored where the workbook has no text yet.

#include "core/roster/Workbook.h"

#include <QByteArray>

namespace portiqa::xlsrecords {

// Adds the texts found in `stream` (a BIFF8 workbook stream) to `workbook`, whose sheets are
// in the order of the stream's sheet list. Other BIFF versions are left alone.
void addMissingCells(const QByteArray& stream, Workbook* workbook);

} // namespace portiqa::xlsrecords
