#include "core/background/BackgroundColour.h"

#include <QRegularExpression>

namespace portiqa {

QString BackgroundColour::stored() const {
    if (!colour) {
        return {};
    }
    return QStringLiteral("#%1%2%3")
        .arg(qRed(*colour), 2, 16, QLatin1Char('0'))
        .arg(qGreen(*colour), 2, 16, QLatin1Char('0'))
        .arg(qBlue(*colour), 2, 16, QLatin1Char('0'))
        .toUpper();
}

std::optional<BackgroundColour> BackgroundColour::fromStored(const QString& text) {
    const QString value = text.trimmed();
    if (value.isEmpty()) {
        return BackgroundColour{};
    }
    static const QRegularExpression form(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
    if (!form.match(value).hasMatch()) {
        return std::nullopt;
    }
    const uint rgb = value.mid(1).toUInt(nullptr, 16);
    return BackgroundColour{qRgb(int(rgb >> 16) & 0xff, int(rgb >> 8) & 0xff, int(rgb) & 0xff)};
}

QString BackgroundColour::name() const {
    if (*this == white()) {
        return QStringLiteral("白色");
    }
    if (*this == blue()) {
        return QStringLiteral("蓝色");
    }
    if (*this == red()) {
        return QStringLiteral("红色");
    }
    return stored();
}

} // namespace portiqa
