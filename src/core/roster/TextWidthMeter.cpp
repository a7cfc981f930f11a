#include "core/roster/TextWidthMeter.h"

#include <QtMath>

namespace portiqa {

TextWidthMeter::TextWidthMeter(const QFont& font) : metrics_(font), metricsF_(font) {}

bool TextWidthMeter::sumsCharacterAdvances(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool digit = u >= u'0' && u <= u'9';
        const bool ideograph = (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3400 && u <= 0x4DBF);
        if (!digit && !ideograph)
            return false;
    }
    return true;
}

int TextWidthMeter::width(const QString& text) {
    if (!sumsCharacterAdvances(text))
        return metrics_.horizontalAdvance(text);
    qreal sum = 0;
    for (const QChar c : text) {
        auto it = advances_.constFind(c.unicode());
        if (it == advances_.constEnd())
            it = advances_.insert(c.unicode(), metricsF_.horizontalAdvance(c));
        sum += *it;
    }
    return qRound(sum);
}

} // namespace portiqa
