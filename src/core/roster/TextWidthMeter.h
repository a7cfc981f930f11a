#pragma once

// Text widths in pixels as QFontMetrics::horizontalAdvance() gives them, made cheap for the
// texts rosters are full of. Shaping a text costs a few microseconds, which over a 10,000-row
// roster is most of an import; but a text made only of ASCII digits and CJK ideographs is
// never kerned or ligated, so its width is the sum of its characters' advances, which are
// measured once each. Every other text is measured whole.

#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QHash>
#include <QString>

namespace portiqa {

class TextWidthMeter {
public:
    explicit TextWidthMeter(const QFont& font);

    int width(const QString& text);

    // True when `text` takes the per-character path.
    static bool sumsCharacterAdvances(const QString& text);

private:
    QFontMetrics metrics_;
    QFontMetricsF metricsF_;
    QHash<char16_t, qreal> advances_;
};

} // namespace portiqa
