#pragma once

// Corrections to what libfreexl reads from an Excel 97-2003 workbook stream, taken from the
// BIFF records directly. Cells libfreexl leaves empty: rich-text strings (RSTRING records, as
// Gnumeric writes formatted text) and the cached results of formulas (FORMULA records, with the
// STRING record that follows a string result); they are stored where the workbook has no text
// yet. Cells libfreexl reads as numbers although they hold booleans or error values (BOOLERR
// records); they are emptied, as booleans and errors read empty in every format.

#include "core/roster/Workbook.h"

#include <QByteArray>

namespace portiqa::xlsrecords {

// The length of the part of `stream` that is a sequence of records, none longer than BIFF
// allows (8224 bytes), starting with a BOF record and ending with an EOF record; what follows
// (padding, or damage) is not part of the workbook. 0 when there is no such part, or when a
// LABEL or FORMAT record declares a string longer than the record.
qsizetype framedLength(const QByteArray& stream);

// Whether the DIMENSIONS records of `stream` describe sheets libfreexl can hold: at most one per
// sheet (charts nested in it included), of the length its BIFF version gives it, with no more
// than 65,536 rows and 256 columns, and no cell beyond column 256. libfreexl sizes each sheet's
// cell table from them unchecked: a second record makes it write outside the table and crash
// the program, or lose the first table; cells far out make it take gigabytes. Sheets without
// the record (chart sheets, sheets whose substream is missing) each cost libfreexl a lost copy
// of the largest table; more than 4 MB of such losses is not sound either.
bool dimensionsAreSound(const QByteArray& stream);

// Numbers past the last day a workbook can show (31 December 9999) keep their cell format only
// if it is not a date: a cell format is made unknown (which reads as a plain number) on every
// NUMBER, RK and MULRK cell of such a value, in place. libfreexl turns a date cell into text by
// counting the days one by one, so a damaged format that makes an ID number like 2023010101 a
// date would take it seconds; no real date is touched.
void keepHugeNumbersFromDates(QByteArray* stream);

// Applies the corrections found in `stream` (a BIFF8 workbook stream) to `workbook`, whose sheets
// are in the order of the stream's sheet list. Other BIFF versions are left alone.
void completeFromRecords(const QByteArray& stream, Workbook* workbook);

} // namespace portiqa::xlsrecords
