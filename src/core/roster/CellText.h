#pragma once

// How a spreadsheet cell that holds a number reads as text in the roster. Student numbers are
// often stored as numbers, and an operator who sees them in the grid must be able to name a
// picture after them: a whole number reads as its digits (2023010101, never 2.02301e+09),
// any other number in the shortest form that reads back as the same value (95.5, 0.1).

#include <QString>

namespace portiqa::celltext {

// The text of a numeric cell; empty for infinities and NaN.
QString fromNumber(double value);

// The text of a numeric cell stored as decimal text ("2023010101", "9.55E1"); empty when the
// text is not a number.
QString fromNumberText(const QString& text);

// How a numeric cell's number format presents it: a date, a time or both read as text in
// the form the .xls reader gives them (2024-01-05, 08:30:00, 2024-01-05 08:30:00), so that a
// date reads the same from either format; every other format reads as the number.
enum class NumberKind { Number, Date, Time, DateTime };

// The kind of a number format: `id` a built-in format number, `code` the format code of a
// workbook's own format (empty for built-in ones).
NumberKind kindOfFormat(int id, const QString& code);

// The text of a date/time serial number (days since the workbook's epoch, the time as the
// fraction); the number's text when it is no date the calendar can show.
QString fromDateSerial(double serial, NumberKind kind, bool epoch1904);

// Decodes the _xHHHH_ escapes that spreadsheet XML uses for characters XML cannot carry
// (for example _x0009_ for a TAB); other text is returned unchanged.
QString decodeEscapes(const QString& text);

} // namespace portiqa::celltext
