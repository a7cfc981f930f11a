#include "core/text/Numbers.h"

#include <cmath>
#include <limits>

namespace portiqa::numbers {

bool greater(double a, double b) {
    return a - b > kTolerance;
}

bool greaterOrEqual(double a, double b) {
    return a - b >= -kTolerance;
}

bool nearlyEqual(double a, double b) {
    return std::fabs(a - b) <= kTolerance;
}

namespace {

// Maps full-width forms onto their ASCII counterparts; other characters pass unchanged.
QChar narrow(QChar c) {
    const char16_t u = c.unicode();
    if (u >= 0xFF10 && u <= 0xFF19) {
        return QChar(char16_t(u'0' + (u - 0xFF10)));
    }
    switch (u) {
    case 0xFF0E:
        return QLatin1Char('.');
    case 0xFF0B:
        return QLatin1Char('+');
    case 0xFF0D:
        return QLatin1Char('-');
    case 0x3000:
        return QLatin1Char(' ');
    default:
        return c;
    }
}

} // namespace

double leadingNumber(const QString& text) {
    QString number;
    int i = 0;
    const int n = int(text.size());
    while (i < n && (narrow(text[i]) == QLatin1Char(' ') || text[i] == QLatin1Char('\t'))) {
        ++i;
    }
    if (i < n && (narrow(text[i]) == QLatin1Char('-') || narrow(text[i]) == QLatin1Char('+'))) {
        number += narrow(text[i]);
        ++i;
    }
    bool digits = false;
    bool point = false;
    for (; i < n; ++i) {
        const QChar c = narrow(text[i]);
        if (c.isDigit() && c.unicode() < 128) {
            number += c;
            digits = true;
        } else if (c == QLatin1Char('.') && !point) {
            number += c;
            point = true;
        } else {
            break;
        }
    }
    if (!digits) {
        return 0.0;
    }
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

std::int32_t truncateToInt32(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double t = std::trunc(value);
    if (t >= double(std::numeric_limits<std::int32_t>::max())) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (t <= double(std::numeric_limits<std::int32_t>::min())) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return std::int32_t(t);
}

QString numberText(double value) {
    if (!std::isfinite(value)) {
        return QStringLiteral("0");
    }
    // 'g' with 13 digits drops trailing zeros; switch to plain decimals for large magnitudes
    // so a limit of 1e13 KB still reads as digits.
    QString text = QString::number(value, 'g', 13);
    if (text.contains(QLatin1Char('e'))) {
        text = QString::number(value, 'f', 13);
        if (text.contains(QLatin1Char('.'))) {
            while (text.endsWith(QLatin1Char('0'))) {
                text.chop(1);
            }
            if (text.endsWith(QLatin1Char('.'))) {
                text.chop(1);
            }
        }
    }
    if (text == QLatin1String("-0")) {
        text = QStringLiteral("0");
    }
    return text;
}

} // namespace portiqa::numbers
