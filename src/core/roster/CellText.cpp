#include "core/roster/CellText.h"

#include <QDate>
#include <QLocale>
#include <QTime>

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

NumberKind kindOfFormat(int id, const QString& code) {
    if ((id >= 14 && id <= 17) || (id >= 27 && id <= 36) || (id >= 50 && id <= 58))
        return NumberKind::Date; // including the East Asian built-in date formats
    if ((id >= 18 && id <= 21) || (id >= 45 && id <= 47))
        return NumberKind::Time;
    if (id == 22)
        return NumberKind::DateTime;
    // A format code is a date when, outside quoted text, escapes and [colour] brackets, it
    // holds a year, a day or a month, and a time when it holds hours or seconds ([h]
    // included).
    bool date = false;
    bool time = false;
    bool month = false; // m is a month unless hours or seconds make it minutes
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i].toLower();
        if (c == u'"') {
            i = code.indexOf(u'"', i + 1);
            if (i < 0)
                break;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            ++i;
        } else if (c == u'[') {
            const qsizetype end = code.indexOf(u']', i);
            const QString inside = code.mid(i + 1, end - i - 1).toLower();
            time = time || inside == u"h" || inside == u"hh" || inside == u"mm" ||
                   inside == u"ss" || inside == u"m" || inside == u"s";
            if (end < 0)
                break;
            i = end;
        } else if (c == u'y' || c == u'd') {
            date = true;
        } else if (c == u'h' || c == u's') {
            time = true;
        } else if (c == u'm') {
            month = true;
        } else if (c == u';') {
            break; // the first section decides
        }
    }
    date = date || (month && !time);
    if (date && time)
        return NumberKind::DateTime;
    if (date)
        return NumberKind::Date;
    return time ? NumberKind::Time : NumberKind::Number;
}

QString fromDateSerial(double serial, NumberKind kind, bool epoch1904) {
    if (kind == NumberKind::Number || !std::isfinite(serial) || serial < 0 || serial > 2958465.0)
        return fromNumber(serial);
    double days = std::floor(serial);
    qint64 seconds = std::llround((serial - days) * 86400.0);
    if (seconds >= 86400) {
        days += 1;
        seconds -= 86400;
    }
    const QTime clock = QTime(0, 0).addSecs(static_cast<int>(seconds));
    const QString timeText = clock.toString(QStringLiteral("HH:mm:ss"));
    if (kind == NumberKind::Time)
        return timeText;
    // The 1900 system counts a 29 February 1900 that never was (serial 60); later serials are
    // one day ahead of the calendar.
    QDate date;
    if (epoch1904)
        date = QDate(1904, 1, 1).addDays(static_cast<qint64>(days));
    else if (days >= 61)
        date = QDate(1899, 12, 30).addDays(static_cast<qint64>(days));
    else if (days == 60)
        return kind == NumberKind::Date ? QStringLiteral("1900-02-29")
                                        : QStringLiteral("1900-02-29 ") + timeText;
    else
        date = QDate(1899, 12, 31).addDays(static_cast<qint64>(days));
    const QString dateText = date.toString(QStringLiteral("yyyy-MM-dd"));
    return kind == NumberKind::Date ? dateText : dateText + u' ' + timeText;
}

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
