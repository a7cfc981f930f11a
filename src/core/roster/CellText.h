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

// Decodes the _xHHHH_ escapes that spreadsheet XML uses for characters XML cannot carry
// (for example _x0009_ for a TAB); other text is returned unchanged.
QString decodeEscapes(const QString& text);

} // namespace portiqa::celltext
