#pragma once

// .xlsx workbooks through libzip and QXmlStreamReader.
//
// Read: the workbook part found through the package relationships (xl/workbook.xml when they
// are missing); the sheet names and order from its <sheets> list, each sheet's part through the
// workbook relationships (relative or absolute targets); the shared strings, rich-text runs
// joined and phonetic runs left out; inline strings; strings stored with t="str" (the cached
// result of a string formula, and how the JavaScript `xlsx` package writes plain strings);
// numbers, as text; numbers in a date or time format (the styles' cell formats, built-in or the
// workbook's own, 1900 or 1904 epoch), as the date text the .xls reader gives (2024-01-05);
// ISO dates stored with t="d", as written; cells addressed by their `r`
// reference with gaps, and cells and rows without one (following the previous); the _xHHHH_
// escapes of characters XML cannot carry.
//
// Deliberately not read: formulas themselves (only their cached results count); number
// formats beyond telling dates and times from other numbers (95.5 shown as "95.50" or "¥95.5"
// reads 95.5, a percentage reads as the fraction, a number as text reads its digits); booleans
// and error values (they read empty, like empty cells); merged areas (only the top-left cell
// holds the text); hidden state of sheets, rows and columns (hidden sheets are listed like
// the others); chart and dialog sheets (listed, with no cells); comments, pictures, external
// links, pivot caches; the strict (ISO 29500 strict) namespaces are read like the
// transitional ones since parts are matched by local names only.

#include "core/roster/WorkbookReader.h"

#include <QByteArray>

namespace portiqa {

class XlsxReader {
public:
    // Reads the .xlsx held in `content`.
    static WorkbookReadResult read(const QByteArray& content);

private:
    static WorkbookReadResult readPackage(const QByteArray& content);
};

} // namespace portiqa
