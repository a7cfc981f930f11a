#include "core/roster/CellText.h"

#include <QLocale>

#include <cmath>

namespace portiqa::celltext {

QString fromNumber(double value) {
    if (!std::isfinite(value))
        return {};
    value += 0.0; // -0 reads as 0
    if (value == std::floor(value) && std::fabs(value) < 1e21)
        return QString::number(value, 'f', 0);
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString fromNumberText(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok ? fromNumber(value) : QString();
}

namespace {

int hexValue(QChar c) {
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

} // namespace

QString decodeEscapes(const QString& text) {
    if (!text.contains(QLatin1String("_x")))
        return text;
    QString out;
    out.reserve(text.size());
    int i = 0;
    while (i < text.size()) {
        if (i + 6 < text.size() && text[i] == u'_' && text[i + 1] == u'x' && text[i + 6] == u'_') {
            int code = 0;
            bool hex = true;
            for (int k = 2; k < 6 && hex; ++k) {
                const int h = hexValue(text[i + k]);
                hex = h >= 0;
                code = code * 16 + h;
            }
            if (hex) {
                out += QChar(static_cast<char16_t>(code));
                i += 7;
                continue;
            }
        }
        out += text[i++];
    }
    return out;
}

} // namespace portiqa::celltext
