#pragma once

// The program's number rules, used everywhere a number meets a text or another number:
// double precision, integers by truncation toward zero, comparisons with a tolerance of 1e-7.

#include <QString>

#include <cstdint>

namespace portiqa::numbers {

inline constexpr double kTolerance = 0.0000001;

// a > b with the program's tolerance.
bool greater(double a, double b);
// a >= b with the program's tolerance.
bool greaterOrEqual(double a, double b);
// |a - b| <= tolerance.
bool nearlyEqual(double a, double b);

// The leading number of a text: optional blanks, an optional sign, digits with an optional
// decimal point; full-width digits, point and signs count. 0 for an empty or non-numeric text.
double leadingNumber(const QString& text);

// Truncation toward zero into a 32-bit integer, saturating at the type's bounds.
std::int32_t truncateToInt32(double value);

// A number as text: up to 13 significant digits, no trailing zeros, no exponent for the
// magnitudes the program meets (500, 30.5, 0.25).
QString numberText(double value);

} // namespace portiqa::numbers
